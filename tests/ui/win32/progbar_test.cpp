// TForm2 as built, and the SAM disk menu reaching TForm1's commands: the
// window shown centred with its caption while the scripted drive works,
// hidden again before an error box.
#include <gtest/gtest.h>

#include "progbar.hpp"
#include "scratch_dir.hpp"
#include "scripted_drive.hpp"
#include "window_driver.hpp"

namespace vellonix::ui::win {
namespace {

using namespace testing;
using vellonix::testing::ScriptedDrive;

POINT Centre(HWND window) {
  RECT frame{};
  GetWindowRect(window, &frame);
  return {(frame.left + frame.right) / 2, (frame.top + frame.bottom) / 2};
}

bool ThreadHasWindowCaptioned(const std::wstring& caption) {
  struct Search {
    const std::wstring& Caption;
    bool Found = false;
  } search{caption};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM state) {
        auto& searching = *reinterpret_cast<Search*>(state);
        searching.Found = searching.Found || TextOf(window) == searching.Caption;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

TEST(TForm2, ShowsCentredWhileTheSamDiskCommandsRunAndHidesBeforeAnError) {
  MainWindow window;
  window.CreateDialogs();
  // Made when first needed, not with the main window.
  EXPECT_FALSE(ThreadHasWindowCaptioned(L"Loading SAM disk ..."));
  ShowWindow(window.Handle(), SW_SHOWNOACTIVATE);
  const TForm2& form2 = window.Form2();
  EXPECT_FALSE(IsWindowVisible(form2.Handle()));
  EXPECT_FALSE(GetWindowLongPtrW(form2.Handle(), GWL_STYLE) & WS_SYSMENU);  // no close box
  EXPECT_EQ(TextOf(form2.Handle()), L"Loading SAM disk ...");
  EXPECT_TRUE(GetWindowLongPtrW(form2.ProgressBar1, GWL_STYLE) & PBS_SMOOTH);
  EXPECT_EQ(SendMessageW(form2.ProgressBar1, PBM_GETRANGE, TRUE, 0), 0);
  EXPECT_EQ(SendMessageW(form2.ProgressBar1, PBM_GETRANGE, FALSE, 0), 160);
  EXPECT_EQ(SendMessageW(form2.ProgressBar1, PBM_GETPOS, 0, 0), 2);

  auto drive = std::make_unique<ScriptedDrive>();
  ScriptedDrive& held = *drive;
  held.Mgt = vellonix::testing::ReadBytes(SampleImage());
  window.Form1().FloppyDrive = std::move(drive);
  std::vector<std::wstring> seen;
  held.DuringTransfer = [&] {
    if (held.Requests.size() != 2) return;  // the first transfer of each command
    seen.push_back(TextOf(form2.Handle()));
    EXPECT_TRUE(IsWindowVisible(form2.Handle()));
    const POINT at = Centre(form2.Handle());
    const POINT around = Centre(window.Handle());
    EXPECT_LE(std::abs(at.x - around.x) + std::abs(at.y - around.y), 2);
  };

  Choose(window, MenuItem::LOAD1);
  EXPECT_FALSE(IsWindowVisible(form2.Handle()));
  EXPECT_TRUE(window.Form1().ImageLoaded);
  EXPECT_EQ(TextOf(window.Handle()), L"SAM Coup\u00e9 Vellonix - VELLONIX.mgt");

  held.Requests.clear();
  held.Mgt.assign(held.Mgt.size(), 0);
  Choose(window, MenuItem::Save1);
  EXPECT_EQ(held.Mgt, vellonix::testing::ReadBytes(SampleImage()));
  EXPECT_EQ(seen, (std::vector<std::wstring>{L"Loading SAM disk ...", L"Saving SAM disk ..."}));
  EXPECT_EQ(SendMessageW(form2.ProgressBar1, PBM_GETPOS, 0, 0), 160);

  held.Requests.clear();
  held.FailingTransfer = 0;
  bool hiddenAtTheBox = false;
  {
    ModalScript script({[&](HWND box) {
      EXPECT_EQ(MessageText(box), L"Disk write Error");
      hiddenAtTheBox = !IsWindowVisible(form2.Handle());
      Press(box, IDOK);
    }});
    Choose(window, MenuItem::Save1);
  }
  EXPECT_TRUE(hiddenAtTheBox);
}

}  // namespace
}  // namespace vellonix::ui::win
