// The main window as built: frame, list, panels and menu, the sample image
// shown as vellonix-cli lists it, and the shortcuts reaching their commands.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

#include "image_list.hpp"
#include "resource_ids.h"

#include "run_program.hpp"
#include "scratch_dir.hpp"
#include "window_driver.hpp"

namespace vellonix::ui::win {
namespace {

using namespace testing;
using vellonix::testing::ScratchDir;

// The pixels `draw` leaves on a `size`-pixel square over a grey ground.
template <typename Draw>
std::vector<std::uint32_t> Drawn(int size, Draw draw) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof info.bmiHeader, size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(dc, bitmap);
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(size * size), 0x00808080);
  std::memcpy(bits, pixels.data(), pixels.size() * 4);
  draw(dc);
  GdiFlush();
  std::memcpy(pixels.data(), bits, pixels.size() * 4);
  SelectObject(dc, previous);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return pixels;
}

// Blending an edge pixel may round a channel the other way.
bool AlikeBarRounding(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    for (int shift = 0; shift < 32; shift += 8)
      if (std::abs(static_cast<int>((a[i] >> shift) & 0xFF) - static_cast<int>((b[i] >> shift) & 0xFF)) > 1) return false;
  return true;
}

// The list takes its icons in one strip where the resources hold the size
// (16-32 pixels) and icon by icon, scaled, where they do not (28): either
// way each must show as its own icon does, the right way up.
TEST(MainWindow, ListIconsShowAsTheIconResourcesAtEverySize) {
  for (const int size : {16, 20, 24, 28, 32}) {
    const ImageList images(size);
    ASSERT_EQ(ImageList_GetImageCount(images.Get()), kImageListCount) << size;
    for (int number = 0; number < kImageListCount; ++number) {
      HICON icon = LoadIconAt(VELLONIX_ICON_LIST_FIRST + number, size);
      ASSERT_NE(icon, nullptr);
      const auto expected = Drawn(size, [&](HDC dc) { DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL); });
      DestroyIcon(icon);
      const auto shown = Drawn(size, [&](HDC dc) { ImageList_Draw(images.Get(), number, dc, 0, 0, ILD_NORMAL); });
      EXPECT_TRUE(AlikeBarRounding(shown, expected)) << "icon " << number << " at " << size << " pixels";
    }
  }
}

TEST(MainWindow, HasTheFixedFrameListColumnsAndPanels) {
  MainWindow window;
  const LONG_PTR style = GetWindowLongPtrW(window.Handle(), GWL_STYLE);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & (WS_MAXIMIZEBOX | WS_THICKFRAME));
  const MainWindowMetrics& metrics = window.Metrics();
  EXPECT_GE(metrics.Scale, static_cast<double>(window.Dpi()) / 96);
  RECT client{};
  GetClientRect(window.Handle(), &client);
  EXPECT_EQ(client.right, metrics.Client.Width);
  EXPECT_GE(client.bottom, metrics.Client.Height);

  HWND list = window.Parts().ListView1;
  EXPECT_EQ(GetWindowLongPtrW(list, GWL_STYLE) & (LVS_TYPEMASK | LVS_SINGLESEL | LVS_EDITLABELS),
            LVS_REPORT | LVS_SINGLESEL);
  EXPECT_TRUE(SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_FULLROWSELECT);
  for (int column = 0; column < kListColumns; ++column) {
    wchar_t caption[64] = L"";
    LVCOLUMNW entry{};
    entry.mask = LVCF_TEXT | LVCF_WIDTH;
    entry.pszText = caption;
    entry.cchTextMax = 64;
    ASSERT_TRUE(SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&entry)));
    EXPECT_EQ(caption, Wide(kColumnCaptions[static_cast<std::size_t>(column)]));
    EXPECT_EQ(entry.cx, metrics.Columns[static_cast<std::size_t>(column)]);
  }
  HWND bar = window.Parts().StatusBar1;
  ASSERT_EQ(SendMessageW(bar, SB_GETPARTS, 0, 0), kStatusPanels);
  for (int panel = 0; panel + 1 < kStatusPanels; ++panel) {
    RECT part{};
    SendMessageW(bar, SB_GETRECT, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(&part));
    EXPECT_EQ(part.right - part.left, metrics.Panels[static_cast<std::size_t>(panel)]) << "panel " << panel;
  }
  RECT last{};
  SendMessageW(bar, SB_GETRECT, kStatusPanels - 1, reinterpret_cast<LPARAM>(&last));
  EXPECT_GE(last.right - last.left, metrics.Panels.back());
}

