// The compiled resources as Windows reads them: this executable carries the
// program's (it links vellonix_win32_resources), vellonix-cli.exe its own.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "resource_ids.h"
#include "vellonix/win32/wide_text.hpp"

namespace {

std::wstring OwnPath() {
  std::wstring path(MAX_PATH, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  return path;
}

std::vector<int> IconGroups() {
  std::vector<int> ids;
  const auto collect = [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR found) -> BOOL {
    reinterpret_cast<std::vector<int>*>(found)->push_back(
        IS_INTRESOURCE(name) ? static_cast<int>(reinterpret_cast<std::uintptr_t>(name)) : -1);
    return TRUE;
  };
  EnumResourceNamesW(nullptr, RT_GROUP_ICON, collect, reinterpret_cast<LONG_PTR>(&ids));
  return ids;
}

// A resource's bytes, empty when there is none.
std::vector<std::uint8_t> Resource(int id, LPCWSTR type) {
  HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(id), type);
  if (found == nullptr) return {};
  const auto* data = static_cast<const std::uint8_t*>(LockResource(LoadResource(nullptr, found)));
  return {data, data + SizeofResource(nullptr, found)};
}

// The pixel widths of an icon group's images, in ascending order (the
// directory stores 256 as 0).
std::vector<int> GroupSizes(int id) {
  const auto group = Resource(id, RT_GROUP_ICON);
  std::vector<int> sizes;
  if (group.size() < 6) return sizes;
  const std::size_t count = group[4] | (group[5] << 8);
  for (std::size_t i = 0; i < count && 6 + 14 * (i + 1) <= group.size(); ++i) {
    const int width = group[6 + 14 * i];
    sizes.push_back(width == 0 ? 256 : width);
  }
  std::sort(sizes.begin(), sizes.end());
  return sizes;
}

// An icon's colour pixels, 32-bit top-down.
std::vector<std::uint32_t> Pixels(HICON icon) {
  ICONINFO info{};
  if (icon == nullptr || !GetIconInfo(icon, &info)) return {};
  BITMAP bitmap{};
  GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
  BITMAPINFO format{};
  format.bmiHeader = {sizeof(BITMAPINFOHEADER), bitmap.bmWidth, -bitmap.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(bitmap.bmWidth) * bitmap.bmHeight);
  // A memory context: the test needs no display.
  HDC context = CreateCompatibleDC(nullptr);
  const int rows = GetDIBits(context, info.hbmColor, 0, bitmap.bmHeight, pixels.data(), &format, DIB_RGB_COLORS);
  DeleteDC(context);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  if (rows != bitmap.bmHeight) pixels.clear();
  return pixels;
}

TEST(Win32Resources, IconGroupsInTheOrderTheShellCountsThem) {
  std::vector<int> expected{VELLONIX_ICON_PROGRAM, VELLONIX_ICON_DISKIMAGE_1, VELLONIX_ICON_DISKIMAGE_2,
                            VELLONIX_ICON_ABOUT};
  for (int n = 0; n < 30; ++n) expected.push_back(VELLONIX_ICON_LIST_FIRST + n);
  ASSERT_EQ(IconGroups(), expected);

  const std::vector<int> document{16, 24, 32, 48, 64, 256};
  for (const int id : {VELLONIX_ICON_PROGRAM, VELLONIX_ICON_DISKIMAGE_1, VELLONIX_ICON_DISKIMAGE_2}) {
    EXPECT_EQ(GroupSizes(id), document) << "icon " << id;
  }
  EXPECT_EQ(GroupSizes(VELLONIX_ICON_ABOUT), (std::vector<int>{64, 128}));
  for (int n = 0; n < 30; ++n) {
    EXPECT_EQ(GroupSizes(VELLONIX_ICON_LIST_FIRST + n), (std::vector<int>{16, 20, 24, 32})) << "list icon " << n;
  }
}

// "<program>,N" in a file type's DefaultIcon: the shell's index N must be
// the program icon and the two disk image icons, as drawn from their SVGs.
TEST(Win32Resources, TheShellFindsTheThreeIconsAtZeroOneTwo) {
  const std::wstring self = OwnPath();
  EXPECT_EQ(ExtractIconExW(self.c_str(), -1, nullptr, nullptr, 0), 34u);
  const int size = GetSystemMetrics(SM_CXICON);
  const char* const drawn[] = {"program.ico", "diskimage-1.ico", "diskimage-2.ico"};
  for (int index = 0; index < 3; ++index) {
    HICON extracted = nullptr;
    ASSERT_EQ(ExtractIconExW(self.c_str(), index, &extracted, nullptr, 1), 1u);
    const auto file = vellonix::win32::WideFromUtf8(std::string(VELLONIX_DRAWN_ICONS "/") + drawn[index]);
    HICON expected = static_cast<HICON>(LoadImageW(nullptr, file->c_str(), IMAGE_ICON, size, size, LR_LOADFROMFILE));
    const auto pixels = Pixels(extracted);
    ASSERT_FALSE(pixels.empty()) << "index " << index;
    EXPECT_EQ(pixels, Pixels(expected)) << "index " << index << " is not " << drawn[index];
    DestroyIcon(extracted);
    DestroyIcon(expected);
  }
}

// The manifest is there and in force: the loader gave this process the
// version 6 common controls and per-monitor DPI awareness.
TEST(Win32Resources, TheManifestTakesEffect) {
  const auto manifest = Resource(1, RT_MANIFEST);
  const std::string text(manifest.begin(), manifest.end());
  for (const char* setting : {"Microsoft.Windows.Common-Controls", "asInvoker", "PerMonitorV2", "longPathAware"}) {
    EXPECT_NE(text.find(setting), std::string::npos) << setting;
  }

  // The version 6 library lives in the side-by-side store, version 5 in
  // the system folder (its version number alone does not tell them apart
  // under Wine).
  HMODULE controls = LoadLibraryW(L"comctl32.dll");
  ASSERT_NE(controls, nullptr);
  std::wstring path(MAX_PATH, L'\0');
  path.resize(GetModuleFileNameW(controls, path.data(), static_cast<DWORD>(path.size())));
  CharLowerW(path.data());
  EXPECT_NE(path.find(L"microsoft.windows.common-controls_6595b64144ccf1df_6.0."), std::wstring::npos)
      << *vellonix::win32::Utf8FromWide(path);
  EXPECT_EQ(GetAwarenessFromDpiAwarenessContext(GetThreadDpiAwarenessContext()), DPI_AWARENESS_PER_MONITOR_AWARE);
}

std::wstring VersionText(const std::vector<std::uint8_t>& block, const wchar_t* name) {
  void* value = nullptr;
  UINT length = 0;
  const std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
  if (!VerQueryValueW(block.data(), key.c_str(), &value, &length) || length == 0) return L"";
  return static_cast<const wchar_t*>(value);
}

TEST(Win32Resources, BothExecutablesSayWhatAndWhichVersionTheyAre) {
  const auto cli = vellonix::win32::WideFromUtf8(VELLONIX_CLI_PATH);
  ASSERT_TRUE(cli);
  const std::pair<std::wstring, std::wstring> executables[] = {{OwnPath(), L"vellonix.exe"},
                                                               {*cli, L"vellonix-cli.exe"}};
  const std::wstring version = *vellonix::win32::WideFromUtf8(VELLONIX_VERSION);
  for (const auto& [path, name] : executables) {
    std::vector<std::uint8_t> block(GetFileVersionInfoSizeW(path.c_str(), nullptr));
    ASSERT_FALSE(block.empty()) << "no version resource in " << *vellonix::win32::Utf8FromWide(name);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(block.size()), block.data()));
    EXPECT_EQ(VersionText(block, L"ProductName"), L"SAM Coup\u00e9 Vellonix");
    EXPECT_EQ(VersionText(block, L"OriginalFilename"), name);
    EXPECT_EQ(VersionText(block, L"ProductVersion"), version);
    EXPECT_NE(VersionText(block, L"LegalCopyright").find(L"MIT"), std::wstring::npos);

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    const std::wstring numbers = std::to_wstring(HIWORD(fixed->dwFileVersionMS)) + L"." +
                                 std::to_wstring(LOWORD(fixed->dwFileVersionMS)) + L"." +
                                 std::to_wstring(HIWORD(fixed->dwFileVersionLS));
    EXPECT_EQ(numbers, version);
  }
}

}  // namespace
