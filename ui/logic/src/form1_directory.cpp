// TForm1: the list, the menu states and the status bar after a scan.
#include "vellonix/core/list_row.hpp"
#include "vellonix/core/status_bar.hpp"
#include "vellonix/core/text.hpp"
#include "vellonix/ui/form1.hpp"

namespace vellonix::ui {

void TForm1::InitDiskImage() {
  ImageModified = false;
  for (const MenuItem item : {MenuItem::Savediskimage1, MenuItem::Savediskimageas1, MenuItem::Changediskname1,
                              MenuItem::AddFile1}) {
    ui_.SetMenuEnabled(item, ImageLoaded);
  }
  ui_.ClearRows();
  for (const MenuItem item : {MenuItem::ExtractFile1, MenuItem::ViewFile1, MenuItem::RenameFile1,
                              MenuItem::DeleteFile1}) {
    ui_.SetMenuEnabled(item, false);
  }
  core::ResetListing(directory_);
  ShowTitle();
  // Without an image the DOS, slot count and status bar keep what they held.
  if (!ImageLoaded) return;

  core::ScanDirectory(*diskImageBuffer_, directory_, [this](int slot) { AddDirEntry(slot, ui_.AppendRow()); });
  ui_.SelectFirstRow();
  ListView1SelectItem();
  UpdateStatusBar();
}

void TForm1::AddDirEntry(int slot, int row) {
  for (const MenuItem item : {MenuItem::ExtractFile1, MenuItem::RenameFile1, MenuItem::DeleteFile1}) {
    ui_.SetMenuEnabled(item, true);
  }
  const core::ListRow decoded = core::DecodeRow(*diskImageBuffer_, slot);
  ui_.SetRowCaption(row, decoded.Caption);
  ui_.SetRowIcon(row, decoded.RowIcon);
  if (decoded.Corrupted) ++directory_.CorruptedCount;
  for (int subItem = 0; subItem < kSubItems; ++subItem) {
    ui_.SetSubItem(row, subItem, core::Latin1ToUtf8(decoded.SubItems[static_cast<std::size_t>(subItem)]));
  }
  ui_.SetSubItemIcon(row, decoded.NameIcon);
}

void TForm1::UpdateStatusBar() {
  const core::StatusTexts panels = core::ComposeStatusBar(*diskImageBuffer_, directory_);
  for (int panel = 0; panel < kStatusPanels; ++panel) {
    ui_.SetStatusPanel(panel, core::Latin1ToUtf8(panels[static_cast<std::size_t>(panel)]));
  }
}

}  // namespace vellonix::ui
