#include "options.hpp"

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <utility>

#include "vellonix/ui/dialog_layouts.hpp"

namespace vellonix::ui::win {

namespace {

namespace layout = options_layout;
constexpr int kCheckBox1 = 101;
constexpr int kCheckBox2 = 102;
constexpr int kFirstShortcutBox = 103;
constexpr int kSpinButton1Id = 110;

bool Ticked(HWND box) { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }
void Tick(HWND box, bool ticked) { SendMessageW(box, BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0); }

// SpinButton1 covers the up and the down button's places.
constexpr Rect kSpinButton1{layout::kSpinUp.Left, layout::kSpinUp.Top, layout::kSpinUp.Width,
                            layout::kSpinDown.Top + layout::kSpinDown.Height - layout::kSpinUp.Top};

}  // namespace

TOKBottomDlg::TOKBottomDlg(OptionsDialogModel& model, HWND owner, std::wstring programFile)
    : Dialog(owner, layout::kClient, layout::kCaption), model_(model), programFile_(std::move(programFile)) {
  const auto box = [this](const char* caption, int id, const Rect& place, DWORD group) {
    return Add(L"BUTTON", caption, BS_AUTOCHECKBOX | WS_TABSTOP | group, id, place, ControlKind::Choice);
  };
  GroupBox1 = Add(L"BUTTON", layout::kGroupBox1Caption, BS_GROUPBOX, -1, layout::kGroupBox1, ControlKind::GroupBox);
  CheckBox1 = box(layout::kCheckBox1Caption, kCheckBox1, Inside(layout::kGroupBox1, layout::kCheckBox1), WS_GROUP);
  CheckBox2 = box(layout::kCheckBox2Caption, kCheckBox2, Inside(layout::kGroupBox1, layout::kCheckBox2), 0);
  Image1 = Add(L"STATIC", "", SS_ICON | SS_CENTERIMAGE, -1, Inside(layout::kGroupBox1, layout::kImage1),
               ControlKind::Other);
  // The arrows only report a press: the model keeps the index and its ends.
  SpinButton1 = Add(UPDOWN_CLASSW, "", 0, kSpinButton1Id, Inside(layout::kGroupBox1, kSpinButton1), ControlKind::Other);
  SendMessageW(SpinButton1, UDM_SETRANGE32, static_cast<WPARAM>(-1000), 1000);
  GroupBox2 = Add(L"BUTTON", layout::kGroupBox2Caption, BS_GROUPBOX | WS_GROUP, -1, layout::kGroupBox2,
                  ControlKind::GroupBox);
  for (const integration::Shortcut shortcut : integration::kShortcuts) {
    const std::size_t index = integration::Index(shortcut);
    ShortcutBoxes[index] = box(integration::ShortcutCaption(shortcut), kFirstShortcutBox + static_cast<int>(index),
                               Inside(layout::kGroupBox2, layout::ShortcutBox(shortcut)), index == 0 ? WS_GROUP : 0);
  }
  AddOkCancel(layout::kOKBtn, layout::kCancelBtn);
  model_.OnShowSelectedIcon = [this](std::uint16_t iconIndex) { ShowSelectedIcon(iconIndex); };
}

TOKBottomDlg::~TOKBottomDlg() {
  model_.OnShowSelectedIcon = nullptr;
  if (icon_ != nullptr) DestroyIcon(icon_);
}

void TOKBottomDlg::ShowSelectedIcon(std::uint16_t iconIndex) {
  shownIcon_ = std::min<std::uint16_t>(iconIndex, integration::kIconCount - 1);
  RECT place{};
  GetClientRect(Image1, &place);
  const int size = std::max(1, static_cast<int>(std::min(place.right, place.bottom)));
  HICON icon = nullptr;
  if (FAILED(SHDefExtractIconW(programFile_.c_str(), shownIcon_, 0, &icon, nullptr, MAKELONG(size, size))))
    icon = nullptr;
  SendMessageW(Image1, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
  if (icon_ != nullptr) DestroyIcon(icon_);
  icon_ = icon;
}

void TOKBottomDlg::OnLaidOut(UINT) { ShowSelectedIcon(shownIcon_); }

LRESULT TOKBottomDlg::OnNotify(const NMHDR& header) {
  if (header.idFrom != kSpinButton1Id || header.code != UDN_DELTAPOS) return 0;
  // Up goes towards icon 0, down towards the last.
  if (reinterpret_cast<const NMUPDOWN&>(header).iDelta > 0) {
    model_.SpinButton1UpClick();
  } else {
    model_.SpinButton1DownClick();
  }
  return TRUE;  // the control's own position stays where it is
}

void TOKBottomDlg::ShowModel() {
  const integration::IntegrationState& state = model_.State;
  Tick(CheckBox1, state.Mgt);
  Tick(CheckBox2, state.Sad);
  for (std::size_t box = 0; box < ShortcutBoxes.size(); ++box) {
    EnableWindow(ShortcutBoxes[box], state.Available[box]);
    Tick(ShortcutBoxes[box], state.Shortcuts[box]);
  }
}

bool TOKBottomDlg::OnOk() {
  integration::IntegrationState& state = model_.State;
  state.Mgt = Ticked(CheckBox1);
  state.Sad = Ticked(CheckBox2);
  for (std::size_t box = 0; box < ShortcutBoxes.size(); ++box)
    if (state.Available[box]) state.Shortcuts[box] = Ticked(ShortcutBoxes[box]);
  return true;
}

DialogResult TOKBottomDlg::Execute() {
  ShowModel();
  return RunModal();
}

}  // namespace vellonix::ui::win
