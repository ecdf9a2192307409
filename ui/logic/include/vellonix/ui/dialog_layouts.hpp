// The base layouts of the program's own windows besides the main one: the
// client size, each control's place (relative to the window, or to its
// group where said) and the captions, in pixels for an 8-point dialog font
// on a 96-dpi screen. Each front-end builds its widgets from these.
#pragma once

#include <array>
#include <string>

#include "vellonix/integration/shell_integration.hpp"
#include "vellonix/ui/window_layout.hpp"

namespace vellonix::ui {

inline constexpr const char* kOkCaption = "&OK";
inline constexpr const char* kCancelCaption = "&Cancel";
inline constexpr Size kButtonSize{75, 25};

// TOKBottomDlg1, the New diskimage dialog.
namespace newdisk_layout {
inline constexpr const char* kCaption = "New diskimage";
inline constexpr Size kClient{274, 181};
inline constexpr Rect kRadioGroup3{8, 8, 257, 73};
inline constexpr const char* kRadioGroup3Caption = "Disk format";
inline constexpr std::array<const char*, 3> kRadioItems{"SAM-DOS format (no disk name)",
                                                        "MasterDOS format (10 character disk name)",
                                                        "B-DOS format (16 character disk name)"};
// Item `item` inside RadioGroup3, with room for the longest caption.
inline constexpr Rect RadioItem(int item) { return {6, 16 + item * 17, 250, 17}; }
inline constexpr Rect kGroupBox1{8, 88, 257, 49};
inline constexpr const char* kGroupBox1Caption = "Disk name";
inline constexpr Rect kEdit1{16, 16, 225, 21};  // inside GroupBox1
inline constexpr Rect kOKBtn{55, 148, kButtonSize.Width, kButtonSize.Height};
inline constexpr Rect kCancelBtn{143, 148, kButtonSize.Width, kButtonSize.Height};
}  // namespace newdisk_layout

// TOKBottomDlg2, the name dialog; each caller sets its caption.
namespace rename_layout {
inline constexpr const char* kCaption = "Change disk name";  // until a caller sets its own
inline constexpr Size kClient{234, 124};
inline constexpr Rect kBevel1{8, 8, 217, 73};
inline constexpr Rect kLabel1{24, 16, 185, 16};  // the label sizes itself to its text from 24, 16
inline constexpr const char* kLabel1Caption = "Enter new name:";
inline constexpr Rect kEdit1{24, 40, 185, 21};
inline constexpr Rect kOKBtn{39, 92, kButtonSize.Width, kButtonSize.Height};
inline constexpr Rect kCancelBtn{119, 92, kButtonSize.Width, kButtonSize.Height};
}  // namespace rename_layout

// TOKBottomDlg, the Options dialog.
namespace options_layout {
inline constexpr const char* kCaption = "Options";
inline constexpr Size kClient{257, 168};
inline constexpr Rect kGroupBox1{8, 8, 89, 121};
inline constexpr const char* kGroupBox1Caption = "Assosiations";
inline constexpr Rect kCheckBox1{10, 18, 70, 17};  // inside GroupBox1, as the rest of its controls
inline constexpr const char* kCheckBox1Caption = "MGT";
inline constexpr Rect kCheckBox2{10, 38, 70, 17};
inline constexpr const char* kCheckBox2Caption = "SAD";
inline constexpr int kIconSize = 32;
inline constexpr Rect kImage1{14, 70, kIconSize, kIconSize};
inline constexpr Rect kSpinUp{54, 70, 15, kIconSize / 2};  // SpinButton1, right of the icon
inline constexpr Rect kSpinDown{54, 70 + kIconSize / 2, 15, kIconSize / 2};
inline constexpr Rect kGroupBox2{104, 8, 145, 121};
inline constexpr const char* kGroupBox2Caption = "Accessibility";
// CheckBox3 to CheckBox7 inside GroupBox2, top to bottom.
inline constexpr Rect ShortcutBox(integration::Shortcut shortcut) {
  return {10, 18 + static_cast<int>(integration::Index(shortcut)) * 20, 130, 17};
}
inline constexpr Rect kOKBtn{92, 136, kButtonSize.Width, kButtonSize.Height};
inline constexpr Rect kCancelBtn{174, 136, kButtonSize.Width, kButtonSize.Height};
}  // namespace options_layout

// TForm2, the progress window; its caption comes with each transfer.
namespace progbar_layout {
inline constexpr Size kClient{229, 73};
inline constexpr Rect kProgressBar1{16, 24, 193, 25};
}  // namespace progbar_layout

// TAboutBox.
namespace about_layout {
inline constexpr const char* kCaption = "About";
inline constexpr Size kClient{247, 189};
inline constexpr Rect kPanel{8, 8, 231, 137};
inline constexpr Rect kPicture{8, 8, 64, 64};  // inside the panel, as the labels
inline constexpr Rect kProductName{80, 12, 143, 20};
inline constexpr Rect kVersion{80, 36, 143, 16};
inline constexpr Rect kComments{8, 80, 215, 48};
inline constexpr const char* kCommentsText =
    "Opens, lists and changes SAM Coup\u00e9 floppy disk images in MGT and SAD form.";
inline constexpr Rect kOKButton{86, 156, kButtonSize.Width, kButtonSize.Height};
}  // namespace about_layout

// The About box's Version label: "Version " and the program's version.
std::string AboutVersionText();

}  // namespace vellonix::ui
