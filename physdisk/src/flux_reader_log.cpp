// Reading what the flux reader's gw command prints. Per track side a read
// prints "T<c>.<h>: IBM MFM (<n>/10 sectors) ..." (again for each retry)
// and "T<c>.<h>: Giving up: <k> sectors missing" when the retries are used
// up, then "Found <n> sectors of <m> (<p>%)"; a write prints
// "T<c>.<h>: Writing Track (...)" and "All tracks verified" (or
// "<n> tracks verified; <m> tracks *not* verified (...)"). Errors are
// "** FATAL ERROR: <message>" or "Command Failed: <error>". Lines it prints for
// people only (the sector map, the format name) are passed over.
#include <algorithm>
#include <charconv>

#include "vellonix/physdisk/flux_reader.hpp"

namespace vellonix::physdisk {

namespace {

constexpr std::string_view kFatal = "** FATAL ERROR:";

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

// The number at the start of `text`, which is moved past it.
std::optional<long> TakeNumber(std::string_view& text) {
  long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || value < 0) return std::nullopt;
  text.remove_prefix(static_cast<std::size_t>(end - text.data()));
  return value;
}

bool TakeText(std::string_view& text, std::string_view expected) {
  if (!StartsWith(text, expected)) return false;
  text.remove_prefix(expected.size());
  return true;
}

// "T<c>.<h>: " at the start of a line: the track side, and the rest.
std::optional<int> TakeTrackSide(std::string_view& line) {
  std::string_view rest = line;
  if (!TakeText(rest, "T")) return std::nullopt;
  const auto cylinder = TakeNumber(rest);
  if (!cylinder || !TakeText(rest, ".")) return std::nullopt;
  const auto head = TakeNumber(rest);
  if (!head || !TakeText(rest, ":")) return std::nullopt;
  if (*cylinder >= core::kTracksPerSide || *head >= core::kSides) return std::nullopt;
  line = rest.substr(std::min(rest.find_first_not_of(' '), rest.size()));
  return static_cast<int>(*cylinder * core::kSides + *head);
}

// "<n>/<m> sectors)" anywhere in a track's read line: n, when m is a SAM
// track's 10.
std::optional<int> SectorsRead(std::string_view line) {
  for (std::size_t open = line.find('('); open != std::string_view::npos; open = line.find('(', open + 1)) {
    std::string_view rest = line.substr(open + 1);
    const auto found = TakeNumber(rest);
    if (!found || !TakeText(rest, "/")) continue;
    const auto of = TakeNumber(rest);
    if (of && *of == core::kSectorsPerTrack && TakeText(rest, " sectors)") && *found <= *of) {
      return static_cast<int>(*found);
    }
  }
  return std::nullopt;
}

std::string ExitText(int exitStatus) {
  return exitStatus < 0 ? "it was ended by signal " + std::to_string(-exitStatus)
                        : "it ended with exit status " + std::to_string(exitStatus);
}

}  // namespace

void FluxReaderLog::Add(std::string_view line) {
  while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
  if (line.empty()) return;
  lastLine_ = line;

  // The message may follow on a line of its own.
  if (fatal_ == kFatal) {
    fatal_ += " " + std::string(line);
    return;
  }
  if (StartsWith(line, kFatal) || StartsWith(line, "Command Failed:")) {
    if (fatal_.empty()) fatal_ = line;
    return;
  }
  std::string_view rest = line;
  if (const auto trackSide = TakeTrackSide(rest)) {
    lastLine_.clear();  // says nothing about an end that comes after it
    lastTrackSide_ = std::max(lastTrackSide_, *trackSide);
    if (command_ == Command::Write) return;
    if (StartsWith(rest, "Giving up")) {
      gaveUp_[static_cast<std::size_t>(*trackSide)] = line;
    } else if (const auto read = SectorsRead(rest)) {
      sectorsFound_[static_cast<std::size_t>(*trackSide)] = *read;
    }
    return;
  }
  if (command_ == Command::Read && TakeText(rest, "Found ")) {
    const auto found = TakeNumber(rest);
    const bool of = TakeText(rest, " sectors of ");
    const auto total = of ? TakeNumber(rest) : std::nullopt;
    if (found && total) {
      found_ = {*found, *total};
      summary_ = line;
    }
  } else if (command_ == Command::Write) {
    if (line == "All tracks verified") {
      verified_ = kTrackSides;
      summary_ = line;
    } else if (const auto verified = TakeNumber(rest); verified && TakeText(rest, " tracks verified; ")) {
      const auto unverified = TakeNumber(rest);
      if (unverified && TakeText(rest, " tracks *not* verified")) {
        verified_ = *verified + *unverified;
        summary_ = line;
      }
    }
  }
}

int FluxReaderLog::TracksDone() const {
  if (found_ || verified_) return core::kTracksPerSide;
  return lastTrackSide_ < 0 ? 0 : lastTrackSide_ / core::kSides;
}

int FluxReaderLog::FirstIncomplete() const {
  // A write is told track side by track side as it starts: the latest one
  // is where it stopped.
  if (command_ == Command::Write) return std::max(lastTrackSide_, 0);
  for (int trackSide = 0; trackSide < kTrackSides; ++trackSide) {
    const auto at = static_cast<std::size_t>(trackSide);
    if (sectorsFound_[at] != core::kSectorsPerTrack || !gaveUp_[at].empty()) return trackSide;
  }
  return kTrackSides - 1;
}

FluxReaderLog::Outcome FluxReaderLog::Failure(std::string cause) const {
  return {false, FirstIncomplete(), std::move(cause)};
}

FluxReaderLog::Outcome FluxReaderLog::Judge(int exitStatus) const {
  if (!fatal_.empty()) return Failure(fatal_);
  if (exitStatus != 0) return Failure(ExitText(exitStatus) + (lastLine_.empty() ? "" : ": " + lastLine_));
  if (command_ == Command::Read) {
    if (!found_) return Failure("it printed no count of the sectors it found");
    if (found_->first == kDiskSectors && found_->second == kDiskSectors) return {true, 0, ""};
    const std::string& gaveUp = gaveUp_[static_cast<std::size_t>(FirstIncomplete())];
    return Failure(gaveUp.empty() ? summary_ : gaveUp + "; " + summary_);
  }
  if (!verified_) return Failure("it did not say that the tracks were verified");
  if (*verified_ != kTrackSides) return Failure(summary_);
  return {true, 0, ""};
}

}  // namespace vellonix::physdisk
