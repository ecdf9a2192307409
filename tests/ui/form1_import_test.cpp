// Import diskimage: other tools' images (raw, EDSK, gzip-compressed) as a
// new unsaved document, the name it gets, the sectors it lacked told, and
// a refusal that leaves the open image alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "edsk_builder.hpp"
#include "gzip_builder.hpp"
#include "sample_disks.hpp"
#include "scripted_ui.hpp"
#include "view_checks.hpp"
#include "vellonix/core/container.hpp"
#include "vellonix/ui/form1.hpp"

namespace vellonix::ui::testing {
namespace {

namespace kit = vellonix::testing;

TEST(DocumentPathForImport, TakesTheInputsNameWithMgt) {
  const std::pair<const char*, const char*> cases[] = {
      {"/dl/game.dsk", "/dl/game.mgt"},       {"/dl/game.DSK.GZ", "/dl/game.mgt"},
      {"/dl/game.img.gz", "/dl/game.mgt"},    {"/dl/game", "/dl/game.mgt"},
      {"/dl.old/game", "/dl.old/game.mgt"},   {"/dl/game.gz", "/dl/game.mgt"},
      {"/dl/two.dots.edsk", "/dl/two.dots.mgt"}, {"/dl/.gz", "/dl/Untitled.mgt"},
  };
  for (const auto& [input, expected] : cases) EXPECT_EQ(DocumentPathForImport(input), expected) << input;
}

class Form1Import : public ::testing::Test {
 protected:
  Form1Import() : form_(ui_) {}

  // The Mixed sample disk's bytes as DiskImageBuffer holds them.
  static std::vector<std::uint8_t> Sample() {
    const imagekit::ImageBuilder image = BuildSampleDisk(SampleDisk::Mixed);
    return {image.Disk().begin(), image.Disk().end()};
  }
  // An EDSK of the sample without the sectors `drop` says, gzip-compressed
  // when its name ends in ".gz".
  std::string WriteEdskWithout(const std::string& name, bool (*drop)(const kit::StoredSectorSpec&)) {
    kit::TrackSpecs tracks = kit::TracksOfDisk(Sample());
    for (auto& track : tracks) std::erase_if(track, drop);
    const auto edsk = kit::BuildEdsk(tracks);
    const std::string path = dir_.File(name);
    kit::WriteBytes(path, name.ends_with(".gz") ? kit::GzipBytes(edsk) : edsk);
    return path;
  }
  void Import(const std::string& path) {
    ui_.QueueOpenPaths({path});
    form_.RunCommand(&TForm1::Importdiskimage1Click);
  }
  void ExpectImportedAsUnsaved(const std::string& documentPath) {
    EXPECT_TRUE(form_.ImageLoaded);
    EXPECT_TRUE(form_.ImageModified);
    EXPECT_TRUE(form_.ImageUntitled);
    EXPECT_EQ(form_.DocumentPath, documentPath);
    EXPECT_EQ(ui_.Caption(), "SAM Coupé Vellonix - " + std::string(core::FileNamePart(documentPath)));
    ExpectViewMatchesListing(ui_, form_);
  }

