// TOKBottomDlg, the Options dialog: controls bound to the dialog's model,
// which reads the system's state before each showing and writes it back
// after OK. Image1 shows the chosen icon as the shell will: read from the
// program's own file by its index.
#pragma once

#include <array>
#include <cstdint>

#include "dialog_support.hpp"
#include "vellonix/ui/options.hpp"

namespace vellonix::ui::win {

class TOKBottomDlg final : public Dialog {
 public:
  // `programFile`: the file whose icons Image1 shows.
  TOKBottomDlg(OptionsDialogModel& model, HWND owner, std::wstring programFile);
  ~TOKBottomDlg() override;

  // Shows the model's boxes, runs modally centred on the owner with the
  // focus on OK, and writes the boxes back to the model on OK.
  DialogResult Execute();
  // The icon Image1 shows, by its index in the program's file.
  std::uint16_t ShownIcon() const { return shownIcon_; }

  HWND GroupBox1 = nullptr;
  HWND CheckBox1 = nullptr;
  HWND CheckBox2 = nullptr;
  HWND Image1 = nullptr;
  HWND SpinButton1 = nullptr;
  HWND GroupBox2 = nullptr;
  std::array<HWND, integration::kShortcutCount> ShortcutBoxes{};  // CheckBox3 to CheckBox7

 private:
  HWND InitialFocus() override { return GetDlgItem(Handle(), IDOK); }
  bool OnOk() override;
  LRESULT OnNotify(const NMHDR& header) override;
  void OnLaidOut(UINT dpi) override;
  void ShowSelectedIcon(std::uint16_t iconIndex);
  void ShowModel();

  OptionsDialogModel& model_;
  std::wstring programFile_;
  std::uint16_t shownIcon_ = integration::kDefaultIconIndex;
  HICON icon_ = nullptr;
};

}  // namespace vellonix::ui::win
