#include "vellonix/ui/main_menu.hpp"

#include <array>

namespace vellonix::ui {

namespace {

constexpr ShortcutKey kNone{};
constexpr ShortcutKey Ctrl(std::string_view key) { return {true, key}; }

constexpr std::array<MenuEntry, 19> kTable{{
    {TopMenu::File1, MenuItem::Opendiskimage1, "&Open diskimage", Ctrl("O"), true},
    {TopMenu::File1, MenuItem::Importdiskimage1, "Import diskimage...", Ctrl("I"), true},
    {TopMenu::File1, MenuItem::Savediskimage1, "&Save diskimage", Ctrl("S"), false},
    {TopMenu::File1, MenuItem::Savediskimageas1, "Save diskimage &as ...", {false, "F12"}, false},
    {TopMenu::File1, MenuItem::Newdiskimage1, "&New diskimage", Ctrl("N"), true},
    {TopMenu::File1, MenuItem::Changediskname1, "&Change diskname", Ctrl("C"), false},
    {TopMenu::File1, MenuItem::Exit1, nullptr, kNone, true},  // N1
    {TopMenu::File1, MenuItem::ExtractFile1, "&Extract File", Ctrl("E"), false},
    {TopMenu::File1, MenuItem::ViewFile1, "&View File", Ctrl("V"), false},
    {TopMenu::File1, MenuItem::AddFile1, "&Add File", Ctrl("A"), false},
    {TopMenu::File1, MenuItem::RenameFile1, "&Rename File", Ctrl("R"), false},
    {TopMenu::File1, MenuItem::DeleteFile1, "&Delete File", {false, "Del"}, false},
    {TopMenu::File1, MenuItem::Exit1, nullptr, kNone, true},  // N2
    {TopMenu::File1, MenuItem::Exit1, "E&xit", kNone, true},
    {TopMenu::SAMdisk1, MenuItem::LOAD1, "&Load", kNone, true},
    {TopMenu::SAMdisk1, MenuItem::Save1, "&Save", kNone, true},
    {TopMenu::SAMdisk1, MenuItem::Format1, "&Format", kNone, true, /*Visible=*/false},
    {TopMenu::Options1, MenuItem::Options1, "&Options", kNone, true},
    {TopMenu::about1, MenuItem::about1, "&About", kNone, true},
}};

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

std::span<const MenuEntry> MainMenuTable() { return kTable; }

MenuCommand CommandOf(MenuItem item) {
  switch (item) {
    case MenuItem::Opendiskimage1: return &TForm1::Opendiskimage1Click;
    case MenuItem::Importdiskimage1: return &TForm1::Importdiskimage1Click;
    case MenuItem::Savediskimage1: return &TForm1::Savediskimage1Click;
    case MenuItem::Savediskimageas1: return &TForm1::Savediskimageas1Click;
    case MenuItem::Newdiskimage1: return &TForm1::Newdiskimage1Click;
    case MenuItem::Changediskname1: return &TForm1::Changediskname1Click;
    case MenuItem::ExtractFile1: return &TForm1::ExtractFile1Click;
    case MenuItem::AddFile1: return &TForm1::AddFile1Click;
    case MenuItem::RenameFile1: return &TForm1::RenameFile1Click;
    case MenuItem::DeleteFile1: return &TForm1::DeleteFile1Click;
    case MenuItem::ViewFile1: return &TForm1::ViewFile1Click;
    case MenuItem::Exit1: return &TForm1::Exit1Click;
    case MenuItem::LOAD1: return &TForm1::LOAD1Click;
    case MenuItem::Save1: return &TForm1::Save1Click;
    case MenuItem::Options1: return &TForm1::Options1Click;
    case MenuItem::about1: return &TForm1::about1Click;
    case MenuItem::Format1: return nullptr;
  }
  return nullptr;
}

}  // namespace vellonix::ui
