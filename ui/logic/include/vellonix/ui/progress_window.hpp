// TForm2's rules, kept apart from its widgets: the bar's range, start and
// step, and the window the floppy transfers drive through the UI services.
#pragma once

#include <algorithm>
#include <string>

#include "vellonix/physdisk/samdisk.hpp"
#include "vellonix/ui/ui_services.hpp"

namespace vellonix::ui {

inline constexpr const char* kProgressWindowCaption = "Loading SAM disk ...";  // as the form is stored
inline constexpr int kProgressMin = 0;
inline constexpr int kProgressMax = 160;
inline constexpr int kProgressStep = 2;
inline constexpr int kProgressStart = 2;

class ProgressWindow final : public physdisk::TransferProgress {
 public:
  explicit ProgressWindow(UiServices& ui) : ui_(ui) {}

  void Show(const std::string& caption) override {
    caption_ = caption;
    position_ = kProgressStart;
    ui_.ShowProgress(caption_, position_);
  }
  // A bar never goes past its range: after the 79th step it is full.
  void Step() override {
    position_ = std::min(position_ + kProgressStep, kProgressMax);
    ui_.ShowProgress(caption_, position_);
  }
  void Hide() override { ui_.HideProgress(); }

 private:
  UiServices& ui_;
  std::string caption_ = kProgressWindowCaption;
  int position_ = kProgressStart;
};

}  // namespace vellonix::ui