  ScratchDir dir_;
  ScriptedUi ui_;
  TForm1 form_;
};

TEST_F(Form1Import, ARawImageUnderAnyNameBecomesAnUnsavedDocument) {
  const std::string path = dir_.File("game.dsk");
  kit::WriteBytes(path, core::EncodeContainer(core::ContainerKind::Mgt, BuildSampleDisk(SampleDisk::Mixed).Disk()));
  Import(path);

  ASSERT_EQ(ui_.Interactions().size(), 1u);  // the dialog, and nothing to tell
  const OpenFileRequest request = std::get<OpenDialogCall>(ui_.Interactions()[0]).Request;
  EXPECT_EQ(request.Title, "Import diskimage");
  EXPECT_EQ(SplitFilter(request.Filter).front().Patterns, "*.dsk;*.img;*.mgt;*.sad;*.gz");
  EXPECT_TRUE(request.MustExist && !request.MultiSelect);
  ExpectImportedAsUnsaved(dir_.File("game.mgt"));
  EXPECT_TRUE(std::equal(form_.DiskImageBuffer().begin(), form_.DiskImageBuffer().end(), Sample().begin()));

  // Saving asks for a name, proposing the input's, as MGT; the next
  // Import proposes the last file imported.
  ui_.QueueSaveCancel();
  form_.RunCommand(&TForm1::Savediskimage1Click);
  const SaveFileRequest save = std::get<SaveDialogCall>(ui_.Interactions().back()).Request;
  EXPECT_EQ(save.FileName, dir_.File("game"));
  EXPECT_EQ(save.FilterIndex, 1);
  ui_.QueueMessageAnswer(MessageResult::Cancel);
  form_.RunCommand(&TForm1::Importdiskimage1Click);  // unsaved: asked first, and cancelled
  EXPECT_EQ(OperationName(ui_.Interactions().back()), "ShowMessage");
  form_.ImageModified = false;
  ui_.QueueOpenCancel();
  form_.RunCommand(&TForm1::Importdiskimage1Click);
  EXPECT_EQ(std::get<OpenDialogCall>(ui_.Interactions().back()).Request.FileName, path);
  EXPECT_EQ(form_.DocumentPath, dir_.File("game.mgt"));
}

TEST_F(Form1Import, MissingSectorsAreListedAfterTheCount) {
  // Sector 3 of cylinder 4 side 1 is missing; so, in the second image, are
  // all sectors of cylinders 10 and 11, more than the box lists.
  ui_.QueueMessageAnswer(MessageResult::Ok);
  Import(WriteEdskWithout("one.dsk.gz", [](const kit::StoredSectorSpec& s) { return s.C == 4 && s.H == 1 && s.R == 3; }));
  ExpectImportedAsUnsaved(dir_.File("one.mgt"));
  auto messages = ui_.Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].Text,
            "Imported with missing or damaged sectors\n\n"
            "one.dsk.gz: 1 of the disk's 1600 sectors are missing or damaged in the gzip-compressed EDSK image\n"
            "cylinder 4, side 1, sector 3: missing, filled with zeros");
  EXPECT_EQ(messages[0].Kind, MessageKind::Error);

  form_.ImageModified = false;
  ui_.ClearCalls();
  ui_.QueueMessageAnswer(MessageResult::Ok);
  Import(WriteEdskWithout("many.dsk", [](const kit::StoredSectorSpec& s) { return s.C == 10 || s.C == 11; }));
  messages = ui_.Messages();
  ASSERT_EQ(messages.size(), 1u);
  const std::string& text = messages[0].Text;
  EXPECT_NE(text.find("many.dsk: 40 of the disk's 1600 sectors"), std::string::npos) << text;
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2 + 16 + 1) << text;
  EXPECT_TRUE(text.ends_with("\nand 24 more")) << text;
}

TEST_F(Form1Import, ARefusedFileLeavesTheOpenImageAsItWas) {
  form_.LoadName = WriteSampleDisk(dir_, "open.mgt", SampleDisk::BDos);
  form_.LoadDiskImage();
  const auto before = form_.DiskImageBuffer();
  ui_.ClearCalls();
  ui_.QueueMessageAnswer(MessageResult::Ok);
  Import(dir_.WriteFilled("notes.txt", 5000, 'x'));

  const auto interactions = ui_.Interactions();
  ASSERT_EQ(interactions.size(), 3u);
  EXPECT_EQ(OperationName(interactions[1]), "Beep");
  EXPECT_EQ(std::get<MessageCall>(interactions[2]),
            (MessageCall{"\rInvalid diskimage\n\nnotes.txt: 5,000 bytes without the signature of an EDSK, DSK or SAD "
                         "image, and no raw image's 819,200",
                         MessageKind::Error, MessageButtons::Ok, {188, 98}}));
  EXPECT_TRUE(form_.DiskImageBuffer() == before);
  EXPECT_FALSE(form_.ImageModified);
  EXPECT_EQ(form_.DocumentPath, dir_.File("open.mgt"));
  ExpectViewMatchesListing(ui_, form_);
}

}  // namespace
}  // namespace vellonix::ui::testing
