// Every box of text in the main window and the dialogs holds its text, by
// the controls' own measure where they have one (a button's ideal size, a
// column's automatic width, an edit box's formatting rectangle). ctest runs
// these on a 96-dpi screen and again in a Wine prefix set to 144 dpi.
#include <gtest/gtest.h>

#include <cstdlib>

#include "../widest_rows.hpp"
#include "progbar.hpp"
#include "window_driver.hpp"

namespace vellonix::ui::win {
namespace {

using namespace testing;

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = L"";
  GetClassNameW(window, name, 64);
  return name;
}

SIZE TextSize(HWND control, const std::wstring& text, UINT format, int width = 0) {
  HDC dc = GetDC(control);
  HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  RECT rect{0, 0, width, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, DT_CALCRECT | format);
  SelectObject(dc, previous);
  ReleaseDC(control, dc);
  return {rect.right, rect.bottom};
}

void ExpectHoldsItsText(HWND control) {
  const std::wstring text = TextOf(control);
  const std::wstring kind = ClassOf(control);
  RECT box{};
  GetClientRect(control, &box);
  SCOPED_TRACE(Narrow(kind + L" \"" + text + L"\""));
  const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
  if (kind == L"Button") {
    // A button's own measure; a group box has none: its caption and the
    // edges it is drawn between.
    SIZE ideal{};
    const bool group = (style & BS_TYPEMASK) == BS_GROUPBOX;
    if (group || !SendMessageW(control, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal))) {
      ideal = TextSize(control, text, DT_SINGLELINE);
      ideal.cx += 2 * GetSystemMetrics(SM_CXEDGE);
    }
    EXPECT_LE(ideal.cx, box.right);
    EXPECT_LE(ideal.cy, box.bottom);
  } else if (kind == L"Static" && !text.empty()) {
    const SIZE size = TextSize(control, text, DT_WORDBREAK | DT_NOPREFIX, box.right);
    EXPECT_LE(size.cx, box.right);
    EXPECT_LE(size.cy, box.bottom);
  } else if (kind == L"Edit") {
    RECT format{};
    SendMessageW(control, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    EXPECT_GE(format.bottom - format.top, TextSize(control, L"Wg\u00c9", DT_SINGLELINE).cy);
  }
}

void ExpectDialogHoldsItsTexts(HWND dialog) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
    ExpectHoldsItsText(child);
}

void ExpectMainWindowHoldsItsTexts(const MainWindow& window) {
  HWND list = window.Parts().ListView1;
  HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
  for (int column = 0; column < kListColumns; ++column) {
    const auto width = static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
    // The list's own measure of the cells; with the caption, but for the
    // last column, which it would stretch to the list's edge.
    const bool last = column == kListColumns - 1;
    const LPARAM measure = last ? LVSCW_AUTOSIZE : LVSCW_AUTOSIZE_USEHEADER;
    SendMessageW(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), measure);
    EXPECT_LE(SendMessageW(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0), width) << "column " << column;
    SendMessageW(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), width);
    const SIZE caption = TextSize(header, Wide(kColumnCaptions[static_cast<std::size_t>(column)]), DT_SINGLELINE);
    EXPECT_LE(caption.cx + 4 * GetSystemMetrics(SM_CXEDGE), width) << "caption " << column;
  }
  HWND bar = window.Parts().StatusBar1;
  for (int panel = 0; panel < kStatusPanels; ++panel) {
    const std::wstring text = PanelText(bar, panel);
    RECT part{};
    SendMessageW(bar, SB_GETRECT, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(&part));
    const SIZE size = TextSize(bar, text, DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_LE(size.cx + 2 * GetSystemMetrics(SM_CXEDGE), part.right - part.left) << Narrow(text);
    EXPECT_LE(size.cy, part.bottom - part.top) << Narrow(text);
  }
}

// Where ctest asks for a screen of another DPI, the windows must be on one.
TEST(TextFit, TheScreenIsTheOneAskedFor) {
  const char* asked = std::getenv("VELLONIX_TEST_DPI");
  MainWindow window;
  EXPECT_EQ(window.Dpi(), asked != nullptr ? static_cast<UINT>(std::atoi(asked)) : kBaseDpi);
}

