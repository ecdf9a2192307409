// View File: which view each file gets and what it holds, the dump's
// layout, the size a viewer opens at, and TForm1 keeping the command in
// step with the list's selection.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sample_disks.hpp"
#include "scripted_ui.hpp"
#include "vellonix/core/dir_entry.hpp"
#include "vellonix/formats/screen.hpp"
#include "vellonix/ui/file_viewer.hpp"
#include "vellonix/ui/form1.hpp"

namespace vellonix::ui::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;
namespace field = core::DirEntryField;

constexpr formats::Rgb kBlue{0x00, 0x00, 0xDB};  // SAM colour 17
constexpr formats::Rgb kRed{0xDB, 0x00, 0x00};   // SAM colour 34

//    10 PRINT "hi"
//    20 GO TO 10
Bytes Program() {
  Bytes program = imagekit::BasicLine(10, Bytes{0xBB, '"', 'h', 'i', '"'});
  Bytes goTo{0xB4};
  imagekit::AppendBasicNumber(goTo, 10);
  const Bytes second = imagekit::BasicLine(20, goTo);
  program.insert(program.end(), second.begin(), second.end());
  program.push_back(imagekit::kBasicEndMarker);
  return program;
}

// MODE 4, all entry 0 (blue) but pixel (2, 1), entry 5 (red); the palette
// holds `entries` of its 16, the line-interrupt table ends at once.
Bytes Mode4Picture(std::size_t entries) {
  Bytes data(formats::ScreenBitmapBytes(4));
  data[128 + 1] = 0x50;
  Bytes palette(40);
  palette[0] = 17;
  palette[5] = 34;
  data.insert(data.end(), palette.begin(), palette.begin() + static_cast<std::ptrdiff_t>(entries));
  if (entries == palette.size()) data.push_back(0xFF);
  return data;
}

// Row 0 is slot 0; slot 1 is erased, so row r lists slot r + 1 after it.
imagekit::ImageBuilder ViewerDisk() {
  imagekit::ImageBuilder image;
  image.PlaceSamFile(0, core::kTypeBasic, "prog", Program());
  image.PlaceFile(1, 0, "erased", Pattern(100, 1));
  Bytes cut = Program();
  cut.resize(cut.size() - 3);  // inside line 20's number
  image.PlaceSamFile(2, core::kTypeBasic, "cut", cut);
  image.PlaceSamFile(3, core::kTypeScreen, "pic", Mode4Picture(40)).SetByte(field::ScreenMode, 3);
  image.PlaceSamFile(4, core::kTypeScreen, "pal", Mode4Picture(6)).SetByte(field::ScreenMode, 3);
  image.PlaceSamFile(5, core::kTypeScreen, "short", Bytes(500, 0)).SetByte(field::ScreenMode, 3);
  image.PlaceCodeFile(6, "co\x01" "de", Bytes{'H', 'i', 0x0D});
  image.PlaceCodeFile(7, "long", Pattern(600, 7)).SetWord(field::LengthInPage, 2000);
  return image;
}

struct ViewCase {
  int Slot;
  FileViewKind Kind;
  const char* Caption;
  std::size_t Lines;
  const char* FirstLine;
  const char* Note;
};

TEST(FileViewer, EachFileGetsTheViewOfItsType) {
  const imagekit::ImageBuilder image = ViewerDisk();
  const ViewCase cases[] = {
      {0, FileViewKind::Listing, "prog (File # 1)", 2, "   10 PRINT \"hi\"", ""},
      {2, FileViewKind::Listing, "cut (File # 3)", 2, "   10 PRINT \"hi\"",
       "File # 3: the program's data ends inside line 20, listed as far as it goes"},
      {3, FileViewKind::Picture, "pic (File # 4)", 0, "", ""},
      {4, FileViewKind::Picture, "pal (File # 5)", 0, "",
       "File # 5 holds 6 of the 16 palette entries; the others have the SAM's default colours"},
      {5, FileViewKind::Dump, "short (File # 6)", 32, "00000   00 00 00 00 00 00 00 00  00 00 00 00 00 00 00 00  "
                                                      "................",
       "File # 6 is no picture: it holds 500 bytes, and a MODE 4 picture needs 24576"},
      {6, FileViewKind::Dump, "co.de (File # 7)", 1, "", ""},
      {7, FileViewKind::Dump, "long (File # 8)", 64, "", "File # 8: its sectors hold 1011 of the 2000 bytes its entry gives"},
  };
  for (const ViewCase& expected : cases) {
    SCOPED_TRACE(expected.Caption);
    const FileView view = ViewOfFile(image.Disk(), expected.Slot);
    EXPECT_EQ(view.Kind, expected.Kind);
    EXPECT_EQ(view.Caption, expected.Caption);
    EXPECT_EQ(view.Note, expected.Note);
    ASSERT_EQ(view.Lines.size(), expected.Lines);
    if (*expected.FirstLine != '\0') {
      EXPECT_EQ(view.Lines.front(), expected.FirstLine);
    }
    if (view.Kind == FileViewKind::Picture) {
      // MODE 4's pixels are two canvas pixels wide and two high.
      ASSERT_EQ(view.Picture.Width, 512);
      ASSERT_EQ(view.Picture.Height, 384);
      EXPECT_EQ(view.Picture.At(4, 2), kRed);
      EXPECT_EQ(view.Picture.At(5, 3), kRed);
      EXPECT_EQ(view.Picture.At(3, 2), kBlue);
      EXPECT_EQ(view.Picture.At(4, 4), kBlue);
      EXPECT_EQ(view.Text(), "");
    }
  }
  EXPECT_EQ(ViewOfFile(image.Disk(), 0).Text("\r\n"), "   10 PRINT \"hi\"\r\n   20 GO TO 10\r\n");
}

