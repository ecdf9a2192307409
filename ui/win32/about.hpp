// TAboutBox: made, shown and destroyed on every use.
#pragma once

#include "dialog_support.hpp"

namespace vellonix::ui::win {

class TAboutBox final : public Dialog {
 public:
  explicit TAboutBox(HWND owner);
  ~TAboutBox() override;

  HWND ProgramIcon = nullptr;
  HWND ProductName = nullptr;
  HWND Version = nullptr;
  HWND Comments = nullptr;
  HWND OKButton = nullptr;

 private:
  HWND InitialFocus() override { return OKButton; }
  void OnLaidOut(UINT dpi) override;

  HICON picture_ = nullptr;
};

// Runs a new About box centred on `owner`.
void ShowAboutBox(HWND owner);

}  // namespace vellonix::ui::win
