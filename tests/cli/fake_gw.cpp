// Stands in for the flux reader's gw command. The floppy is floppy.mgt
// beside it; it writes its arguments, one a line, to args.txt there and
// follows plan.txt there line by line: "save" makes the image (a read
// copies the floppy to the file its last argument names, a write copies
// that file onto the floppy), "exit N" ends with status N, and any other
// line is printed to standard error, as the command prints everything.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  const fs::path here = fs::path(argv[0]).parent_path();
  const std::vector<std::string> args(argv + 1, argv + argc);
  {
    std::ofstream log(here / "args.txt");
    for (const std::string& arg : args) log << arg << '\n';
  }
  std::ifstream plan(here / "plan.txt");
  std::string line;
  while (std::getline(plan, line)) {
    if (line == "save" && args.size() >= 2) {
      const fs::path floppy = here / "floppy.mgt";
      const fs::path image = args.back();
      const bool read = args.front() == "read";
      // Removed first: some C++ libraries for Windows cannot copy over a file.
      fs::remove(read ? image : floppy);
      read ? fs::copy_file(floppy, image) : fs::copy_file(image, floppy);
    } else if (line.rfind("exit ", 0) == 0) {
      return std::stoi(line.substr(5));
    } else {
      std::fprintf(stderr, "%s\n", line.c_str());
      std::fflush(stderr);
    }
  }
  return 0;
}
