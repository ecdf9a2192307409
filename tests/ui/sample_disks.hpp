// Disks the TForm1 suites load, built with real chains, and the host files
// that hold them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "image_builder.hpp"
#include "scratch_dir.hpp"
#include "vellonix/core/image_file.hpp"
#include "vellonix/core/list_row.hpp"

namespace vellonix::ui::testing {

using vellonix::testing::ReadBytes;
using vellonix::testing::ScratchDir;
using imagekit::Pattern;

enum class SampleDisk { Mixed, BDos, Empty };

// Mixed: a MasterDOS disk whose name and one file name hold bytes above
// 0x7F, with an erased slot that must not end the directory and two broken
// chains (one cut short, one with no first sector). Five rows, two of them
// corrupted. BDos: one intact file under a 16-character name. Empty: an
// all-zero SAM-DOS disk.
inline imagekit::ImageBuilder BuildSampleDisk(SampleDisk which) {
  namespace field = core::DirEntryField;
  imagekit::ImageBuilder image;
  if (which == SampleDisk::Empty) return image;
  if (which == SampleDisk::BDos) {
    image.BDos("SIXTEEN CHARS OK");
    image.PlaceCodeFile(0, "only", Pattern(700, 9));
    return image;
  }
  image.MasterDos("Disk \xA9 99");
  auto basic = image.PlaceFile(0, core::kTypeBasic, "loader", imagekit::SamFileBody(16, Pattern(1200, 1)));
  basic.SetByte(field::ExecPage, 0);
  basic.SetWord(field::ExecOffset, 10);
  basic.SetDateStamp({24, 12, 92, 18, 30});
  image.PlaceCodeFile(1, "caf\xE9.bin", Pattern(3000, 2), 32768);
  image.PlaceFile(2, 0, "erased", Pattern(100, 3));
  auto cutShort = image.PlaceCodeFile(3, "broken", Pattern(2000, 4));
  cutShort.SetSectorCount(cutShort.SectorCount() + 2);
  auto zxCode = image.PlaceFile(4, core::kTypeZxCode | core::kHiddenBit | core::kProtectedBit, "zxcode",
                                Pattern(6912, 5));
  zxCode.SetWord(field::ZxStart, 16384);
  zxCode.SetWord(field::ZxLength, 6912);
  auto headless = image.PlaceFile(5, core::kTypeScreen, "lost", Pattern(600, 6));
  headless.SetFirstSectorAddress({});
  return image;
}

// Writes the disk to `name` in `dir` (the container by the extension) and
// returns the file's path.
inline std::string WriteSampleDisk(const ScratchDir& dir, const std::string& name, SampleDisk which) {
  const std::string path = dir.File(name);
  core::SaveImageFile(path, BuildSampleDisk(which).Disk());
  return path;
}

}  // namespace vellonix::ui::testing
