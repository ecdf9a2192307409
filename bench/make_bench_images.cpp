// Writes COUNT different images into FOLDER for the benchmarks
// (scripts/bench.sh): 00000.mgt onwards, every fourth a SAD, the three
// DOSes in turn, from a tenth full to nearly full, with files of every kind
// the list decodes and now and then a cut chain, so that listing them walks
// as much of each disk as a real collection does. The same on every run.
//   vellonix-bench-images FOLDER COUNT
#include <cstdio>
#include <exception>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "image_builder.hpp"
#include "vellonix/core/container.hpp"
#include "vellonix/core/list_row.hpp"

using namespace vellonix;

namespace {

constexpr int kMaxFileSectors = 60;

void PlaceSomeFile(imagekit::ImageBuilder& image, int slot, int sectors, std::mt19937& random) {
  const std::string name = "file" + std::to_string(random() % 100000);
  // The body fills its last sector by more than the header it carries.
  const std::size_t size = static_cast<std::size_t>(sectors) * core::kSectorPayload - core::kFileHeaderSize -
                           random() % (core::kSectorPayload - core::kFileHeaderSize);
  const std::vector<std::uint8_t> data = imagekit::Pattern(size, random() % 256);
  core::DirEntry entry = image.Entry(slot);
  switch (slot % 5) {
    case 0:
      entry = image.PlaceCodeFile(slot, name, data, slot % 2 == 0 ? std::optional<std::uint32_t>(32768) : std::nullopt);
      break;
    case 1:
      entry = image.PlaceSamFile(slot, core::kTypeBasic, name, data);
      entry.SetByte(core::DirEntryField::ExecPage, 0);
      entry.SetWord(core::DirEntryField::ExecOffset, 10);
      break;
    case 2:
      entry = image.PlaceSamFile(slot, core::kTypeScreen, name, data);
      entry.SetByte(core::DirEntryField::ScreenMode, static_cast<std::uint8_t>(random() % 4));
      break;
    case 3:
      entry = image.PlaceFile(slot, core::kTypeZxBasic, name, data);
      entry.SetWord(core::DirEntryField::ZxAutostart, static_cast<std::uint16_t>(random() % 10000));
      break;
    default:
      entry = image.PlaceFile(slot, core::kTypeZxCode | core::kProtectedBit, name, data);
      entry.SetWord(core::DirEntryField::ZxStart, 16384);
      entry.SetWord(core::DirEntryField::ZxLength, 6912);
      break;
  }
  entry.SetDateStamp({static_cast<std::uint8_t>(1 + random() % 28), static_cast<std::uint8_t>(1 + random() % 12),
                      static_cast<std::uint8_t>(85 + random() % 40), static_cast<std::uint8_t>(random() % 24),
                      static_cast<std::uint8_t>(random() % 60)});
  if (random() % 17 == 0) entry.SetSectorCount(entry.SectorCount() + 1);
}

std::vector<std::uint8_t> MakeImage(int number, core::ContainerKind container, std::mt19937& random) {
  imagekit::ImageBuilder image;
  const std::string label = "BENCH " + std::to_string(number % 10000);
  if (number % 3 == 1) image.MasterDos(label);
  if (number % 3 == 2) image.BDos(label);
  const int target = (number % 10 + 1) * core::kMapPositions / 10 - kMaxFileSectors;
  int used = 0;
  for (int slot = 0; slot < 80 && used < target; ++slot) {
    const int sectors = 1 + static_cast<int>(random() % kMaxFileSectors);
    PlaceSomeFile(image, slot, sectors, random);
    used += sectors;
  }
  return core::EncodeContainer(container, image.Disk());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s FOLDER COUNT\n", argv[0]);
    return 2;
  }
  try {
    const std::string folder = argv[1];
    const int count = std::stoi(argv[2]);
    std::mt19937 random(2026);
    for (int i = 0; i < count; ++i) {
      const auto container = i % 4 == 3 ? core::ContainerKind::Sad : core::ContainerKind::Mgt;
      std::string name(32, '\0');
      name.resize(static_cast<std::size_t>(std::snprintf(name.data(), name.size(), "/%05d.%s", i,
                                                         container == core::ContainerKind::Sad ? "sad" : "mgt")));
      const std::vector<std::uint8_t> bytes = MakeImage(i, container, random);
      std::ofstream out(folder + name, std::ios::binary | std::ios::trunc);
      out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
      if (!out.flush()) throw std::runtime_error(folder + name + ": cannot write");
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  return 0;
}
