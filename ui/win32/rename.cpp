#include "rename.hpp"

#include "host_text.hpp"
#include "vellonix/ui/dialog_layouts.hpp"

namespace vellonix::ui::win {

namespace {
namespace layout = rename_layout;
constexpr int kEdit1 = 100;
}  // namespace

TOKBottomDlg2::TOKBottomDlg2(NameDialogModel& model, HWND owner)
    : Dialog(owner, layout::kClient, model.Caption), model_(model) {
  Label1 = Add(L"STATIC", layout::kLabel1Caption, SS_LEFT | SS_NOPREFIX, -1, layout::kLabel1, ControlKind::Label);
  Edit1 = Add(L"EDIT", "", WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL, kEdit1, layout::kEdit1, ControlKind::Edit,
              WS_EX_CLIENTEDGE);
  AcceptSamNameOnly(Edit1);
  AddOkCancel(layout::kOKBtn, layout::kCancelBtn);
  // Last, so that it lies beneath the controls it frames and paints around them.
  Bevel1 = Add(L"STATIC", "", SS_ETCHEDFRAME | WS_CLIPSIBLINGS, -1, layout::kBevel1, ControlKind::Frame);
}

bool TOKBottomDlg2::OnOk() {
  model_.Edit1Text = EditText(Edit1);
  return true;
}

DialogResult TOKBottomDlg2::Execute() {
  SetWindowTextW(Handle(), Wide(model_.Caption).c_str());
  SendMessageW(Edit1, EM_SETLIMITTEXT, static_cast<WPARAM>(model_.Edit1MaxLength), 0);
  SetWindowTextW(Edit1, Wide(model_.Edit1Text).c_str());
  return RunModal();  // the focus moves to the name, all of it selected
}

}  // namespace vellonix::ui::win
