// The shell folders' files over the W file calls, and shortcuts made by the
// shell's own link objects (IShellLinkW, saved with IPersistFile).
#include <shlobj.h>

#include <cstdio>
#include <optional>
#include <string>

#include "vellonix/integration/registry_win32.hpp"
#include "vellonix/win32/com_apartment.hpp"
#include "vellonix/win32/wide_text.hpp"

namespace vellonix::integration {

namespace {

using win32::WideFromUtf8;

// A COM interface released when it goes out of scope.
template <typename Interface>
class Released {
 public:
  Released() = default;
  Released(const Released&) = delete;
  Released& operator=(const Released&) = delete;
  ~Released() {
    if (pointer_ != nullptr) pointer_->Release();
  }
  void** Out() { return reinterpret_cast<void**>(&pointer_); }
  Interface* operator->() const { return pointer_; }

 private:
  Interface* pointer_ = nullptr;
};

std::string SystemMessage(HRESULT result) {
  wchar_t* buffer = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, static_cast<DWORD>(result), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::optional<std::string> text;
  if (length > 0) text = win32::Utf8FromWide(std::wstring_view(buffer, length));
  LocalFree(buffer);
  while (text && !text->empty() && (text->back() == '\n' || text->back() == '\r' || text->back() == ' ')) {
    text->pop_back();
  }
  if (text && !text->empty()) return *text;
  char code[32];
  std::snprintf(code, sizeof code, "System error 0x%08lX", static_cast<unsigned long>(result));
  return code;
}

DWORD Attributes(const std::string& path) {
  const auto wide = WideFromUtf8(path);
  return wide ? GetFileAttributesW(wide->c_str()) : INVALID_FILE_ATTRIBUTES;
}

class Win32ShellFiles final : public ShellFiles {
 public:
  bool IsFile(const std::string& path) override {
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  }

  void RemoveFile(const std::string& path) override {
    if (const auto wide = WideFromUtf8(path)) DeleteFileW(wide->c_str());
  }

  bool IsFolder(const std::string& path) override {
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  }

  void MakeFolder(const std::string& path) override {
    if (const auto wide = WideFromUtf8(path)) CreateDirectoryW(wide->c_str(), nullptr);
  }

  void RemoveEmptyFolder(const std::string& path) override {
    if (const auto wide = WideFromUtf8(path)) RemoveDirectoryW(wide->c_str());
  }

  void CreateLink(const std::string& linkPath, const std::string& target, const std::string& workingFolder) override {
    const auto wideLink = WideFromUtf8(linkPath);
    const auto wideTarget = WideFromUtf8(target);
    const auto wideFolder = WideFromUtf8(workingFolder);
    if (!wideLink || !wideTarget || !wideFolder) return;  // no such file can be named: nothing is saved

    const win32::ComApartment apartment;
    Released<IShellLinkW> link;
    HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                      IID_IShellLinkW, link.Out());
    if (FAILED(result)) throw IntegrationError(SystemMessage(result));
    Released<IPersistFile> file;
    result = link->QueryInterface(IID_IPersistFile, file.Out());
    if (FAILED(result)) throw IntegrationError(SystemMessage(result));
    // A shortcut that cannot be saved shows unticked next time; the shell
    // says nothing more useful than that here.
    link->SetPath(wideTarget->c_str());
    link->SetWorkingDirectory(wideFolder->c_str());
    file->Save(wideLink->c_str(), FALSE);
  }
};

}  // namespace

std::unique_ptr<ShellFiles> MakeWin32ShellFiles() { return std::make_unique<Win32ShellFiles>(); }

}  // namespace vellonix::integration
