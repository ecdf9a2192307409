// Stands in for the program in the launcher tests: writes every argument it
// was started with, its own path first, each followed by a zero byte, to
// the file named by its last argument with ".seen" appended.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#endif

namespace {

std::vector<std::string> Arguments(int argc, char** argv) {
#ifdef _WIN32
  // The Unicode command line, as the host split it, in UTF-8.
  (void)argc;
  (void)argv;
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  for (int i = 0; i < count; ++i) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(size > 0 ? size - 1 : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, text.data(), size, nullptr, nullptr);
    arguments.push_back(text);
  }
  LocalFree(wide);
  return arguments;
#else
  return std::vector<std::string>(argv, argv + argc);
#endif
}

std::filesystem::path PathOf(const std::string& utf8) { return std::u8string(utf8.begin(), utf8.end()); }

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> arguments = Arguments(argc, argv);
  if (arguments.size() < 2) return 2;
  const std::filesystem::path seen = PathOf(arguments.back() + ".seen");
  const std::filesystem::path partial = PathOf(arguments.back() + ".partial");
  {
    std::ofstream out(partial, std::ios::binary);
    for (const std::string& argument : arguments) out << argument << '\0';
    if (!out) return 1;
  }
  std::filesystem::rename(partial, seen);  // whole, or not there
  return 0;
}
