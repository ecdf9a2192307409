// The Windows desktop ties on the real registry and the shell's own link
// objects (under Wine in CI): text stored as UTF-16, shortcuts loaded back
// by the shell, the file type among the user's own classes.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include "error_text.hpp"
#include "scratch_dir.hpp"
#include "vellonix/integration/registry_win32.hpp"
#include "vellonix/win32/com_apartment.hpp"
#include "vellonix/win32/wide_text.hpp"

namespace vellonix::integration {
namespace {

using vellonix::testing::ErrorOf;

std::wstring ThisProgram() {
  wchar_t path[MAX_PATH];
  return {path, GetModuleFileNameW(nullptr, path, MAX_PATH)};
}

std::string Utf8(std::wstring_view wide) { return win32::Utf8FromWide(wide).value(); }
std::wstring Wide(std::string_view utf8) { return win32::WideFromUtf8(utf8).value(); }

// A string value as the registry holds it; "-" when there is none.
std::wstring Stored(const std::wstring& key, const wchar_t* name = nullptr) {
  wchar_t text[1024];
  DWORD size = sizeof text;
  if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS) {
    return L"-";
  }
  return text;
}

bool Exists(const std::string& path) { return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

// A shortcut file's target and working folder, as the shell reads them.
std::pair<std::wstring, std::wstring> LoadLink(const std::string& path) {
  IShellLinkW* link = nullptr;
  IPersistFile* file = nullptr;
  wchar_t target[MAX_PATH] = L"";
  wchar_t folder[MAX_PATH] = L"";
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                 reinterpret_cast<void**>(&link)))) {
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      if (SUCCEEDED(file->Load(Wide(path).c_str(), STGM_READ))) {
        link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
        link->GetWorkingDirectory(folder, MAX_PATH);
      }
      file->Release();
    }
    link->Release();
  }
  return {target, folder};
}

// Keys of the test's own below HKEY_CURRENT_USER, as the seam's two roots:
// tests run side by side, each in a process of its own.
class Win32RegistryTest : public ::testing::Test {
 protected:
  ~Win32RegistryTest() override { RegDeleteTreeW(HKEY_CURRENT_USER, sandbox.c_str()); }

  const win32::ComApartment apartment;
  const std::wstring sandbox = L"Software\\VellonixTests\\" + std::to_wstring(GetCurrentProcessId());
  const std::unique_ptr<Registry> registry = MakeWin32Registry(
      {HKEY_CURRENT_USER, sandbox + L"\\Classes", "classes"}, {HKEY_CURRENT_USER, sandbox + L"\\User", "user"});
};

TEST_F(Win32RegistryTest, KeysAndValuesAsTheSeamPromises) {
  const auto classes = RegistryRoot::Classes;
  EXPECT_FALSE(registry->KeyExists(classes, "diskimage"));
  ASSERT_TRUE(registry->CreateKey(classes, "diskimage\\Shell\\open\\command"));
  EXPECT_TRUE(registry->KeyExists(classes, "diskimage\\Shell"));

  registry->WriteString(classes, "diskimage", "", kFileTypeName);
  EXPECT_EQ(Stored(sandbox + L"\\Classes\\diskimage"), L"SAM Coup\u00e9 diskimage");
  EXPECT_EQ(registry->ReadString(classes, "diskimage", ""), kFileTypeName);
  EXPECT_EQ(registry->ReadString(classes, "diskimage", "Missing"), "");
  EXPECT_EQ(registry->ReadString(classes, "nokey", ""), "");

  const DWORD one = 1;
  RegSetKeyValueW(HKEY_CURRENT_USER, (sandbox + L"\\Classes\\diskimage").c_str(), L"Count", REG_DWORD, &one,
                  sizeof one);
  EXPECT_EQ(ErrorOf([&] { registry->ReadString(classes, "diskimage", "Count"); }), "Invalid data type for 'Count'");
  EXPECT_EQ(ErrorOf([&] { registry->WriteString(classes, "nokey", "Name", "x"); }), "Failed to set data for 'Name'");

  registry->DeleteTree(classes, "diskimage");
  EXPECT_FALSE(registry->KeyExists(classes, "diskimage"));
  EXPECT_EQ(ErrorOf([&] { registry->DeleteTree(classes, "diskimage"); }), "");
}

