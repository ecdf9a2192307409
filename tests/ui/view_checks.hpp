// The check every suite that changes the image ends with: the view the form
// keeps in step must be the one a fresh scan of the same bytes would give.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "scripted_ui.hpp"
#include "vellonix/core/listing.hpp"
#include "vellonix/core/text.hpp"
#include "vellonix/ui/form1.hpp"

namespace vellonix::ui::testing {

// The rows, icons, panels and directory state must be what the core's own
// listing of the same bytes gives, with SAM bytes shown as Latin-1.
inline void ExpectViewMatchesListing(const ScriptedUi& ui, const TForm1& form) {
  const core::DirectoryListing listing = core::ListDirectory(form.DiskImageBuffer());
  ASSERT_EQ(ui.Rows().size(), listing.Rows.size());
  for (std::size_t i = 0; i < listing.Rows.size(); ++i) {
    SCOPED_TRACE("row " + std::to_string(i));
    const core::ListRow& expected = listing.Rows[i];
    const ScriptedRow& shown = ui.Rows()[i];
    EXPECT_EQ(shown.Caption, core::Latin1ToUtf8(expected.Caption));
    for (std::size_t sub = 0; sub < expected.SubItems.size(); ++sub) {
      EXPECT_EQ(shown.SubItems[sub], core::Latin1ToUtf8(expected.SubItems[sub])) << "sub-item " << sub;
    }
    EXPECT_EQ(shown.RowIcon, expected.RowIcon);
    EXPECT_EQ(shown.SubItemIcon, expected.NameIcon);
  }
  for (std::size_t panel = 0; panel < listing.Status.size(); ++panel) {
    EXPECT_EQ(ui.StatusPanels()[panel], core::Latin1ToUtf8(listing.Status[panel])) << "panel " << panel;
  }
  const core::DirectoryState& state = form.Directory();
  EXPECT_EQ(state.DosKind, listing.State.DosKind);
  EXPECT_EQ(state.DirSlotCount, listing.State.DirSlotCount);
  EXPECT_EQ(state.UsedSectors, listing.State.UsedSectors);
  EXPECT_EQ(state.CorruptedCount, listing.State.CorruptedCount);
  EXPECT_EQ(state.ListedSlots, listing.State.ListedSlots);
  EXPECT_EQ(state.DiskNameText, listing.State.DiskNameText);
}

}  // namespace vellonix::ui::testing
