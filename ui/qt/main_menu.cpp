#include "main_menu.hpp"

#include <array>

namespace vellonix::ui::qt {

namespace {

const QKeySequence kNone;

const std::array<MenuEntry, 18>& Table() {
  static const std::array<MenuEntry, 18> table{{
      {TopMenu::File1, MenuItem::Opendiskimage1, "&Open diskimage", QKeySequence(Qt::CTRL | Qt::Key_O), true},
      {TopMenu::File1, MenuItem::Savediskimage1, "&Save diskimage", QKeySequence(Qt::CTRL | Qt::Key_S), false},
      {TopMenu::File1, MenuItem::Savediskimageas1, "Save diskimage &as ...", QKeySequence(Qt::Key_F12), false},
      {TopMenu::File1, MenuItem::Newdiskimage1, "&New diskimage", QKeySequence(Qt::CTRL | Qt::Key_N), true},
      {TopMenu::File1, MenuItem::Changediskname1, "&Change diskname", QKeySequence(Qt::CTRL | Qt::Key_C), false},
      {TopMenu::File1, MenuItem::Exit1, nullptr, kNone, true},  // N1
      {TopMenu::File1, MenuItem::ExtractFile1, "&Extract File", QKeySequence(Qt::CTRL | Qt::Key_E), false},
      {TopMenu::File1, MenuItem::ViewFile1, "&View File", QKeySequence(Qt::CTRL | Qt::Key_V), false},
      {TopMenu::File1, MenuItem::AddFile1, "&Add File", QKeySequence(Qt::CTRL | Qt::Key_A), false},
      {TopMenu::File1, MenuItem::RenameFile1, "&Rename File", QKeySequence(Qt::CTRL | Qt::Key_R), false},
      {TopMenu::File1, MenuItem::DeleteFile1, "&Delete File", QKeySequence(Qt::Key_Delete), false},
      {TopMenu::File1, MenuItem::Exit1, nullptr, kNone, true},  // N2
      {TopMenu::File1, MenuItem::Exit1, "E&xit", kNone, true},
      {TopMenu::SAMdisk1, MenuItem::LOAD1, "&Load", kNone, true},
      {TopMenu::SAMdisk1, MenuItem::Save1, "&Save", kNone, true},
      {TopMenu::SAMdisk1, MenuItem::Format1, "&Format", kNone, true, /*Visible=*/false},
      {TopMenu::Options1, MenuItem::Options1, "&Options", kNone, true},
      {TopMenu::about1, MenuItem::about1, "&About", kNone, true},
  }};
  return table;
}

}  // namespace

const char* TopMenuCaption(TopMenu menu) {
  switch (menu) {
    case TopMenu::File1: return "&File";
    case TopMenu::SAMdisk1: return "&SAM disk";
    case TopMenu::Options1: return "&Options";
    case TopMenu::about1: return "&About";
  }
  return "";
}

std::span<const MenuEntry> MainMenuTable() { return Table(); }

}  // namespace vellonix::ui::qt