// The sample image, then rows and panels of the widest texts they can hold.
void ExpectMainWindowHoldsTheWidestTexts(MainWindow& window) {
  window.Form1().LoadName = SampleImage();
  window.Form1().LoadDiskImage();
  {
    SCOPED_TRACE("sample image");
    ExpectMainWindowHoldsItsTexts(window);
  }
  UiServices& ui = window.Services();
  const auto widestIn = [](HWND control) {
    const TextMeasure measure(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    return WidestNameCharacter([&measure](std::string_view text) { return measure.Width(text); });
  };
  ui::testing::AppendWidestRows(ui, widestIn(window.Parts().ListView1));
  for (int panel = 0; panel < kStatusPanels; ++panel) {
    for (const std::string& text : WidestPanelTexts(panel, widestIn(window.Parts().StatusBar1))) {
      ui.SetStatusPanel(panel, text);
      SCOPED_TRACE(text);
      ExpectMainWindowHoldsItsTexts(window);
    }
  }
}

// Each dialog as a command shows it, and the progress window.
void ExpectEveryDialogHoldsItsTexts(MainWindow& window) {
  window.Form1().LoadName = SampleImage();
  window.Form1().LoadDiskImage();
  std::vector<std::wstring> seen;
  const auto check = [&seen](HWND dialog) {
    seen.push_back(TextOf(dialog));
    ExpectDialogHoldsItsTexts(dialog);
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  };
  for (const MenuItem item : {MenuItem::Newdiskimage1, MenuItem::RenameFile1, MenuItem::Options1, MenuItem::about1}) {
    ModalScript script({check});
    Choose(window, item);
  }
  EXPECT_EQ(seen, (std::vector<std::wstring>{L"New diskimage", L"Rename file", L"Options", L"About"}));

  TForm2& form2 = window.Form2();
  form2.ShowProgress("Saving SAM disk ...", 80);
  ExpectDialogHoldsItsTexts(form2.Handle());
  form2.HideProgress();
}

TEST(TextFit, TheMainWindowHoldsTheSampleAndTheWidestTexts) {
  MainWindow window;
  ExpectMainWindowHoldsTheWidestTexts(window);
}

TEST(TextFit, EveryDialogHoldsItsTexts) {
  MainWindow window;
  window.CreateDialogs();
  ExpectEveryDialogHoldsItsTexts(window);
}

// The system's font growing while the program runs (a larger text size):
// the window fits it at once, the dialogs when they show (grown no more
// than keeps the window within the test screen at 144 dpi). The font is the
// Wine session's: it is changed only in the run of a prefix of its own,
// where no other test runs beside this one, and put back however the test
// ends.
TEST(TextFit, ASystemFontChangeWhileRunningIsFittedAgain) {
  if (std::getenv("VELLONIX_TEST_DPI") == nullptr) GTEST_SKIP() << "changes the font of every window of the session";
  MainWindow window;
  window.CreateDialogs();
  struct SystemFont {
    NONCLIENTMETRICSW Metrics{};
    SystemFont() {
      Metrics.cbSize = sizeof Metrics;
      SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof Metrics, &Metrics, 0);
    }
    ~SystemFont() { SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof Metrics, &Metrics, 0); }
  } saved;
  NONCLIENTMETRICSW larger = saved.Metrics;
  larger.lfMessageFont.lfHeight = larger.lfMessageFont.lfHeight * 9 / 8;
  ASSERT_TRUE(SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof larger, &larger, 0));
  const int before = window.Metrics().Client.Width;
  SendMessageW(window.Handle(), WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, reinterpret_cast<LPARAM>(L"WindowMetrics"));
  EXPECT_GT(window.Metrics().Client.Width, before);
  ExpectMainWindowHoldsTheWidestTexts(window);
  ExpectEveryDialogHoldsItsTexts(window);
}

}  // namespace
}  // namespace vellonix::ui::win
