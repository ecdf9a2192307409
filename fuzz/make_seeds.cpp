// Writes the fuzz target's seed corpus into the folder given: a few disks of
// each DOS with files of the kinds the rows and extract tell apart, damaged
// chains and names among them. Each seed is the disk up to its last
// non-zero byte, which the target reads back with zeros after it.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "image_builder.hpp"
#include "vellonix/core/list_row.hpp"

using namespace vellonix;

namespace {

using imagekit::Pattern;

void WriteSeed(const std::filesystem::path& folder, const std::string& name, const core::DiskImageBuffer& disk) {
  std::size_t end = disk.size();
  while (end > 1 && disk[end - 1] == 0) --end;
  std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(disk.data()), static_cast<std::streamsize>(end));
  if (!out) throw std::runtime_error("cannot write " + (folder / name).string());
}

imagekit::ImageBuilder Mixed() {
  imagekit::ImageBuilder image;
  image.MasterDos("FUZZ");
  auto basic = image.PlaceFile(0, core::kTypeBasic, "basic", imagekit::SamFileBody(16, Pattern(900, 1)));
  basic.SetByte(core::DirEntryField::ExecPage, 0);
  image.PlaceCodeFile(1, "code", Pattern(3000, 2), 32768).SetDateStamp({1, 1, 100, 9, 5});
  image.PlaceFile(2, 0, "erased", Pattern(700, 3));
  image.PlaceFile(3, 4, "zxcode", Pattern(1200, 4)).SetWord(core::DirEntryField::ZxLength, 1191);
  image.PlaceFile(4, 5, "snap48", Pattern(1500, 5));
  image.PlaceFile(5, 20, "screen", imagekit::SamFileBody(20, Pattern(2000, 6))).SetDateStamp({1, 0x88, 95, 0x61, 0xA3});
  image.PlaceCodeFile(6, "cut", Pattern(2000, 7)).SetSectorCount(9);
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  try {
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    WriteSeed(folder, "empty", imagekit::ImageBuilder().Disk());
    WriteSeed(folder, "mixed", Mixed().Disk());

    imagekit::ImageBuilder bdos;
    bdos.BDos("sixteen-char-nam");
    bdos.PlaceCodeFile(0, "one", Pattern(600, 8));
    bdos.PlaceFile(1, 21, "dir", Pattern(100, 9));
    bdos.PlaceFile(2, 9, "snap128", Pattern(5000, 10));
    WriteSeed(folder, "bdos", bdos.Disk());

    // Extra directory tracks, a zero-led name, a link off the disk's end,
    // a file past the directory's end.
    imagekit::ImageBuilder extra;
    extra.MasterDos("EXTRA", 2);
    extra.PlaceCodeFile(0, std::string("\0zero", 5), Pattern(800, 11));
    const auto edge = extra.PlaceCodeFile(1, "edge", Pattern(1400, 12));
    const auto first = static_cast<std::size_t>(core::SectorOffset(edge.FirstTrack(), edge.FirstSector()));
    extra.Disk()[first + core::kSectorLinkOffset] = 208;
    extra.PlaceCodeFile(90, "far", Pattern(800, 13));
    WriteSeed(folder, "extra", extra.Disk());
    return 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
}