TEST_F(Win32RegistryTest, ShortcutsLoadBackWithTargetAndWorkingFolder) {
  const testing::ScratchDir scratch;
  const std::string shellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
  const std::string mapGroups = "Software\\Microsoft\\Windows\\CurrentVersion\\GrpConv\\MapGroups";
  for (const auto& [key, name] : {std::pair{shellFolders, "Desktop"}, {shellFolders, "Start Menu"},
                                  {shellFolders, "SendTo"}, {shellFolders, "Programs"}, {mapGroups, "Quick Launch"}}) {
    CreateDirectoryW(Wide(scratch / name).c_str(), nullptr);
    ASSERT_TRUE(registry->CreateKey(RegistryRoot::CurrentUser, key));
    registry->WriteString(RegistryRoot::CurrentUser, key, name, scratch / name);
  }
  const std::wstring program = ThisProgram();
  const auto files = MakeWin32ShellFiles();
  RegistryShellIntegration shell(*registry, *files, Utf8(program));

  IntegrationState ticked;
  ticked.Shortcuts.fill(true);
  shell.Apply(ticked);
  EXPECT_EQ(shell.Read(), ticked);
  const auto links = shell.Locations().Shortcuts;
  EXPECT_EQ(links[Index(Shortcut::ProgramGroup)], scratch / "Programs" + "\\SAM Coup\u00e9\\SAM Vellonix.lnk");
  for (const std::string& link : links) {
    const auto [target, folder] = LoadLink(link);
    EXPECT_EQ(target, program) << link;
    EXPECT_EQ(folder, program.substr(0, program.rfind(L'\\') + 1)) << link;
  }

  shell.Apply(IntegrationState{});
  EXPECT_EQ(shell.Read(), IntegrationState{});
  for (const std::string& link : links) EXPECT_FALSE(Exists(link)) << link;
  EXPECT_FALSE(Exists(scratch / "Programs\\SAM Coup\u00e9"));
}

// The one test that writes the running Windows' own file type (a fresh
// Wine prefix in CI). Wine does not merge the user's classes into
// HKEY_CLASSES_ROOT, so they are read back where they were written.
TEST(HostShellIntegration, RegistersTheFileTypeAmongTheUsersOwnClasses) {
  const std::wstring classes = L"Software\\Classes\\";
  if (Stored(classes + L"diskimage") != L"-") GTEST_SKIP() << "this Windows has a diskimage type of its own";
  const std::wstring program = ThisProgram();
  const auto shell = MakeHostShellIntegration(Utf8(program));
  EXPECT_EQ(shell->Locations().FileType, "HKEY_CURRENT_USER\\Software\\Classes\\diskimage");

  IntegrationState state = shell->Read();
  state.Mgt = state.Sad = true;
  state.IconIndex = 1;
  shell->Apply(state);
  EXPECT_EQ(Stored(classes + L"diskimage"), L"SAM Coup\u00e9 diskimage");
  EXPECT_EQ(Stored(classes + L"diskimage\\Shell\\open\\command"), program + L" \"%1\"");
  EXPECT_EQ(Stored(classes + L"diskimage\\DefaultIcon"), program + L",1");
  EXPECT_EQ(Stored(classes + L".mgt"), L"diskimage");
  EXPECT_EQ(Stored(classes + L".sad"), L"diskimage");
  EXPECT_EQ(shell->Read(), state);

  state.Mgt = state.Sad = false;
  shell->Apply(state);
  EXPECT_EQ(Stored(classes + L"diskimage"), L"-");
  EXPECT_EQ(Stored(classes + L".mgt"), L"-");
  EXPECT_EQ(Stored(classes + L".sad"), L"-");
}

}  // namespace
}  // namespace vellonix::integration