TEST(MainWindow, MenuFollowsTheTableWithTheStartUpStates) {
  MainWindow window;
  std::vector<std::wstring> seen;
  HMENU bar = window.Parts().MainMenu1;
  for (int top = 0; top < GetMenuItemCount(bar); ++top) {
    wchar_t text[128] = L"";
    GetMenuStringW(bar, static_cast<UINT>(top), text, 128, MF_BYPOSITION);
    seen.emplace_back(text);
    HMENU menu = GetSubMenu(bar, top);
    for (int item = 0; menu != nullptr && item < GetMenuItemCount(menu); ++item) {
      GetMenuStringW(menu, static_cast<UINT>(item), text, 128, MF_BYPOSITION);
      const bool separator = GetMenuState(menu, static_cast<UINT>(item), MF_BYPOSITION) & MF_SEPARATOR;
      seen.emplace_back(separator ? L"-" : text);
    }
  }
  EXPECT_EQ(seen, (std::vector<std::wstring>{
                      L"&File", L"&Open diskimage\tCtrl+O", L"Import diskimage...\tCtrl+I", L"&Save diskimage\tCtrl+S",
                      L"Save diskimage &as ...\tF12", L"&New diskimage\tCtrl+N", L"&Change diskname\tCtrl+C", L"-", L"&Extract File\tCtrl+E",
                      L"&View File\tCtrl+V", L"&Add File\tCtrl+A", L"&Rename File\tCtrl+R", L"&Delete File\tDel",
                      L"-", L"E&xit", L"&SAM disk", L"&Load", L"&Save", L"&Options", L"&About"}));
  for (const MenuEntry& entry : MainMenuTable()) {
    if (entry.Caption == nullptr || !entry.Visible) continue;
    EXPECT_EQ(MenuEnabled(window, entry.Item), entry.Enabled) << entry.Caption;
  }
  EXPECT_EQ(TextOf(window.Handle()), L"SAM Coup\u00e9 Vellonix - No diskimage loaded");
}

// What vellonix-cli (the Windows one of this build) prints for `image`.
nlohmann::json CliListing(const ScratchDir& dir, const std::string& image) {
  const std::string out = dir.File("ls.json");
  vellonix::testing::ProgramStart start;
  start.Program = VELLONIX_CLI_PATH;
  start.Args = {"ls", "--json", image};
  start.Directory = dir.Path();
  start.StdoutPath = vellonix::testing::Utf8Path(out);
  start.StderrPath = dir.Path() / "ls.err";
  EXPECT_EQ(vellonix::testing::RunProgram(start), 0);
  std::ifstream in(vellonix::testing::Utf8Path(out));
  std::stringstream text;
  text << in.rdbuf();
  return nlohmann::json::parse(text.str());
}

TEST(MainWindow, ShowsTheSampleImageAsTheCommandLineToolListsIt) {
  const ScratchDir dir;
  const nlohmann::json listing = CliListing(dir, SampleImage());
  MainWindow window;
  window.Form1().LoadName = SampleImage();
  window.Form1().LoadDiskImage();

  HWND list = window.Parts().ListView1;
  const nlohmann::json& files = listing["files"];
  ASSERT_EQ(RowCount(list), static_cast<int>(files.size()));
  const char* columns[] = {"fileNumber", "name", "size", "type", "details", "date"};
  for (int row = 0; row < RowCount(list); ++row) {
    const nlohmann::json& file = files[static_cast<std::size_t>(row)];
    for (int column = 0; column < kListColumns; ++column)
      EXPECT_EQ(Narrow(CellText(list, row, column)), file[columns[column]].get<std::string>()) << row << "," << column;
    EXPECT_EQ(CellIcon(list, row, 0), file["rowIcon"].get<int>()) << row;
    EXPECT_EQ(CellIcon(list, row, 1), file["nameIcon"].get<int>()) << row;
  }
  for (int panel = 0; panel < kStatusPanels; ++panel)
    EXPECT_EQ(Narrow(PanelText(window.Parts().StatusBar1, panel)), listing["status"][static_cast<std::size_t>(panel)]);
  EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 0);
  EXPECT_EQ(TextOf(window.Handle()), L"SAM Coup\u00e9 Vellonix - sample.mgt");
  // The first row stands selected, so View File is on as well.
  for (const MenuItem item :
       {MenuItem::Savediskimage1, MenuItem::ExtractFile1, MenuItem::DeleteFile1, MenuItem::ViewFile1})
    EXPECT_TRUE(MenuEnabled(window, item));
}

// A key pressed in the list, as the program's message loop hands it on.
bool PressShortcut(const MainWindow& window, WORD key, bool ctrl) {
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_CONTROL] = ctrl ? 0x80 : 0;
  SetKeyboardState(keys);
  MSG message{};
  message.hwnd = window.Parts().ListView1;
  message.message = WM_KEYDOWN;
  message.wParam = key;
  message.lParam = 1;
  const bool translated = window.TranslateShortcut(message);
  keys[VK_CONTROL] = 0;
  SetKeyboardState(keys);
  return translated;
}

TEST(MainWindow, ShortcutsRunTheirCommandsOnlyWhileEnabled) {
  MainWindow window;
  window.CreateDialogs();
  window.Form1().LoadName = SampleImage();
  window.Form1().LoadDiskImage();
  std::vector<std::wstring> titles;
  const auto note = [&titles](HWND modal) {
    titles.push_back(TextOf(modal));
    PostMessageW(modal, WM_COMMAND, titles.back() == L"Confirm" ? IDNO : IDCANCEL, 0);
  };
  const int rows = RowCount(window.Parts().ListView1);
  {
    ModalScript script({note, note, note, note});
    EXPECT_TRUE(PressShortcut(window, 'N', true));
    EXPECT_TRUE(PressShortcut(window, VK_F12, false));
    EXPECT_TRUE(PressShortcut(window, 'R', true));
    EXPECT_TRUE(PressShortcut(window, VK_DELETE, false));
  }
  EXPECT_EQ(titles,
            (std::vector<std::wstring>{L"New diskimage", L"Save diskimage as ...", L"Rename file", L"Confirm"}));
  EXPECT_EQ(RowCount(window.Parts().ListView1), rows);
}

}  // namespace
}  // namespace vellonix::ui::win
