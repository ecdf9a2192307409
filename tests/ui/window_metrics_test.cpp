// The base layout scaled to what a toolkit measured, and the file dialogs'
// filters split into their entries.
#include <gtest/gtest.h>

#include <numeric>

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

TEST(SplitFilter, GivesDescriptionAndPatternPairs) {
  EXPECT_EQ(SplitFilter("Disk images (*.mgt;*.sad)|*.mgt;*.sad|All files (*.*)|*.*"),
            (std::vector<FilterEntry>{{"Disk images (*.mgt;*.sad)", "*.mgt;*.sad"}, {"All files (*.*)", "*.*"}}));
  EXPECT_EQ(SplitFilter("MGT diskimage|*.mgt|SAD"), (std::vector<FilterEntry>{{"MGT diskimage", "*.mgt"}}));
  EXPECT_TRUE(SplitFilter("").empty());
  EXPECT_TRUE(SplitFilter("Description only").empty());
}

}  // namespace
}  // namespace vellonix::ui
