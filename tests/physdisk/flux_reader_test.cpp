// The flux reader's drive: which devices name it, and the verdict on what
// its gw command printed (the exit status alone says too little).
#include "vellonix/physdisk/flux_reader.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "flux_output.hpp"

namespace vellonix::physdisk {
namespace {

using testing::FluxRead;
using testing::FluxWritten;
using testing::Lines;
using testing::TrackSideLabel;
using testing::operator+;
using Command = FluxReaderLog::Command;

const Lines kHeader{"Reading c=0-79:h=0-1 revs=2", "Format ibm.800"};
const Lines kAllFound{"Cyl-> 0         1", "H. S: 0123456789", "Found 1600 sectors of 1600 (100%)"};
const std::string kGaveUp = "T5.1: Giving up: 2 sectors missing";
const Lines kBadTrack{"T5.1: IBM MFM (8/10 sectors) from Raw Flux (99 flux in 200.00ms)",
                      "T5.1: IBM MFM (8/10 sectors) from Raw Flux (99 flux in 200.00ms) (Retry #1.1)", kGaveUp};

TEST(FluxReaderLog, JudgesTheRunByWhatItPrinted) {
  const struct {
    const char* Name;
    Command Kind;
    Lines Output;
    int Exit;
    bool Succeeded;
    int FailedTrackSide;
    std::string Cause;
    int TracksDone;
  } cases[] = {
      {"whole disk read", Command::Read, kHeader + FluxRead(0, 160) + kAllFound, 0, true, 0, "", 80},
      {"a retry that found the rest", Command::Read,
       FluxRead(0, 11) + Lines{kBadTrack[0], TrackSideLabel(11) + "IBM MFM (10/10 sectors) (Retry #1.1)"} +
           FluxRead(12, 160) + kAllFound,
       0, true, 0, "", 80},
      {"a track side given up", Command::Read,
       FluxRead(0, 11) + kBadTrack + FluxRead(12, 160) + Lines{"Found 1598 sectors of 1600 (99%)"}, 0, false, 11,
       kGaveUp + "; Found 1598 sectors of 1600 (99%)", 80},
      {"another layout's count", Command::Read, FluxRead(0, 160) + Lines{"Found 1440 sectors of 1440 (100%)"}, 0, false,
       159, "Found 1440 sectors of 1440 (100%)", 80},
      {"no device", Command::Read, Lines{"** FATAL ERROR: Cannot find the device"}, 1, false, 0,
       "** FATAL ERROR: Cannot find the device", 0},
      {"the message on a line of its own", Command::Write, Lines{"** FATAL ERROR:", "Bad format name", "more"}, 1,
       false, 0, "** FATAL ERROR: Bad format name", 0},
      {"a USB command failed, exit 0", Command::Read, FluxRead(0, 7) + Lines{"Command Failed: Bad Command"}, 0, false,
       7, "Command Failed: Bad Command", 3},
      {"no count printed", Command::Read, FluxRead(0, 160), 0, false, 159,
       "it printed no count of the sectors it found", 79},
      {"a crash", Command::Read, FluxRead(0, 2) + Lines{"Traceback (most recent call last):", "KeyError: 'x'  "}, 1,
       false, 2, "it ended with exit status 1: KeyError: 'x'", 0},
      {"killed", Command::Read, FluxRead(0, 40), -9, false, 40, "it was ended by signal 9", 19},
      {"whole disk written", Command::Write,
       Lines{"Format ibm.800"} + FluxWritten(0, 160) + Lines{"All tracks verified"}, 0, true, 0, "", 80},
      {"verify unavailable", Command::Write,
       FluxWritten(0, 160) + Lines{"0 tracks verified; 160 tracks *not* verified (Reason: Verify unavailable)"}, 0,
       true, 0, "", 80},
      {"some tracks left out", Command::Write,
       FluxWritten(0, 100) + Lines{"100 tracks verified; 20 tracks *not* verified (Reason: Verify disabled)"}, 0, false,
       99, "100 tracks verified; 20 tracks *not* verified (Reason: Verify disabled)", 80},
      {"verify failure", Command::Write,
       FluxWritten(0, 7) +
           Lines{"T3.0: Writing Track (Verify Failure: Retry #1)", "** FATAL ERROR: Failed to verify Track 3.0"},
       1, false, 6, "** FATAL ERROR: Failed to verify Track 3.0", 3},
      {"no verdict", Command::Write, FluxWritten(0, 160), 0, false, 159, "it did not say that the tracks were verified",
       79},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    FluxReaderLog log(c.Kind);
    for (const std::string& line : c.Output) log.Add(line);
    const FluxReaderLog::Outcome outcome = log.Judge(c.Exit);
    EXPECT_EQ(outcome.Succeeded, c.Succeeded);
    EXPECT_EQ(outcome.Cause, c.Cause);
    if (!c.Succeeded) {
      EXPECT_EQ(outcome.FailedTrackSide, c.FailedTrackSide);
    }
    EXPECT_EQ(log.TracksDone(), c.TracksDone);
  }
}

TEST(FluxReaderLog, ProgressFollowsTheTracksAsTheyAreReported) {
  FluxReaderLog log(Command::Read);
  std::vector<int> done;
  const Lines retried{"T2.0: IBM MFM (9/10 sectors) from Raw Flux (99 flux in 200.00ms)",
                      "T2.0: Giving up: 1 sectors missing"};
  for (const std::string& line : kHeader + FluxRead(0, 4) + retried) {
    log.Add(line);
    done.push_back(log.TracksDone());
  }
  // A track counts once the next one has begun; retries and the header do
  // not move it.
  EXPECT_EQ(done, (std::vector<int>{0, 0, 0, 0, 1, 1, 2, 2}));
}

TEST(FluxReaderUnit, TakesTheDriveLettersAndBusUnitsTheCommandKnows) {
  const struct {
    const char* Device;
    bool Names;
    std::optional<std::string> Unit;
  } cases[] = {
      {"gw:A", true, "A"}, {"gw:b", true, "B"},     {"gw:0", true, "0"}, {"gw:3", true, "3"},
      {"gw:4", true, {}},  {"gw:", true, {}},       {"gw:AB", true, {}}, {"gw:-", true, {}},
      {"GW:A", false, {}}, {"/dev/fd0", false, {}}, {"gw", false, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Device);
    EXPECT_EQ(NamesFluxReader(c.Device), c.Names);
    EXPECT_EQ(FluxReaderUnit(c.Device), c.Unit);
  }
}

}  // namespace
}  // namespace vellonix::physdisk
