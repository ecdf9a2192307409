// Placed message boxes, the New diskimage dialog for each DOS, the name
// dialog through Rename, and the About box, worked through their controls.
#include <gtest/gtest.h>

#include "about.hpp"
#include "newdisk.hpp"
#include "rename.hpp"
#include "std_dialogs.hpp"
#include "window_driver.hpp"

namespace vellonix::ui::win {
namespace {

using namespace testing;

void Type(HWND edit, std::wstring_view text) {
  for (const wchar_t ch : text) SendMessageW(edit, WM_CHAR, ch, 1);
}

// A detail is the box's second paragraph; the box stays where it was asked
// for, however much the detail widens it.
TEST(PlacedMessage, StandsWhereAskedWithTheProgramsButtonsDetailAndAnswers) {
  MainWindow window;
  const std::string longDetail = "C:\\Disks\\" + std::string(120, 'x') + ".dsk: 819,200 bytes, an MGT image's size";
  const struct {
    MessageKind Kind;
    MessageButtons Buttons;
    std::vector<std::wstring> Captions;  // IDOK, IDYES, IDNO, IDCANCEL; "" where there is none
    int Press;                           // 0: the close box
    MessageResult Expected;
    std::string Detail;
  } cases[] = {
      {MessageKind::Confirmation, MessageButtons::YesNoCancel, {L"", L"&Yes", L"&No", L"Cancel"}, IDNO,
       MessageResult::No, ""},
      {MessageKind::Confirmation, MessageButtons::YesNoCancel, {L"", L"&Yes", L"&No", L"Cancel"}, 0,
       MessageResult::Cancel, "disk.mgt"},
      {MessageKind::Confirmation, MessageButtons::YesNo, {L"", L"&Yes", L"&No", L""}, IDYES, MessageResult::Yes,
       "File # 3 \"caf\u00e9\" (Basic)"},
      {MessageKind::Error, MessageButtons::Ok, {L"OK", L"", L"", L""}, IDOK, MessageResult::Ok, longDetail},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Detail);
    ModalScript script({[&c](HWND box) {
      RECT frame{};
      GetWindowRect(box, &frame);
      EXPECT_EQ(frame.left, 135);
      EXPECT_EQ(frame.top, 98);
      EXPECT_EQ(TextOf(box), c.Kind == MessageKind::Error ? L"Error" : L"Confirm");
      EXPECT_EQ(MessageText(box), L"Delete this file from diskimage ?");
      EXPECT_EQ(MessageDetail(box), Wide(c.Detail));
      std::vector<std::wstring> captions;
      for (const int id : {IDOK, IDYES, IDNO, IDCANCEL})
        captions.push_back(GetDlgItem(box, id) != nullptr ? TextOf(GetDlgItem(box, id)) : L"");
      EXPECT_EQ(captions, c.Captions);
      if (c.Press == 0) {
        PostMessageW(box, WM_CLOSE, 0, 0);
      } else {
        Press(box, c.Press);
      }
    }});
    EXPECT_EQ(ShowPlacedMessage(window.Handle(), "\rDelete this file from diskimage ?", c.Kind, c.Buttons,
                                ScreenPoint{135, 98}, c.Detail),
              c.Expected);
  }
}

TEST(NewDiskDialog, MakesEachDosThroughItsControlsAndKeepsTheChoice) {
  MainWindow window;
  window.CreateDialogs();
  const TOKBottomDlg1& dialog = *window.OKBottomDlg1();
  const struct {
    int Item;
    std::wstring Typed;
    int Limit;
    std::wstring Dos;
    std::wstring Name;
  } cases[] = {
      {1, L"GAMES", 10, L"MasterDOS format", L"Disk name: GAMES     "},
      {2, L"SIXTEEN CHARS OK, and more", 16, L"B-DOS format", L"Disk name: SIXTEEN CHARS OK"},
      {0, L"", 10, L"SAM-DOS format", L"Disk has no name"},
  };
  int previous = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Item);
    ModalAct fill = [&](HWND modal) {
      EXPECT_EQ(modal, dialog.Handle());
      // The focus on the format chosen last time, the name box empty.
      EXPECT_EQ(GetFocus(), dialog.RadioGroup3Items[static_cast<std::size_t>(previous)]);
      EXPECT_EQ(TextOf(dialog.Edit1), L"");
      HWND radio = dialog.RadioGroup3Items[static_cast<std::size_t>(c.Item)];
      Press(modal, GetDlgCtrlID(radio));
      EXPECT_EQ(IsWindowEnabled(dialog.Edit1) != 0, c.Item != 0);
      EXPECT_EQ(SendMessageW(dialog.Edit1, EM_GETLIMITTEXT, 0, 0), c.Limit);
      // Tab order: the radio group, the name box, OK, Cancel.
      HWND next = GetNextDlgTabItem(modal, radio, FALSE);
      if (c.Item != 0) {
        EXPECT_EQ(next, dialog.Edit1);
        next = GetNextDlgTabItem(modal, next, FALSE);
      }
      EXPECT_EQ(next, GetDlgItem(modal, IDOK));
      EXPECT_EQ(GetNextDlgTabItem(modal, next, FALSE), GetDlgItem(modal, IDCANCEL));
      // Back again, Shift+Tab comes to the chosen format, not the first.
      EXPECT_EQ(GetNextDlgTabItem(modal, c.Item != 0 ? dialog.Edit1 : next, TRUE), radio);
      Type(dialog.Edit1, c.Typed);
      PressKey(c.Item != 0 ? dialog.Edit1 : radio, VK_RETURN);  // Enter: OK
    };
    // After the first new disk, the unsaved one is given up.
    ModalScript script(previous == 0 && c.Item == 1 ? std::deque<ModalAct>{fill}
                                                    : std::deque<ModalAct>{fill, [](HWND box) { Press(box, IDNO); }});
    Choose(window, MenuItem::Newdiskimage1);
    EXPECT_EQ(TextOf(window.Handle()), L"SAM Coup\u00e9 Vellonix - Untitled.mgt");
    EXPECT_EQ(PanelText(window.Parts().StatusBar1, 0), c.Dos);
    EXPECT_EQ(PanelText(window.Parts().StatusBar1, 1), c.Name);
    EXPECT_EQ(PanelText(window.Parts().StatusBar1, 4), L"780.0 K free");
    EXPECT_TRUE(window.Form1().ImageModified);
    previous = c.Item;
  }

  // Esc: nothing changes, and no question is asked.
  const auto before = window.Form1().DiskImageBuffer();
  {
    ModalScript script({[](HWND) { PressKey(GetFocus(), VK_ESCAPE); }});
    Choose(window, MenuItem::Newdiskimage1);
  }
  EXPECT_TRUE(window.Form1().DiskImageBuffer() == before);
}

