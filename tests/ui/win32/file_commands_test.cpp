// The document and file commands through the system's file dialogs and
// message boxes: Open, Add (two files at once), Extract, Delete with its
// question, Save as SAD by the type chosen in the dialog, and the
// unsaved-changes question when the window closes.
#include <gtest/gtest.h>

#include <filesystem>

#include "scratch_dir.hpp"
#include "window_driver.hpp"

namespace vellonix::ui::win {
namespace {

using namespace testing;
using vellonix::testing::ReadBytes;
using vellonix::testing::ScratchDir;

class FileCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    window.CreateDialogs();
    std::filesystem::copy_file(vellonix::testing::Utf8Path(SampleImage()), dir.Path() / "disk.mgt");
    ModalScript script({[this](HWND dialog) {
      EXPECT_EQ(TextOf(dialog), L"Open diskimage");
      ChooseFile(dialog, Path("disk.mgt"));
    }});
    Choose(window, MenuItem::Opendiskimage1);
    ASSERT_TRUE(window.Form1().ImageLoaded);
  }

  std::wstring Path(const std::string& name) const { return Wide(dir.File(name)); }
  int RowNamed(const std::wstring& name) const {
    for (int row = 0; row < RowCount(list); ++row) {
      std::wstring shown = CellText(list, row, 1);  // padded to ten characters
      shown.erase(shown.find_last_not_of(L' ') + 1);
      if (shown == name) return row;
    }
    return -1;
  }

  ScratchDir dir;
  MainWindow window;
  HWND list = window.Parts().ListView1;
};

TEST_F(FileCommands, AddExtractDeleteAndSaveAsSadThroughTheirDialogs) {
  const std::vector<std::uint8_t> one = vellonix::testing::RandomBytes(3000, 1);
  vellonix::testing::WriteBytes(dir.Path() / "one.bin", one);
  vellonix::testing::WriteBytes(dir.Path() / "two.bin", vellonix::testing::RandomBytes(900, 2));
  const int rows = RowCount(list);
  {
    ModalScript script({[this](HWND dialog) {
      EXPECT_EQ(TextOf(dialog), L"Add file");
      ChooseFilesIn(dialog, Path(""), L"\"one.bin\" \"two.bin\"");
    }});
    Choose(window, MenuItem::AddFile1);
  }
  ASSERT_EQ(RowCount(list), rows + 2);
  ASSERT_GE(RowNamed(L"one.bin"), 0);
  ASSERT_GE(RowNamed(L"two.bin"), 0);

  SelectRow(list, RowNamed(L"one.bin"));
  {
    ModalScript script({[this](HWND dialog) {
      EXPECT_EQ(TextOf(NameBox(dialog)), L"one.bin");
      ChooseFile(dialog, Path("back.bin"));
    }});
    Choose(window, MenuItem::ExtractFile1);
  }
  EXPECT_EQ(ReadBytes(dir.File("back.bin")), one);

  {
    ModalScript script({[](HWND box) {
      EXPECT_EQ(MessageText(box), L"Delete this file from diskimage ?");
      Press(box, IDYES);
    }});
    Choose(window, MenuItem::DeleteFile1);
  }
  EXPECT_EQ(RowCount(list), rows + 1);
  EXPECT_LT(RowNamed(L"one.bin"), 0);

  {
    ModalScript script({[this](HWND dialog) {
      EXPECT_EQ(TextOf(dialog), L"Save diskimage as ...");
      EXPECT_EQ(TextOf(NameBox(dialog)), L"disk");  // in the image's folder
      // The user picks the second type, as the list box of types reports it.
      HWND types = GetDlgItem(dialog, 0x470);
      SendMessageW(types, CB_SETCURSEL, 1, 0);
      for (const int code : {CBN_SELCHANGE, CBN_SELENDOK})
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(0x470, static_cast<WORD>(code)), reinterpret_cast<LPARAM>(types));
      ChooseFile(dialog, Path("copy"));
    }});
    Choose(window, MenuItem::Savediskimageas1);
  }
  EXPECT_EQ(ReadBytes(dir.File("copy.sad")).size(), 819'222U);
  EXPECT_EQ(TextOf(window.Handle()), L"SAM Coup\u00e9 Vellonix - copy.sad");
  EXPECT_FALSE(window.Form1().ImageModified);
}

// Extract asks before it replaces a host file, as Save As does: No goes
// back to the dialog and keeps the old file, Yes replaces it.
TEST_F(FileCommands, ExtractAsksBeforeReplacingAHostFile) {
  const std::string target = dir.WriteFilled("back.bin", 5000, 'k');
  SelectRow(list, 1);
  for (const int answer : {IDNO, IDYES}) {
    std::deque<ModalAct> acts{[this](HWND dialog) { ChooseFile(dialog, Path("back.bin")); },
                              [answer](HWND prompt) {
                                // The system's question (Wine's does not name the file).
                                const std::wstring text = TextOf(GetDlgItem(prompt, 0xFFFF));
                                EXPECT_NE(text.find(L"already exists"), std::wstring::npos) << Narrow(text);
                                Press(prompt, answer);
                              }};
    if (answer == IDNO) acts.push_back([](HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0); });
    ModalScript script(std::move(acts));
    Choose(window, MenuItem::ExtractFile1);
    EXPECT_EQ(ReadBytes(target) == std::vector<std::uint8_t>(5000, 'k'), answer == IDNO);
  }
}

// A name no UTF-8 holds (an unpaired surrogate) makes no second file in
// Save As: the system refuses it, and the box names it with "?".
TEST_F(FileCommands, SaveAsANameWithAnUnpairedSurrogateMakesNoFile) {
  window.Form1().ImageModified = true;
  std::wstring error;
  {
    ModalScript script({[this](HWND dialog) { ChooseFile(dialog, Path("new") + L"\xDC00.mgt"); },
                        [&error](HWND box) {
                          error = TextOf(GetDlgItem(box, 0xFFFF));
                          Press(box, IDOK);
                        }});
    Choose(window, MenuItem::Savediskimageas1);
  }
  EXPECT_NE(error.find(Path("new?.mgt")), std::wstring::npos) << Narrow(error);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
  EXPECT_TRUE(window.Form1().ImageModified);
}

TEST_F(FileCommands, ClosingWithUnsavedChangesAsksFirst) {
  window.Form1().ImageModified = true;
  const ScreenPoint expected = CentredBoxOrigin(window.Services().MainWindowRect(), 267);
  const ModalAct cancel = [&](HWND box) {
    EXPECT_EQ(MessageText(box), L"Save changes to diskimage ?");
    RECT frame{};
    GetWindowRect(box, &frame);
    EXPECT_EQ((ScreenPoint{frame.left, frame.top}), expected);
    Press(box, IDCANCEL);
  };
  {
    ModalScript script({cancel, cancel});
    SendMessageW(window.Handle(), WM_CLOSE, 0, 0);
    // The session's end asks as well, and Cancel keeps it.
    EXPECT_FALSE(SendMessageW(window.Handle(), WM_QUERYENDSESSION, 0, 0));
  }
  ASSERT_TRUE(IsWindow(list));
  {
    ModalScript script({[](HWND box) { Press(box, IDNO); }});
    Choose(window, MenuItem::Exit1);
  }
  EXPECT_FALSE(IsWindow(list));
}

}  // namespace
}  // namespace vellonix::ui::win
