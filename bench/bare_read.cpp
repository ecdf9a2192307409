// The reference for `ls` of one image: a program that does nothing but
// read the 819,200 bytes of an image file, written the plain way.
#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  std::FILE* file = std::fopen(argv[1], "rb");
  if (file == nullptr) return 1;
  std::vector<unsigned char> bytes(819200);
  const std::size_t read = std::fread(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
  return read == bytes.size() ? 0 : 1;
}