TEST(NameDialog, RenamesTheSelectedFileWithinTenSamCharacters) {
  MainWindow window;
  window.CreateDialogs();
  window.Form1().LoadName = SampleImage();
  window.Form1().LoadDiskImage();
  HWND list = window.Parts().ListView1;
  SelectRow(list, 1);
  const TOKBottomDlg2& dialog = *window.OKBottomDlg2();
  {
    ModalScript script({[&](HWND modal) {
      EXPECT_EQ(modal, dialog.Handle());
      EXPECT_EQ(TextOf(modal), L"Rename file");
      EXPECT_EQ(TextOf(dialog.Label1), L"Enter new name:");
      EXPECT_EQ(GetFocus(), dialog.Edit1);
      EXPECT_EQ(TextOf(dialog.Edit1), L"game.bin");
      EXPECT_EQ(SendMessageW(dialog.Edit1, EM_GETLIMITTEXT, 0, 0), 10);
      // Typing replaces the selected name; a character no SAM name holds is refused.
      Type(dialog.Edit1, L"caf\u00e9\u0142 name is long");
      PressKey(dialog.Edit1, VK_RETURN);
    }});
    Choose(window, MenuItem::RenameFile1);
  }
  EXPECT_EQ(CellText(list, 1, 1), L"caf\u00e9 name");
  EXPECT_TRUE(window.Form1().ImageModified);

  // Cancel, the close box: nothing changes.
  for (const auto close : {+[](HWND modal) { Press(modal, IDCANCEL); },
                           +[](HWND modal) { PostMessageW(modal, WM_CLOSE, 0, 0); }}) {
    ModalScript script({[close](HWND modal) {
      SetWindowTextW(GetDlgItem(modal, 100), L"other");
      close(modal);
    }});
    Choose(window, MenuItem::RenameFile1);
  }
  EXPECT_EQ(CellText(list, 1, 1), L"caf\u00e9 name");
}

TEST(AboutBox, IsShownModallyAndClosedByOk) {
  MainWindow window;
  bool shown = false;
  {
    ModalScript script({[&](HWND box) {
      EXPECT_EQ(TextOf(box), L"About");
      EXPECT_FALSE(IsWindowEnabled(window.Handle()));
      EXPECT_EQ(TextOf(GetDlgItem(box, IDOK)), L"&OK");
      shown = true;
      PressKey(GetFocus(), VK_RETURN);
    }});
    Choose(window, MenuItem::about1);
  }
  EXPECT_TRUE(shown);
  EXPECT_TRUE(IsWindowEnabled(window.Handle()));
}

}  // namespace
}  // namespace vellonix::ui::win
