// The base layout scaled to what a toolkit measured, and the file dialogs'
// filters split into their entries.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <string_view>
#include <vector>

#include "vellonix/ui/window_metrics.hpp"

namespace vellonix::ui {
namespace {

constexpr StatusBarFrame kFrame{2, 2, 5};  // 10 pixels the last panel does not get

MainWindowTexts AllFitting() {
  MainWindowTexts texts;
  texts.Columns = {40, 112, 46, 80, 128, 112};
  texts.Panels = {120, 192, 56, 98, 62};
  texts.PanelHeight = 15;
  return texts;
}

TEST(FitMainWindow, KeepsTheBaseLayoutWhileEverythingFits) {
  const MainWindowMetrics metrics = FitMainWindow(AllFitting(), kFrame);
  EXPECT_EQ(metrics.Scale, 1.0);
  EXPECT_EQ(metrics.Client, kMainClient);
  EXPECT_EQ(metrics.Columns, kColumnWidths);
  EXPECT_EQ(metrics.Panels, (std::array<int, kStatusPanels>{120, 192, 56, 98, 62}));
  EXPECT_EQ(metrics.StatusBarHeight, 20);
}

TEST(FitMainWindow, ScalesEverythingByTheLargestNeedOrTheFloor) {
  const struct {
    const char* Case;
    int Column;    // grows to Need, or -1
    int Panel;     // grows to Need, or -1
    int Need;
    int PanelHeight;
    double Floor;
    double Scale;
    int StatusBarHeight;
  } cases[] = {
      {"Details 1.5x", 4, -1, 192, 15, 1.0, 1.5, 30},
      {"disk name 1.25x", -1, 1, 240, 15, 1.0, 1.25, 25},
      {"144 dpi", -1, -1, 0, 15, 1.5, 1.5, 30},
      {"floor below need", 0, -1, 80, 15, 1.5, 2.0, 40},
      {"tall panel text", -1, -1, 0, 30, 1.0, 1.0, 35},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Case);
    MainWindowTexts texts = AllFitting();
    texts.PanelHeight = c.PanelHeight;
    if (c.Column >= 0) texts.Columns[static_cast<std::size_t>(c.Column)] = c.Need;
    if (c.Panel >= 0) texts.Panels[static_cast<std::size_t>(c.Panel)] = c.Need;
    const MainWindowMetrics metrics = FitMainWindow(texts, kFrame, c.Floor);
    EXPECT_DOUBLE_EQ(metrics.Scale, c.Scale);
    EXPECT_EQ(metrics.Client, Scaled(kMainClient, c.Scale));
    for (std::size_t i = 0; i < kColumnWidths.size(); ++i)
      EXPECT_EQ(metrics.Columns[i], Scaled(kColumnWidths[i], c.Scale));
    for (std::size_t i = 0; i + 1 < kPanelWidths.size(); ++i)
      EXPECT_EQ(metrics.Panels[i], Scaled(kPanelWidths[i], c.Scale));
    EXPECT_EQ(std::accumulate(metrics.Panels.begin(), metrics.Panels.end(), 10), metrics.Client.Width);
    EXPECT_EQ(metrics.StatusBarHeight, c.StatusBarHeight);
  }
}

TEST(FitMainWindow, TheWindowWidensWhereRoundingLeavesTheLastPanelShort) {
  MainWindowTexts texts = AllFitting();
  texts.Panels[4] = 63;  // scale 73 / 72: the four panels round up 2 pixels more than the client
  const MainWindowMetrics metrics = FitMainWindow(texts, kFrame);
  EXPECT_EQ(metrics.Panels, (std::array<int, kStatusPanels>{122, 195, 57, 100, 63}));
  EXPECT_EQ(metrics.Client.Width, 547);
}

TEST(FitMainWindow, ASmallScreenHoldsTheWholeWindowAndEveryPanel) {
  EXPECT_EQ(WithinArea({100, 50, 800, 600}, {0, 0, 1024, 768}), (Rect{100, 50, 800, 600}));
  EXPECT_EQ(WithinArea({500, 300, 800, 600}, {0, 0, 1024, 768}), (Rect{224, 168, 800, 600}));
  EXPECT_EQ(WithinArea({-20, 10, 988, 645}, {0, 40, 800, 560}), (Rect{0, 40, 800, 560}));

  const MainWindowMetrics metrics = FitMainWindow(AllFitting(), kFrame);
  EXPECT_EQ(PanelsWithin(metrics, kFrame, 538), metrics.Panels);
  EXPECT_EQ(PanelsWithin(metrics, kFrame, 600), metrics.Panels);  // wider: the last panel stretches on its own
  EXPECT_EQ(PanelsWithin(metrics, kFrame, 269), (std::array<int, kStatusPanels>{60, 96, 28, 49, 26}));
}

// A font where "W" is three times as wide as any other character.
int FakeWidth(std::string_view text) {
  int width = 0;
  for (const char ch : text) {
    if ((static_cast<unsigned char>(ch) & 0xC0) != 0x80) width += ch == 'W' ? 30 : 10;
  }
  return width;
}

TEST(MeasureMainWindow, TakesTheWidestNameCharacterAndTheWidestOfCellAndCaption) {
  MainWindowMeasure measure;
  measure.Cell = [](int, std::string_view text) { return FakeWidth(text); };
  measure.Caption = [](int column) { return column == 0 ? 500 : 0; };
  measure.Panel = [](std::string_view text) { return Size{FakeWidth(text) + 4, 17}; };
  EXPECT_EQ(WidestNameCharacter(FakeWidth), "W");
  const MainWindowTexts texts = MeasureMainWindow(measure);
  EXPECT_EQ(texts.Columns[0], 500);
  EXPECT_EQ(texts.Columns[1], 10 * 30);                     // ten W's
  EXPECT_EQ(texts.Panels[1], FakeWidth("Disk name: ") + 16 * 30 + 4);  // a 16-character B-DOS name
  EXPECT_EQ(texts.PanelHeight, 17);
}

TEST(DialogScale, FitsEveryLineThenWidensUntilWrappedTextsFit) {
  const TextFit lines[] = {{150, 100}, {10, 20}};  // 1.5 for the lines alone
  // 600 pixels of text in lines 15 high, wrapped at the width given.
  const auto wrap = [](int width) { return (600 + width - 1) / std::max(width, 1) * 15; };
  const auto never = [](int) { return 1 << 20; };
  const struct {
    const char* Case;
    std::vector<WrappedTextFit> Wrapped;
    double Floor;
  } cases[] = {
      {"lines only", {}, 1.0},
      {"roomy wrapped text", {{wrap, {200, 45}}}, 1.0},
      {"wrapped text needs more", {{wrap, {100, 30}}}, 1.0},
      {"floor above all", {{wrap, {200, 45}}}, 2.0},
      {"text that never fits", {{never, {100, 30}}}, 1.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Case);
    const double scale = DialogScale(lines, c.Wrapped, c.Floor);
    const auto fitsAt = [&c](double at) {
      return std::all_of(c.Wrapped.begin(), c.Wrapped.end(), [at](const WrappedTextFit& text) {
        return text.HeightAt(Scaled(text.Available.Width, at)) <= Scaled(text.Available.Height, at);
      });
    };
    const double least = std::max(1.5, c.Floor);
    if (c.Wrapped.empty() || fitsAt(least)) {
      EXPECT_DOUBLE_EQ(scale, least);
    } else if (std::string_view(c.Case) == "text that never fits") {
      EXPECT_GE(scale, 4 * least);
      EXPECT_LT(scale, 4.2 * least);
    } else {
      EXPECT_TRUE(fitsAt(scale));
      EXPECT_FALSE(fitsAt(scale / 1.05));
    }
  }
}

TEST(SplitFilter, GivesDescriptionAndPatternPairs) {
  EXPECT_EQ(SplitFilter("Disk images (*.mgt;*.sad)|*.mgt;*.sad|All files (*.*)|*.*"),
            (std::vector<FilterEntry>{{"Disk images (*.mgt;*.sad)", "*.mgt;*.sad"}, {"All files (*.*)", "*.*"}}));
  EXPECT_EQ(SplitFilter("MGT diskimage|*.mgt|SAD"), (std::vector<FilterEntry>{{"MGT diskimage", "*.mgt"}}));
  EXPECT_TRUE(SplitFilter("").empty());
  EXPECT_TRUE(SplitFilter("Description only").empty());
}

}  // namespace
}  // namespace vellonix::ui
