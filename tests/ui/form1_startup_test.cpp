// Images named on the command line and dropped onto the window: which image
// opens here, which go to new instances and in what order against the
// beeps and the unsaved-changes prompt.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "sample_disks.hpp"
#include "scripted_ui.hpp"
#include "vellonix/core/image_file.hpp"
#include "vellonix/core/text.hpp"
#include "vellonix/ui/form1.hpp"

namespace vellonix::ui::testing {
namespace {

// Records each start with the number of UI calls made before it, so that a
// start can be placed among the beeps and prompts.
class RecordingLauncher : public InstanceLauncher {
 public:
  explicit RecordingLauncher(const ScriptedUi& ui) : ui_(ui) {}
  void StartInstance(const std::string& file) override { starts.push_back({file, ui_.Calls().size()}); }

  struct Start {
    std::string File;
    std::size_t CallsBefore;
  };
  std::vector<Start> starts;

 private:
  const ScriptedUi& ui_;
};

class Form1Startup : public ::testing::Test {
 protected:
  Form1Startup() : launcher_(ui_), form_(ui_, launcher_) {
    for (const char* name : {"a.mgt", "c.mgt", "x.mgt", "z.SAD", "current.mgt"})
      WriteSampleDisk(dir_, name, name[0] == 'z' ? SampleDisk::BDos : SampleDisk::Mixed);
    WriteSampleDisk(dir_, "b.sad", SampleDisk::Empty);
    std::filesystem::copy_file(dir_.Path() / "c.mgt", dir_.Path() / "image");  // an image without extension
    dir_.WriteFilled("notes.txt", 120, 'x');
    std::filesystem::create_directory(dir_.Path() / "folder.mgt");
  }

  std::vector<std::string> Paths(const std::vector<std::string>& names) const {
    std::vector<std::string> paths;
    for (const std::string& name : names) paths.push_back(name.empty() ? name : dir_.File(name));
    return paths;
  }

  // The current image, loaded from its file and then changed.
  void OpenChangedImage() {
    form_.LoadName = dir_.File("current.mgt");
    form_.LoadDiskImage();
    form_.DiskImageBuffer()[30000] ^= 0xFF;
    form_.ImageModified = true;
    ui_.ClearCalls();
  }

  // What the user saw and what was started, in order: "front", "beep",
  // "ask" (the unsaved-changes prompt), "error:TEXT", "start:NAME".
  std::vector<std::string> Timeline() const {
    std::vector<std::string> events;
    auto start = launcher_.starts.begin();
    const auto& calls = ui_.Calls();
    for (std::size_t i = 0; i <= calls.size(); ++i) {
      for (; start != launcher_.starts.end() && start->CallsBefore == i; ++start)
        events.push_back("start:" + std::string(core::FileNamePart(start->File)));
      if (i == calls.size()) break;
      const std::string name = OperationName(calls[i]);
      if (name == "BringToFront") events.push_back("front");
      if (name == "Beep") events.push_back("beep");
      if (const auto* message = std::get_if<MessageCall>(&calls[i])) {
        events.push_back(message->Kind == MessageKind::Confirmation ? "ask" : "error:" + message->Text.substr(1));
      }
    }
    return events;
  }

  // The file name of the image open here, or "" when there is none.
  std::string Shown() const {
    return form_.ImageLoaded ? std::string(core::FileNamePart(form_.DocumentPath)) : "";
  }

