// View File and Import in the Windows program: the list's selection
// switching the command, the ways a viewer opens, what it holds, paints
// and puts on the clipboard, and an image imported through the file dialog.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "scratch_dir.hpp"
#include "vellonix/core/container.hpp"
#include "vellonix/core/image_file.hpp"
#include "viewer.hpp"
#include "window_driver.hpp"

namespace vellonix::ui::win {
namespace {

using namespace testing;

// The sample's loader (row 0), a Code file (row 2) and its title picture.
constexpr int kLoaderRow = 0;
constexpr int kLibraryRow = 2;
constexpr int kTitleRow = 4;
constexpr int kTitleSlot = 4;

HWND OpenViewer() { return FindWindowW(kViewerClass, nullptr); }

HWND ChildOfClass(HWND window, const wchar_t* windowClass) {
  return FindWindowExW(window, nullptr, windowClass, nullptr);
}

std::vector<std::uint8_t> ClipboardBytes(UINT format) {
  std::vector<std::uint8_t> bytes;
  if (!OpenClipboard(nullptr)) return bytes;
  if (HANDLE data = GetClipboardData(format)) {
    const auto* start = static_cast<const std::uint8_t*>(GlobalLock(data));
    bytes.assign(start, start + GlobalSize(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return bytes;
}

std::wstring ClipboardText() {
  const std::vector<std::uint8_t> bytes = ClipboardBytes(CF_UNICODETEXT);
  std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
  return text.substr(0, text.find(L'\0'));
}

class Win32Viewer : public ::testing::Test {
 protected:
  Win32Viewer() {
    window.Form1().LoadName = SampleImage();
    window.Form1().LoadDiskImage();
  }
  ~Win32Viewer() override {
    while (HWND viewer = OpenViewer()) DestroyWindow(viewer);
  }
  FileView ExpectedView(int slot) { return ViewOfFile(window.Form1().DiskImageBuffer(), slot); }

  MainWindow window;
  HWND list = window.Parts().ListView1;
};

TEST_F(Win32Viewer, TheCommandFollowsTheListsSelection) {
  EXPECT_TRUE(MenuEnabled(window, MenuItem::ViewFile1));
  LVITEMW none{};
  none.stateMask = LVIS_SELECTED;
  SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
  EXPECT_FALSE(MenuEnabled(window, MenuItem::ViewFile1));
  SelectRow(list, kTitleRow);
  EXPECT_TRUE(MenuEnabled(window, MenuItem::ViewFile1));
}

TEST_F(Win32Viewer, DoubleClickEnterAndTheMenuOpenAViewerOnTheSelectedFile) {
  const struct {
    const char* How;
    int Row;
    std::function<void()> Open;
    const wchar_t* Caption;
  } ways[] = {
      {"menu", kLoaderRow, [this] { Choose(window, MenuItem::ViewFile1); }, L"loader (File # 1)"},
      {"double click", kTitleRow,
       [this] {
         RECT cell{};
         cell.left = LVIR_BOUNDS;
         SendMessageW(list, LVM_GETITEMRECT, kTitleRow, reinterpret_cast<LPARAM>(&cell));
         const LPARAM at = MAKELPARAM((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
         SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
         SendMessageW(list, WM_LBUTTONUP, 0, at);
         SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
         SendMessageW(list, WM_LBUTTONUP, 0, at);
       },
       L"title.scr (File # 5)"},
      {"Enter", kLibraryRow, [this] { SendMessageW(list, WM_KEYDOWN, VK_RETURN, 1); }, L"library (File # 3)"},
  };
  for (const auto& way : ways) {
    SCOPED_TRACE(way.How);
    SelectRow(list, way.Row);
    way.Open();
    RunPendingMessages();
    const HWND viewer = OpenViewer();
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(TextOf(viewer), way.Caption);
    EXPECT_EQ(GetWindow(viewer, GW_OWNER), window.Handle());
    // Text in an edit for a listing or a dump; a picture has none.
    const FileView expected = ExpectedView(way.Row);  // the sample's rows are its slots
    const HWND text = ChildOfClass(viewer, L"EDIT");
    if (expected.Kind == FileViewKind::Picture) {
      EXPECT_EQ(text, nullptr);
    } else {
      ASSERT_NE(text, nullptr);
      EXPECT_EQ(TextOf(text), Wide(expected.Text("\r\n")));
    }
    DestroyWindow(viewer);
  }
}

TEST_F(Win32Viewer, TheListingIsCopiedWholeOrAsSelectedAndEscCloses) {
  Choose(window, MenuItem::ViewFile1);
  const HWND viewer = OpenViewer();
  ASSERT_NE(viewer, nullptr);
  const HWND text = ChildOfClass(viewer, L"EDIT");
  ASSERT_NE(text, nullptr);
  const std::wstring listing = Wide(ExpectedView(0).Text("\r\n"));
  EXPECT_EQ(ChildOfClass(viewer, L"STATIC"), nullptr);  // nothing to note
  // Columns of a listing or a dump line up only in a fixed-pitch font.
  HDC dc = GetDC(text);
  HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(text, WM_GETFONT, 0, 0)));
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, previous);
  ReleaseDC(text, dc);
  EXPECT_EQ(metrics.tmPitchAndFamily & TMPF_FIXED_PITCH, 0) << "a proportional font";  // the bit means variable

  SendMessageW(text, WM_CHAR, 3, 1);  // Ctrl+C
  EXPECT_EQ(ClipboardText(), listing);
  const auto firstLine = static_cast<LPARAM>(listing.find(L"\r\n"));
  SendMessageW(text, EM_SETSEL, 0, firstLine);
  SendMessageW(text, WM_CHAR, 3, 1);
  EXPECT_EQ(ClipboardText(), L"   10 REM Vellonix sample disk");

  // The widest line fits without scrolling sideways.
  SCROLLINFO scroll{};
  scroll.cbSize = sizeof scroll;
  scroll.fMask = SIF_RANGE | SIF_PAGE;
  if (GetScrollInfo(text, SB_HORZ, &scroll)) {
    EXPECT_LE(scroll.nMax - scroll.nMin + 1, static_cast<int>(scroll.nPage));
  }

  SendMessageW(text, WM_CHAR, VK_ESCAPE, 1);
  RunPendingMessages();
  EXPECT_FALSE(IsWindow(viewer));
}

TEST_F(Win32Viewer, ThePictureIsPaintedAndCopiedPixelForPixel) {
  SelectRow(list, kTitleRow);
  Choose(window, MenuItem::ViewFile1);
  const HWND viewer = OpenViewer();
  ASSERT_NE(viewer, nullptr);
  const FileView expected = ExpectedView(kTitleSlot);
  const UINT dpi = GetDpiForWindow(viewer);
  RECT client{};
  GetClientRect(viewer, &client);
  EXPECT_EQ(client.right, ForDpi(512, dpi));
  EXPECT_EQ(client.bottom, ForDpi(384, dpi));

  // What the window paints, each picture pixel a block of the screen's.
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  SendMessageW(viewer, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
  for (const POINT at : {POINT{0, 0}, POINT{256, 200}, POINT{511, 383}}) {
    const formats::Rgb pixel = expected.Picture.At(at.x, at.y);
    const int x = ForDpi(at.x, dpi) + ForDpi(1, dpi) / 2;
    const int y = ForDpi(at.y, dpi) + ForDpi(1, dpi) / 2;
    EXPECT_EQ(GetPixel(memory, x, y), RGB(pixel.R, pixel.G, pixel.B)) << at.x << "," << at.y;
  }
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);

  SendMessageW(viewer, WM_CHAR, 3, 1);  // Ctrl+C
  const std::vector<std::uint8_t> dib = PackedDib(expected.Picture);
  const std::vector<std::uint8_t> copied = ClipboardBytes(CF_DIB);
  ASSERT_GE(copied.size(), dib.size());
  EXPECT_TRUE(std::equal(dib.begin(), dib.end(), copied.begin()));
  // Rows from the bottom up, blue first.
  const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(dib.data());
  EXPECT_EQ(header->biWidth, 512);
  EXPECT_EQ(header->biHeight, 384);
  const formats::Rgb topLeft = expected.Picture.At(0, 0);
  const std::size_t lastRow = sizeof *header + 512 * 3 * 383;
  EXPECT_EQ(dib[lastRow], topLeft.B);
  EXPECT_EQ(dib[lastRow + 2], topLeft.R);
}

TEST(Win32Import, ARawImageUnderADskNameOpensAsAnUnsavedDocument) {
  const vellonix::testing::ScratchDir dir;
  const std::string path = dir.File("game.dsk");
  const auto disk = std::make_unique<core::DiskImageBuffer>();
  ASSERT_TRUE(core::LoadImageFile(SampleImage(), *disk));
  vellonix::testing::WriteBytes(vellonix::testing::Utf8Path(path), core::EncodeContainer(core::ContainerKind::Mgt, *disk));
  MainWindow window;
  {
    ModalScript script({[&](HWND dialog) {
      EXPECT_EQ(TextOf(dialog), L"Import diskimage");
      ChooseFile(dialog, Wide(path));
    }});
    Choose(window, MenuItem::Importdiskimage1);
  }
  EXPECT_EQ(TextOf(window.Handle()), L"SAM Coup\u00e9 Vellonix - game.mgt");
  EXPECT_TRUE(window.Form1().ImageModified);
  EXPECT_TRUE(window.Form1().ImageUntitled);
  EXPECT_EQ(RowCount(window.Parts().ListView1), 8);
}

}  // namespace
}  // namespace vellonix::ui::win
