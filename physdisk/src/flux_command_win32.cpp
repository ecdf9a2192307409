// The flux reader's command on Windows: gw.exe found on PATH, started with
// CreateProcessW (no shell, no console window), its output read through a
// pipe.
#include <windows.h>

#include <algorithm>
#include <random>
#include <system_error>

#include "flux_command.hpp"
#include "vellonix/win32/command_line.hpp"
#include "vellonix/win32/unique_handle.hpp"
#include "vellonix/win32/wide_text.hpp"

namespace vellonix::physdisk::detail {

namespace {

using win32::UniqueHandle;

[[noreturn]] void ThrowLastError(const char* what) {
  throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), what);
}

std::wstring Wide(const std::string& utf8) {
  auto wide = win32::WideFromUtf8(utf8);
  if (!wide) throw std::system_error(ERROR_NO_UNICODE_TRANSLATION, std::system_category(), utf8);
  return *wide;
}

std::wstring Variable(const wchar_t* name) {
  std::wstring value(GetEnvironmentVariableW(name, nullptr, 0), L'\0');
  const DWORD length = GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
  value.resize(length < value.size() ? length : 0);
  return value;
}

bool IsAbsoluteFolder(std::wstring_view folder) {
  return (folder.size() >= 3 && folder[1] == L':' && (folder[2] == L'\\' || folder[2] == L'/')) ||
         (folder.size() >= 2 && folder[0] == L'\\' && folder[1] == L'\\');
}

}  // namespace

std::optional<std::filesystem::path> FindOnPath(std::string_view name) {
  const std::wstring file = Wide(std::string(name)) + L".exe";
  const std::wstring path = Variable(L"PATH");
  std::wstring_view folders = path;
  while (true) {
    const std::size_t end = std::min(folders.find(L';'), folders.size());
    std::wstring_view folder = folders.substr(0, end);
    if (folder.size() >= 2 && folder.front() == L'"' && folder.back() == L'"')
      folder = folder.substr(1, folder.size() - 2);
    if (IsAbsoluteFolder(folder)) {
      const std::filesystem::path candidate = std::filesystem::path(folder) / file;
      const DWORD attributes = GetFileAttributesW(candidate.c_str());
      if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return candidate;
    }
    if (end == folders.size()) return std::nullopt;
    folders.remove_prefix(end + 1);
  }
}

int RunForLines(const std::filesystem::path& program, const std::vector<std::string>& args, const LineSink& onLine) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) ThrowLastError("CreatePipe");
  const UniqueHandle reading(readEnd);
  UniqueHandle writing(writeEnd);
  if (!SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0)) ThrowLastError("SetHandleInformation");
  const UniqueHandle input(CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!input.Valid()) ThrowLastError("NUL");

  std::wstring commandLine = win32::QuotedArgument(program.wstring());
  for (const std::string& arg : args) commandLine += L" " + win32::QuotedArgument(Wide(arg));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input.Get();
  startup.hStdOutput = writing.Get();
  startup.hStdError = writing.Get();
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                      &startup, &started)) {
    ThrowLastError("CreateProcessW");
  }
  const UniqueHandle process(started.hProcess);
  const UniqueHandle thread(started.hThread);
  writing = UniqueHandle();  // the child holds the only write end now: its exit ends the reading

  LineSplitter lines(onLine);
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(reading.Get(), buffer, sizeof buffer, &got, nullptr) && got > 0) {
    lines.Add(std::string_view(buffer, got));
  }
  lines.Flush();
  WaitForSingleObject(process.Get(), INFINITE);
  DWORD status = 0;
  if (!GetExitCodeProcess(process.Get(), &status)) ThrowLastError("GetExitCodeProcess");
  return static_cast<int>(status & 0x7FFFFFFF);
}

PrivateFolder::PrivateFolder() {
  // The user's own temporary folder: what is made in it inherits an access
  // list that keeps other users out. A name that exists is never reused.
  std::random_device seed;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const auto candidate = std::filesystem::temp_directory_path() /
                           (L"vellonix-flux-" + std::to_wstring(seed()) + std::to_wstring(seed()));
    if (CreateDirectoryW(candidate.c_str(), nullptr)) {
      path_ = candidate;
      return;
    }
    if (GetLastError() != ERROR_ALREADY_EXISTS) ThrowLastError("CreateDirectoryW");
  }
  throw std::system_error(ERROR_ALREADY_EXISTS, std::system_category(), "no new temporary folder");
}

}  // namespace vellonix::physdisk::detail