TEST(FileViewer, TheDumpShowsSixteenBytesALineWithTheirCharacters) {
  EXPECT_TRUE(DumpLines({}).empty());
  // Control codes (C0, DEL, C1) show as '.', other bytes as Latin-1.
  const Bytes bytes{'S', 'A', 'M', 0x00, 0x0D, 0x7F, 0x80, 0x9F, 0xA0, 0xE9, 0xFF, 'A', 'B', 'C', 'D', 'E', 'F'};
  const std::vector<std::string> lines = DumpLines(bytes);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "00000   53 41 4D 00 0D 7F 80 9F  A0 E9 FF 41 42 43 44 45  SAM.....\u00A0\u00E9\u00FFABCDE");
  // A short last line keeps the characters in their column.
  EXPECT_EQ(lines[1], "00010   46" + std::string(46, ' ') + "  F");
  EXPECT_EQ(DumpLines(Bytes(0x10010, 0)).back().substr(0, 5), "10000");
}

TEST(FileViewer, AViewerOpensAsLargeAsItsTextWithinBounds) {
  FileView view;
  EXPECT_EQ(OpeningTextArea(view).Columns, kSmallestTextArea.Columns);
  EXPECT_EQ(OpeningTextArea(view).Rows, kSmallestTextArea.Rows);
  // Characters count, not bytes: each block graphic is three bytes.
  std::string blocks;
  for (int i = 0; i < 50; ++i) blocks += "\u259E";
  view.Lines.assign(20, blocks);
  EXPECT_EQ(OpeningTextArea(view).Columns, 50);
  EXPECT_EQ(OpeningTextArea(view).Rows, 20);
  view.Lines.assign(500, std::string(300, 'x'));
  EXPECT_EQ(OpeningTextArea(view).Columns, kLargestTextArea.Columns);
  EXPECT_EQ(OpeningTextArea(view).Rows, kLargestTextArea.Rows);
}

class Form1View : public ::testing::Test {
 protected:
  Form1View() : form_(ui_) {
    form_.LoadName = dir_.File("viewer.mgt");
    core::SaveImageFile(form_.LoadName, ViewerDisk().Disk());
    form_.LoadDiskImage();
  }
  void Select(std::optional<int> row) {
    ui_.SelectRow(row);
    form_.ListView1SelectItem();
  }

  ScratchDir dir_;
  ScriptedUi ui_;
  TForm1 form_;
};

TEST_F(Form1View, ViewFileFollowsTheSelectionAndViewsTheSelectedRowsSlot) {
  ASSERT_EQ(ui_.Rows().size(), 7u);
  EXPECT_TRUE(ui_.MenuEnabled(MenuItem::ViewFile1));  // the first row is selected on load

  Select(std::nullopt);
  EXPECT_FALSE(ui_.MenuEnabled(MenuItem::ViewFile1));
  EXPECT_TRUE(ui_.MenuEnabled(MenuItem::ExtractFile1));  // the rows are still there
  ui_.ClearCalls();
  form_.RunCommand(&TForm1::ViewFile1Click);
  EXPECT_TRUE(ui_.Interactions().empty());

  // Row 2 lists slot 3: the erased slot 1 has no row.
  Select(2);
  EXPECT_TRUE(ui_.MenuEnabled(MenuItem::ViewFile1));
  form_.RunCommand(&TForm1::ViewFile1Click);
  ASSERT_EQ(ui_.Interactions().size(), 1u);
  const FileView shown = std::get<ViewerCall>(ui_.Interactions()[0]).View;
  EXPECT_EQ(shown.Caption, "pic (File # 4)");
  EXPECT_EQ(shown.Kind, FileViewKind::Picture);
  EXPECT_FALSE(form_.ImageModified);

  // Deleting the selected row leaves none selected.
  ui_.QueueMessageAnswer(MessageResult::Yes);
  form_.DeleteFile1Click();
  EXPECT_EQ(ui_.SelectedRow(), std::nullopt);
  EXPECT_FALSE(ui_.MenuEnabled(MenuItem::ViewFile1));
  EXPECT_TRUE(ui_.MenuEnabled(MenuItem::DeleteFile1));
}

}  // namespace
}  // namespace vellonix::ui::testing
