#include <windows.h>

#include <algorithm>
#include <stdexcept>
#include <system_error>

#include "run_program.hpp"
#include "vellonix/win32/command_line.hpp"
#include "vellonix/win32/unique_handle.hpp"
#include "vellonix/win32/wide_text.hpp"

namespace vellonix::testing {

namespace {

using win32::QuotedArgument;
using win32::UniqueHandle;

std::wstring Wide(const std::string& utf8) {
  auto wide = win32::WideFromUtf8(utf8);
  if (!wide) throw std::invalid_argument("not UTF-8: " + utf8);
  return *wide;
}

[[noreturn]] void ThrowLastError(const char* what) {
  throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), what);
}

bool SameName(std::wstring_view a, std::wstring_view b) {
  return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
         CSTR_EQUAL;
}

std::wstring_view NameOf(std::wstring_view entry) {
  // "=C:=C:\x" entries name a drive's folder: the name starts after the first '='.
  return entry.substr(0, entry.find(L'=', 1));
}

// The inherited environment with `added` put in, as the sorted block of
// NUL-terminated strings that CreateProcessW takes.
std::wstring EnvironmentBlock(const std::vector<std::string>& added) {
  std::vector<std::wstring> entries;
  for (const auto& setting : added) entries.push_back(Wide(setting));
  wchar_t* inherited = GetEnvironmentStringsW();
  for (const wchar_t* item = inherited; item != nullptr && *item != L'\0'; item += wcslen(item) + 1) {
    const std::wstring_view entry(item);
    if (std::none_of(entries.begin(), entries.end(),
                     [&](const std::wstring& mine) { return SameName(NameOf(mine), NameOf(entry)); })) {
      entries.emplace_back(entry);
    }
  }
  FreeEnvironmentStringsW(inherited);
  std::sort(entries.begin(), entries.end(), [](const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
           CSTR_LESS_THAN;
  });
  std::wstring block;
  for (const auto& entry : entries) block += entry + L'\0';
  return block + L'\0';
}

UniqueHandle InheritableFile(const std::wstring& path, DWORD access, DWORD disposition) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  UniqueHandle file(CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, disposition,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) ThrowLastError("CreateFileW");
  return file;
}

struct Child {
  UniqueHandle Process;
  UniqueHandle Thread;
};

Child Start(const ProgramStart& start) {
  const std::wstring program = std::filesystem::absolute(start.Program).wstring();
  std::wstring commandLine = QuotedArgument(program);
  for (const auto& arg : start.Args) commandLine += L" " + QuotedArgument(Wide(arg));
  std::wstring environment = EnvironmentBlock(start.Environment);

  const UniqueHandle input = InheritableFile(L"NUL", GENERIC_READ, OPEN_EXISTING);
  const UniqueHandle output = start.AppendStdout
                                  ? InheritableFile(start.StdoutPath.wstring(), FILE_APPEND_DATA, OPEN_ALWAYS)
                                  : InheritableFile(start.StdoutPath.wstring(), GENERIC_WRITE, CREATE_ALWAYS);
  const UniqueHandle error = InheritableFile(start.StderrPath.wstring(), GENERIC_WRITE, CREATE_ALWAYS);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input.Get();
  startup.hStdOutput = output.Get();
  startup.hStdError = error.Get();

  PROCESS_INFORMATION process{};
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                      CREATE_UNICODE_ENVIRONMENT | CREATE_NO_WINDOW, environment.data(),
                      start.Directory.wstring().c_str(), &startup, &process)) {
    ThrowLastError("CreateProcessW");
  }
  return {UniqueHandle(process.hProcess), UniqueHandle(process.hThread)};
}

}  // namespace

std::vector<int> RunPrograms(const std::vector<ProgramStart>& starts) {
  std::vector<Child> children;
  for (const auto& start : starts) children.push_back(Start(start));
  std::vector<int> codes;
  for (const Child& child : children) {
    DWORD code = 0;
    if (WaitForSingleObject(child.Process.Get(), INFINITE) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(child.Process.Get(), &code)) {
      ThrowLastError("WaitForSingleObject");
    }
    codes.push_back(static_cast<int>(code));
  }
  return codes;
}

}  // namespace vellonix::testing
