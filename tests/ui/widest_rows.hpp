// What the text-fit suites of both front-ends fill the list with: a row per
// type name, every cell holding one of the widest texts its column can hold
// (the last one where a column has fewer), with the icons rows carry.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>

#include "vellonix/core/list_row.hpp"
#include "vellonix/ui/window_layout.hpp"

namespace vellonix::ui::testing {

// `widest` is the SAM name character widest in the list's font.
inline void AppendWidestRows(UiServices& ui, std::string_view widest) {
  for (std::size_t index = 0; index < core::FileTypeNames.size(); ++index) {
    const int row = ui.AppendRow();
    const auto text = [&](int column) {
      const auto texts = WidestColumnTexts(column, widest);
      return texts[std::min(index, texts.size() - 1)];
    };
    ui.SetRowCaption(row, text(0));
    for (int subItem = 0; subItem < kSubItems; ++subItem) ui.SetSubItem(row, subItem, text(subItem + 1));
    ui.SetRowIcon(row, 2);
    ui.SetSubItemIcon(row, 20);
  }
}

}  // namespace vellonix::ui::testing
