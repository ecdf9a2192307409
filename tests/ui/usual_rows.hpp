// What the text-fit suites of both front-ends fill the list with: a row per
// type name, every cell holding one of the widest texts its column usually
// shows (the last one where a column has fewer), with the icons rows carry.
#pragma once

#include <algorithm>
#include <string>

#include "vellonix/ui/window_layout.hpp"

namespace vellonix::ui::testing {

inline void AppendUsualRows(UiServices& ui) {
  for (std::size_t index = 0; index < UsualColumnTexts(3).size(); ++index) {
    const int row = ui.AppendRow();
    const auto text = [index](int column) {
      const auto texts = UsualColumnTexts(column);
      return std::string(texts[std::min(index, texts.size() - 1)]);
    };
    ui.SetRowCaption(row, text(0));
    for (int subItem = 0; subItem < kSubItems; ++subItem) ui.SetSubItem(row, subItem, text(subItem + 1));
    ui.SetRowIcon(row, 2);
    ui.SetSubItemIcon(row, 20);
  }
}

}  // namespace vellonix::ui::testing
