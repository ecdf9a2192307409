// The Options dialog over the real registry and shell links, in keys and
// folders of the test's own: the boxes show what the registry holds, the
// arrows walk the program's icons, OK writes the boxes back and Esc
// writes nothing.
#include <gtest/gtest.h>

#include <filesystem>

#include "options.hpp"
#include "scratch_dir.hpp"
#include "vellonix/integration/registry_win32.hpp"
#include "window_driver.hpp"

namespace vellonix::ui::win {
namespace {

using namespace testing;
using integration::Shortcut;

// The Windows ties over keys below HKEY_CURRENT_USER of this test alone:
// Wine keeps the user's classes apart from HKEY_CLASSES_ROOT, and the
// suites run side by side.
class SandboxTies : public integration::ShellIntegration {
 public:
  explicit SandboxTies(const std::wstring& sandbox)
      : registry_(integration::MakeWin32Registry({HKEY_CURRENT_USER, sandbox + L"\\Classes", "classes"},
                                                 {HKEY_CURRENT_USER, sandbox + L"\\User", "user"})),
        files_(integration::MakeWin32ShellFiles()),
        ties_(*registry_, *files_, integration::RunningProgramPath()) {}
  integration::IntegrationState Read() override { return ties_.Read(); }
  void Apply(const integration::IntegrationState& state) override { ties_.Apply(state); }
  integration::IntegrationLocations Locations() override { return ties_.Locations(); }

 private:
  std::unique_ptr<integration::Registry> registry_;
  std::unique_ptr<integration::ShellFiles> files_;
  integration::RegistryShellIntegration ties_;
};

class OptionsDialog : public ::testing::Test {
 protected:
  OptionsDialog() {
    window.CreateDialogs();
    window.Form1().ShellTies = std::make_unique<SandboxTies>(sandbox);
    const std::wstring folders = L"\\User\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
    for (const wchar_t* name : {L"Desktop", L"Start Menu", L"SendTo", L"Programs"}) {
      std::filesystem::create_directory(dir.Path() / name);
      Set(folders, name, Wide(dir.File(Narrow(name))));
    }
  }
  ~OptionsDialog() override { RegDeleteTreeW(HKEY_CURRENT_USER, sandbox.c_str()); }

  void Set(const std::wstring& key, const wchar_t* name, const std::wstring& value) const {
    RegSetKeyValueW(HKEY_CURRENT_USER, (sandbox + key).c_str(), name, REG_SZ, value.c_str(),
                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  }
  std::wstring Stored(const std::wstring& key) const {
    wchar_t text[1024] = L"-";
    DWORD size = sizeof text;
    RegGetValueW(HKEY_CURRENT_USER, (sandbox + key).c_str(), nullptr, RRF_RT_REG_SZ, nullptr, text, &size);
    return text;
  }
  bool Ticked(HWND box) const { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }
  HWND Box(Shortcut shortcut) const { return window.OKBottomDlg()->ShortcutBoxes[integration::Index(shortcut)]; }

  const std::wstring sandbox = L"Software\\VellonixTests\\Options" + std::to_wstring(GetCurrentProcessId());
  vellonix::testing::ScratchDir dir;
  MainWindow window;
};

// A press of one of the spin control's arrows, as the mouse makes it.
void PressArrow(HWND spin, bool up) {
  RECT area{};
  GetClientRect(spin, &area);
  const LPARAM at = MAKELPARAM(area.right / 2, up ? area.bottom / 4 : area.bottom * 3 / 4);
  SendMessageW(spin, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(spin, WM_LBUTTONUP, 0, at);
}

TEST_F(OptionsDialog, ShowsTheRegistryAndWritesTheBoxesBackOnOk) {
  Set(L"\\Classes\\.sad", nullptr, L"diskimage");
  Set(L"\\Classes\\.mgt", nullptr, L"otherimage");
  Set(L"\\Classes\\diskimage\\DefaultIcon", nullptr, L"C:\\old.exe,1");
  const TOKBottomDlg& dialog = *window.OKBottomDlg();
  {
    ModalScript script({[&](HWND modal) {
      EXPECT_EQ(TextOf(modal), L"Options");
      EXPECT_EQ(GetFocus(), GetDlgItem(modal, IDOK));
      EXPECT_FALSE(Ticked(dialog.CheckBox1));
      EXPECT_TRUE(Ticked(dialog.CheckBox2));
      EXPECT_FALSE(IsWindowEnabled(Box(Shortcut::QuickLaunch)));  // no Quick Launch folder named
      EXPECT_TRUE(IsWindowEnabled(Box(Shortcut::Desktop)));
      EXPECT_EQ(dialog.ShownIcon(), 1);
      EXPECT_NE(SendMessageW(dialog.Image1, STM_GETICON, 0, 0), 0);
      const std::pair<bool, int> presses[] = {{true, 0},  {true, 0},  {false, 1}, {false, 2},
                                              {false, 2}, {true, 1}, {true, 0}};  // {up, icon shown after}
      for (const auto& [up, shown] : presses) {
        PressArrow(dialog.SpinButton1, up);
        EXPECT_EQ(dialog.ShownIcon(), shown);
      }
      Press(modal, GetDlgCtrlID(dialog.CheckBox1));
      Press(modal, GetDlgCtrlID(Box(Shortcut::Desktop)));
      PressKey(GetFocus(), VK_RETURN);
    }});
    Choose(window, MenuItem::Options1);
  }
  EXPECT_EQ(Stored(L"\\Classes\\.mgt"), L"diskimage");
  EXPECT_EQ(Stored(L"\\Classes\\diskimage"), L"SAM Coup\u00e9 diskimage");
  EXPECT_TRUE(Stored(L"\\Classes\\diskimage\\DefaultIcon").ends_with(L".exe,0"));
  EXPECT_TRUE(std::filesystem::is_regular_file(dir.Path() / "Desktop" / "SAM Vellonix.lnk"));

  // The next showing reads it all back; Esc writes nothing.
  Set(L"\\Classes\\diskimage\\DefaultIcon", nullptr, L"C:\\program.exe,2");
  {
    ModalScript script({[&](HWND) {
      EXPECT_TRUE(Ticked(dialog.CheckBox1) && Ticked(dialog.CheckBox2) && Ticked(Box(Shortcut::Desktop)));
      EXPECT_EQ(dialog.ShownIcon(), 2);
      Press(window.OKBottomDlg()->Handle(), GetDlgCtrlID(dialog.CheckBox1));
      PressKey(GetFocus(), VK_ESCAPE);
    }});
    Choose(window, MenuItem::Options1);
  }
  EXPECT_EQ(Stored(L"\\Classes\\.mgt"), L"diskimage");
  EXPECT_EQ(Stored(L"\\Classes\\diskimage\\DefaultIcon"), L"C:\\program.exe,2");
}

}  // namespace
}  // namespace vellonix::ui::win
