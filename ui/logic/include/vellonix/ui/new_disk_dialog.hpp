// The New diskimage dialog's own rules, kept apart from its widgets: the
// chosen format, whether the name box takes text and how much. One instance
// lives for the whole run, so the choice carries over to the next showing.
#pragma once

#include <string>

#include "vellonix/ui/ui_services.hpp"

namespace vellonix::ui {

class NewDiskDialogModel {
 public:
  static constexpr int kNoLengthLimit = 0;

  int RadioGroup3ItemIndex() const { return itemIndex_; }
  bool Edit1Enabled() const { return edit1Enabled_; }
  int Edit1MaxLength() const { return edit1MaxLength_; }  // kNoLengthLimit until a format is picked

  // The name box's text, UTF-8; the widgets keep it within Edit1MaxLength.
  std::string Edit1Text;

  // The user picks format `item` (0 SAM-DOS, 1 MasterDOS, 2 B-DOS).
  void RadioGroup3Click(int item);

  // Clears the name and shows the dialog; true when it was closed with OK.
  bool ExecuteNewDiskDialog(UiServices& ui);

 private:
  int itemIndex_ = 0;
  bool edit1Enabled_ = false;
  int edit1MaxLength_ = kNoLengthLimit;
};

}  // namespace vellonix::ui
