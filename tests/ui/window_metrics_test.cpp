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
    for (std::size_t i = 0; i < kColumnWidths.size(); ++i) EXPECT_EQ(metrics.Columns[i], Scaled(kColumnWidths[i], c.Scale));
    for (std::size_t i = 0; i + 1 < kPanelWidths.size(); ++i) EXPECT_EQ(metrics.Panels[i], Scaled(kPanelWidths[i], c.Scale));
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

TEST(LimitToRoom, CutsTheWindowToTheScreenSharingTheStatusBarInProportion) {
  MainWindowTexts texts = AllFitting();
  texts.Columns[1] = 224;  // scale 2: 1076 x 638
  const MainWindowMetrics fitted = FitMainWindow(texts, kFrame);
  EXPECT_EQ(LimitToRoom(fitted, kFrame, {1076, 638}), fitted);

  const MainWindowMetrics cut = LimitToRoom(fitted, kFrame, {533, 380});
  EXPECT_EQ(cut.Client, (Size{533, 380}));
  EXPECT_EQ(cut.Columns, fitted.Columns);  // the list scrolls sideways
  EXPECT_EQ(cut.Panels, (std::array<int, kStatusPanels>{117, 188, 54, 96, 68}));
  EXPECT_EQ(std::accumulate(cut.Panels.begin(), cut.Panels.end(), 10), 533);
  EXPECT_EQ(cut.StatusBarHeight, fitted.StatusBarHeight);
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
