// The registry seam over the W registry calls: every key, name and value
// crosses as UTF-16, so "SAM Coupé diskimage" is stored as itself.
#include <optional>
#include <string_view>
#include <utility>

#include "vellonix/integration/registry_win32.hpp"
#include "vellonix/win32/wide_text.hpp"

namespace vellonix::integration {

namespace {

using win32::Utf8FromWide;
using win32::WideFromUtf8;

class KeyHandle {
 public:
  KeyHandle() = default;
  KeyHandle(const KeyHandle&) = delete;
  KeyHandle& operator=(const KeyHandle&) = delete;
  ~KeyHandle() {
    if (key_ != nullptr) RegCloseKey(key_);
  }
  HKEY* Out() { return &key_; }
  HKEY Get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

class Win32Registry final : public Registry {
 public:
  Win32Registry(Win32RegistryRoot classes, Win32RegistryRoot currentUser)
      : classes_(std::move(classes)), currentUser_(std::move(currentUser)) {}

  bool KeyExists(RegistryRoot root, const std::string& key) override {
    KeyHandle handle;
    return Open(root, key, KEY_READ, handle);
  }

  bool CreateKey(RegistryRoot root, const std::string& key) override {
    const auto path = Path(root, key);
    KeyHandle handle;
    return path && RegCreateKeyExW(Root(root).Hive, path->c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                                   nullptr, handle.Out(), nullptr) == ERROR_SUCCESS;
  }

  std::string ReadString(RegistryRoot root, const std::string& key, const std::string& name) override {
    KeyHandle handle;
    const auto wideName = WideFromUtf8(name);
    if (!wideName || !Open(root, key, KEY_QUERY_VALUE, handle)) return {};
    // The value may grow between asking its size and reading it: ask again.
    for (;;) {
      DWORD type = 0;
      DWORD size = 0;
      if (RegQueryValueExW(handle.Get(), wideName->c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
        return {};
      }
      if (type != REG_SZ && type != REG_EXPAND_SZ) throw InvalidDataType(name);
      std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
      DWORD got = static_cast<DWORD>(data.size() * sizeof(wchar_t));
      const LONG result =
          RegQueryValueExW(handle.Get(), wideName->c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &got);
      if (result == ERROR_MORE_DATA) continue;
      if (result != ERROR_SUCCESS) return {};
      if (type != REG_SZ && type != REG_EXPAND_SZ) throw InvalidDataType(name);
      // The stored text need not end in its NUL, and ends at the first one.
      data.resize(got / sizeof(wchar_t));
      data.resize(std::wstring_view(data.c_str()).size());
      const auto text = Utf8FromWide(data);
      if (!text) throw InvalidDataType(name);
      return *text;
    }
  }

  void WriteString(RegistryRoot root, const std::string& key, const std::string& name,
                   const std::string& value) override {
    KeyHandle handle;
    const auto wideName = WideFromUtf8(name);
    const auto wideValue = WideFromUtf8(value);
    if (!wideName || !wideValue || !Open(root, key, KEY_SET_VALUE, handle)) throw FailedToSetData(name);
    const auto bytes = static_cast<DWORD>((wideValue->size() + 1) * sizeof(wchar_t));
    if (RegSetValueExW(handle.Get(), wideName->c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(wideValue->c_str()),
                       bytes) != ERROR_SUCCESS) {
      throw FailedToSetData(name);
    }
  }

  void DeleteTree(RegistryRoot root, const std::string& key) override {
    // Nothing to say when it fails: the box shows the key's state next time.
    if (const auto path = Path(root, key)) RegDeleteTreeW(Root(root).Hive, path->c_str());
  }

  std::string RootName(RegistryRoot root) override { return Root(root).Name; }

 private:
  const Win32RegistryRoot& Root(RegistryRoot root) const {
    return root == RegistryRoot::Classes ? classes_ : currentUser_;
  }

  std::optional<std::wstring> Path(RegistryRoot root, const std::string& key) const {
    auto wideKey = WideFromUtf8(key);
    const std::wstring& base = Root(root).SubKey;
    if (!wideKey || wideKey->empty()) return std::nullopt;
    return base.empty() ? *wideKey : base + L"\\" + *wideKey;
  }

  bool Open(RegistryRoot root, const std::string& key, REGSAM access, KeyHandle& handle) const {
    const auto path = Path(root, key);
    return path && RegOpenKeyExW(Root(root).Hive, path->c_str(), 0, access, handle.Out()) == ERROR_SUCCESS;
  }

  Win32RegistryRoot classes_;
  Win32RegistryRoot currentUser_;
};

bool IsWindows9x() {
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  const bool known = GetVersionExW(&version) != 0;
#pragma GCC diagnostic pop
  return known && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}

}  // namespace

Win32RegistryRoot HostClassesRoot() {
  if (IsWindows9x()) return {HKEY_CLASSES_ROOT, L"", "HKEY_CLASSES_ROOT"};
  return {HKEY_CURRENT_USER, L"Software\\Classes", "HKEY_CURRENT_USER\\Software\\Classes"};
}

Win32RegistryRoot HostCurrentUserRoot() { return {HKEY_CURRENT_USER, L"", "HKEY_CURRENT_USER"}; }

std::unique_ptr<Registry> MakeWin32Registry(Win32RegistryRoot classes, Win32RegistryRoot currentUser) {
  return std::make_unique<Win32Registry>(std::move(classes), std::move(currentUser));
}

}  // namespace vellonix::integration
