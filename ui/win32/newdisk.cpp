#include "newdisk.hpp"

#include "host_text.hpp"
#include "vellonix/ui/dialog_layouts.hpp"

namespace vellonix::ui::win {

namespace {

namespace layout = newdisk_layout;
constexpr int kFirstRadio = 100;
constexpr int kEdit1 = 110;

}  // namespace

TOKBottomDlg1::TOKBottomDlg1(NewDiskDialogModel& model, HWND owner)
    : Dialog(owner, layout::kClient, layout::kCaption), model_(model) {
  // In tab order: the radio group, the name box, OK, Cancel.
  RadioGroup3 =
      Add(L"BUTTON", layout::kRadioGroup3Caption, BS_GROUPBOX, -1, layout::kRadioGroup3, ControlKind::GroupBox);
  for (std::size_t item = 0; item < RadioGroup3Items.size(); ++item) {
    const DWORD first = item == 0 ? WS_GROUP : 0;
    RadioGroup3Items[item] =
        Add(L"BUTTON", layout::kRadioItems[item], BS_AUTORADIOBUTTON | first, kFirstRadio + static_cast<int>(item),
            Inside(layout::kRadioGroup3, layout::RadioItem(static_cast<int>(item))), ControlKind::Choice);
  }
  GroupBox1 = Add(L"BUTTON", layout::kGroupBox1Caption, BS_GROUPBOX | WS_GROUP, -1, layout::kGroupBox1,
                  ControlKind::GroupBox);
  Edit1 = Add(L"EDIT", "", WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL, kEdit1, Inside(layout::kGroupBox1, layout::kEdit1),
              ControlKind::Edit, WS_EX_CLIENTEDGE);
  AcceptSamNameOnly(Edit1);
  AddOkCancel(layout::kOKBtn, layout::kCancelBtn);
  ShowModel();
}

void TOKBottomDlg1::ShowModel() {
  for (std::size_t item = 0; item < RadioGroup3Items.size(); ++item) {
    const bool chosen = static_cast<int>(item) == model_.RadioGroup3ItemIndex();
    SendMessageW(RadioGroup3Items[item], BM_SETCHECK, chosen ? BST_CHECKED : BST_UNCHECKED, 0);
    // Tab comes into the group at the chosen format, from either side.
    const LONG_PTR style = GetWindowLongPtrW(RadioGroup3Items[item], GWL_STYLE);
    SetWindowLongPtrW(RadioGroup3Items[item], GWL_STYLE, chosen ? style | WS_TABSTOP : style & ~WS_TABSTOP);
  }
  EnableWindow(Edit1, model_.Edit1Enabled());
  const int limit = model_.Edit1MaxLength();
  SendMessageW(Edit1, EM_SETLIMITTEXT, limit == NewDiskDialogModel::kNoLengthLimit ? 0 : limit, 0);
  SetWindowTextW(Edit1, Wide(model_.Edit1Text).c_str());
}

void TOKBottomDlg1::OnCommand(int id, int code) {
  const int item = id - kFirstRadio;
  if (code != BN_CLICKED || item < 0 || item >= static_cast<int>(RadioGroup3Items.size())) return;
  model_.RadioGroup3Click(item);
  ShowModel();
}

HWND TOKBottomDlg1::InitialFocus() {
  return RadioGroup3Items[static_cast<std::size_t>(model_.RadioGroup3ItemIndex())];
}

bool TOKBottomDlg1::OnOk() {
  model_.Edit1Text = EditText(Edit1);
  return true;
}

DialogResult TOKBottomDlg1::Execute() {
  ShowModel();
  return RunModal();
}

}  // namespace vellonix::ui::win