  ScratchDir dir_;
  ScriptedUi ui_;
  RecordingLauncher launcher_;
  TForm1 form_;
};

TEST_F(Form1Startup, ColdStartOpensTheLastExistingFileAndStartsTheOthersInOrder) {
  const struct {
    const char* Label;
    std::vector<std::string> Arguments;
    std::vector<std::string> Timeline;
    std::string Shown;
  } cases[] = {
      {"three images", {"a.mgt", "b.sad", "c.mgt"}, {"start:a.mgt", "start:b.sad"}, "c.mgt"},
      {"an image, then a missing name", {"a.mgt", "missing.mgt"}, {"start:a.mgt"}, ""},
      {"a text file", {"notes.txt"}, {"beep", "error:Invalid diskimage"}, ""},
      {"no extension needed to start", {"image", "folder.mgt", "", "c.mgt"}, {"start:image"}, "c.mgt"},
      {"the loader judges the last", {"image"}, {"beep", "error:Invalid diskimage"}, ""},
      {"a directory is no file", {"a.mgt", "folder.mgt"}, {"start:a.mgt"}, ""},
      {"a name the host cannot look at", {std::string(300, 'n') + ".mgt", "c.mgt"}, {}, "c.mgt"},
      {"nothing given", {}, {}, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Label);
    launcher_.starts.clear();
    form_.ImageLoaded = false;
    form_.InitDiskImage();
    ui_.ClearCalls();
    if (!c.Timeline.empty() && c.Timeline.back().starts_with("error:")) ui_.QueueMessageAnswer(MessageResult::Ok);
    form_.ColdStart(Paths(c.Arguments));
    EXPECT_EQ(Timeline(), c.Timeline);
    EXPECT_EQ(Shown(), c.Shown);
    EXPECT_FALSE(form_.ImageModified);
  }
}

TEST_F(Form1Startup, LongNamesAreKeptWhole) {
  // Longer than the 253 characters a shorter buffer would cut it to.
  const std::string deep = std::string(120, 'd') + "/" + std::string(120, 'e') + "/long.mgt";
  std::filesystem::create_directories(dir_.Path() / deep.substr(0, deep.rfind('/')));
  std::filesystem::copy_file(dir_.Path() / "c.mgt", dir_.Path() / deep);
  ASSERT_GT(dir_.File(deep).size(), 253u);

  form_.ColdStart(Paths({deep, "c.mgt"}));
  form_.FilesDropped(Paths({deep}));

  ASSERT_EQ(launcher_.starts.size(), 1u);
  EXPECT_EQ(launcher_.starts[0].File, dir_.File(deep));
  EXPECT_TRUE(form_.ImageLoaded);
  EXPECT_EQ(form_.DocumentPath, dir_.File(deep));
}

TEST_F(Form1Startup, DropStartsEarlierImagesBeepsForOthersAndAsksOnlyForTheLast) {
  const struct {
    const char* Label;
    std::vector<std::string> Dropped;
    bool Changed;
    std::optional<MessageResult> Answer;
    std::vector<std::string> Timeline;
    std::string Shown;
  } cases[] = {
      {"answer No", {"x.mgt", "y.txt", "z.SAD"}, true, MessageResult::No,
       {"front", "start:x.mgt", "beep", "front", "ask"}, "z.SAD"},
      {"answer Yes", {"x.mgt", "y.txt", "z.SAD"}, true, MessageResult::Yes,
       {"front", "start:x.mgt", "beep", "front", "ask"}, "z.SAD"},
      {"answer Cancel", {"x.mgt", "y.txt", "z.SAD"}, true, MessageResult::Cancel,
       {"front", "start:x.mgt", "beep", "front", "ask"}, "current.mgt"},
      {"nothing to save", {"x.mgt", "y.txt", "z.SAD"}, false, std::nullopt,
       {"front", "start:x.mgt", "beep", "front"}, "z.SAD"},
      {"the last is no image", {"x.mgt", "y.txt"}, true, std::nullopt, {"front", "start:x.mgt", "beep"}, "current.mgt"},
      {"extensions in any case", {"a.Mgt.txt", "x.MGT", "c.mgt"}, false, std::nullopt,
       {"front", "beep", "start:x.MGT", "front"}, "c.mgt"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Label);
    WriteSampleDisk(dir_, "current.mgt", SampleDisk::Mixed);
    OpenChangedImage();
    form_.ImageModified = c.Changed;
    launcher_.starts.clear();
    const core::DiskImageBuffer before = form_.DiskImageBuffer();
    if (c.Answer) ui_.QueueMessageAnswer(*c.Answer);

    form_.FilesDropped(Paths(c.Dropped));

    EXPECT_EQ(Timeline(), c.Timeline);
    EXPECT_EQ(Shown(), c.Shown);
    // Yes saved the changed image to its file before the drop replaced it;
    // Cancel kept it open and changed.
    core::DiskImageBuffer saved{};
    core::LoadImageFile(dir_.File("current.mgt"), saved);
    EXPECT_EQ(saved == before, c.Answer == MessageResult::Yes);
    EXPECT_EQ(form_.ImageModified, c.Changed && c.Shown == "current.mgt");
  }
}

}  // namespace
}  // namespace vellonix::ui::testing
