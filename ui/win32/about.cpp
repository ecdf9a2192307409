#include "about.hpp"

#include "image_list.hpp"
#include "resource_ids.h"
#include "vellonix/ui/dialog_layouts.hpp"
#include "vellonix/ui/form1.hpp"

namespace vellonix::ui::win {

namespace {
namespace layout = about_layout;
}

TAboutBox::TAboutBox(HWND owner) : Dialog(owner, layout::kClient, layout::kCaption) {
  const auto inPanel = [](const Rect& place) { return Inside(layout::kPanel, place); };
  ProgramIcon = Add(L"STATIC", "", SS_ICON | SS_CENTERIMAGE, -1, inPanel(layout::kPicture), ControlKind::Other);
  ProductName = Add(L"STATIC", kApplicationTitle, SS_LEFT | SS_NOPREFIX, -1, inPanel(layout::kProductName),
                    ControlKind::Label);
  UseBoldFont(ProductName);
  Version =
      Add(L"STATIC", AboutVersionText(), SS_LEFT | SS_NOPREFIX, -1, inPanel(layout::kVersion), ControlKind::Label);
  Comments = Add(L"STATIC", layout::kCommentsText, SS_LEFT | SS_NOPREFIX, -1, inPanel(layout::kComments),
                 ControlKind::WrappedLabel);
  OKButton = Add(L"BUTTON", kOkCaption, WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK, layout::kOKButton, ControlKind::Button);
  // Beneath what it holds, and painting around it.
  Add(L"STATIC", "", SS_SUNKEN | WS_CLIPSIBLINGS, -1, layout::kPanel, ControlKind::Frame);
}

TAboutBox::~TAboutBox() {
  if (picture_ != nullptr) DestroyIcon(picture_);
}

void TAboutBox::OnLaidOut(UINT) {
  RECT place{};
  GetClientRect(ProgramIcon, &place);
  HICON picture = LoadIconAt(VELLONIX_ICON_ABOUT, static_cast<int>(place.right));
  SendMessageW(ProgramIcon, STM_SETICON, reinterpret_cast<WPARAM>(picture), 0);
  if (picture_ != nullptr) DestroyIcon(picture_);
  picture_ = picture;
}

void ShowAboutBox(HWND owner) {
  TAboutBox box(owner);
  box.RunModal();
}

}  // namespace vellonix::ui::win
