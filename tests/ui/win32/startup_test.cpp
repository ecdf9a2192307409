// Images reaching the main window from outside: the command line's images
// once the message loop runs, and files dropped from the shell, with names
// beyond ASCII and beyond the BMP arriving whole.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <filesystem>

#include "scratch_dir.hpp"
#include "window_driver.hpp"

namespace vellonix::ui::win {
namespace {

using namespace testing;
using vellonix::testing::ScratchDir;

class RecordingLauncher : public InstanceLauncher {
 public:
  void StartInstance(const std::string& file) override { files.push_back(file); }
  std::vector<std::string> files;
};

class Arrivals : public ::testing::Test {
 protected:
  std::string Image(const std::string& name) const {
    const std::string path = dir.File(name);
    std::filesystem::copy_file(vellonix::testing::Utf8Path(SampleImage()), vellonix::testing::Utf8Path(path));
    return path;
  }

  ScratchDir dir;
  RecordingLauncher launcher;
  MainWindow window{launcher};
};

TEST_F(Arrivals, TheCommandLinesLastImageOpensOnceTheLoopRunsAndTheOthersGoToNewInstances) {
  const std::string first = Image("caf\u00e9.mgt");
  const std::string last = Image("last \U0001F4BE.mgt");
  window.HookColdStart({first, dir.File("missing.mgt"), last});
  EXPECT_FALSE(window.Form1().ImageLoaded);  // not before the loop runs
  RunPendingMessages();
  EXPECT_EQ(launcher.files, std::vector<std::string>{first});
  EXPECT_EQ(window.Form1().DocumentPath, last);
  // Later activations run nothing again.
  SendMessageW(window.Handle(), WM_ACTIVATEAPP, TRUE, 0);
  RunPendingMessages();
  EXPECT_EQ(launcher.files.size(), 1U);
}

// A box that opening the command line's image brings stands on the window
// where it is, moved or minimized (then where it will be restored), and
// says which file it refuses and why.
TEST_F(Arrivals, ABoxAtStartStandsOnTheWindowWhereItIsAndSaysWhy) {
  const std::string raw = dir.WriteFilled("raw.dsk", 819200);
  for (const int show : {SW_SHOWNOACTIVATE, SW_SHOWMINNOACTIVE}) {
    SCOPED_TRACE(show);
    ShowWindow(window.Handle(), SW_SHOWNOACTIVATE);
    SetWindowPos(window.Handle(), nullptr, 203, 151, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    const WindowRect placed = window.Services().MainWindowRect();
    ShowWindow(window.Handle(), show);
    ModalScript script({[&](HWND box) {
      RECT frame{};
      GetWindowRect(box, &frame);
      EXPECT_EQ((ScreenPoint{frame.left, frame.top}), CentredBoxOrigin(placed, 161));
      EXPECT_EQ(MessageText(box), L"Invalid diskimage");
      const std::wstring detail = MessageDetail(box);
      EXPECT_EQ(detail.substr(0, detail.find(L": ")), Wide(raw));
      EXPECT_NE(detail.find(L"819,200 bytes"), std::wstring::npos) << Narrow(detail);
      Press(box, IDOK);
    }});
    window.HookColdStart({raw});
    RunPendingMessages();
  }
}

// A drop as the shell hands it over: a DROPFILES block of UTF-16 names.
HGLOBAL DropOf(const std::vector<std::wstring>& files) {
  std::wstring names;
  for (const std::wstring& file : files) names += file + L'\0';
  names += L'\0';
  HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  std::copy(names.begin(), names.end(), reinterpret_cast<wchar_t*>(drop + 1));
  GlobalUnlock(memory);
  return memory;
}

TEST_F(Arrivals, ADropOfTwoImagesOpensTheLastHereAfterTheQuestion) {
  window.CreateDialogs();
  const std::string x = Image("x.mgt");
  const std::string z = Image("z\u00e9 \u2603.MGT");
  SendMessageW(window.Handle(), WM_DROPFILES,
               reinterpret_cast<WPARAM>(DropOf({Wide(x), Wide(dir.File("y.txt")), Wide(z)})), 0);
  EXPECT_EQ(launcher.files, std::vector<std::string>{x});
  EXPECT_EQ(window.Form1().DocumentPath, z);
  EXPECT_EQ(TextOf(window.Handle()), L"SAM Coup\u00e9 Vellonix - z\u00e9 \u2603.MGT");

  // With unsaved changes the question comes for the last image only, after
  // the earlier one has gone to its instance; Cancel keeps this one.
  window.Form1().ImageModified = true;
  {
    ModalScript script({[&](HWND box) {
      EXPECT_EQ(launcher.files.size(), 2U);
      EXPECT_EQ(MessageText(box), L"Save changes to diskimage ?");
      Press(box, IDCANCEL);
    }});
    SendMessageW(window.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(DropOf({Wide(x), Wide(Image("other.mgt"))})),
                 0);
  }
  EXPECT_EQ(window.Form1().DocumentPath, z);
  EXPECT_TRUE(window.Form1().ImageModified);
}

// A name no UTF-8 holds (an unpaired surrogate) reaches no file of a
// similar name: the box names it with "?" and the system's reason, and
// the document stays as it was.
TEST_F(Arrivals, ANameWithAnUnpairedSurrogateReachesNoOtherFile) {
  window.CreateDialogs();
  const std::string kept = Image("kept.mgt");
  window.Form1().LoadName = kept;
  window.Form1().LoadDiskImage();
  Image("odd\uFFFD.mgt");
  std::wstring shown;
  {
    ModalScript script({[&shown](HWND box) {
      shown = MessageText(box) + L"|" + MessageDetail(box);
      Press(box, IDOK);
    }});
    SendMessageW(window.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(DropOf({Wide(dir.File("odd")) + L"\xD800.mgt"})),
                 0);
  }
  EXPECT_NE(shown.find(Wide(dir.File("odd?.mgt"))), std::wstring::npos) << Narrow(shown);
  EXPECT_EQ(window.Form1().DocumentPath, kept);
  EXPECT_TRUE(launcher.files.empty());
}

}  // namespace
}  // namespace vellonix::ui::win
