// Writes the fuzz targets' inputs into folders of OUT:
//   image       disks of each DOS and container that reach deep: many
//               files on both sides, MasterDOS extra directory tracks,
//               damaged chains and names, each with a script of edits;
//   regression  inputs that once broke a promise (a file cross-linked by an
//               addition, a directory of looping chains that made every
//               scan slow, files cut short, slot 0's fields lost to a disk
//               name) and inputs that hold only by design; scripts/fuzz.sh
//               replays them with a time limit;
//   host        for the host-file target (fuzz_host_file_posix.cpp): every
//               thing standing at every kind of name, for every operation;
//   import      other tools' images (fuzz_import.cpp), built as the tests
//               build them: gzip-compressed MGT, SAD, EDSK and DSK images
//               of a whole disk, and small EDSK and DSK images with damaged,
//               doubled and missing sectors;
//   import-regression  images that once broke an import promise (an MGT
//               file whose disk begins with another format's signature);
//   basic-screen  BASIC programs with every keyword and code, cut short,
//               and SCREEN$ data of every mode (fuzz_basic_screen.cpp).
// Every input is at most kMaxInput bytes, the longest the fuzzing run makes.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "edsk_builder.hpp"
#include "fuzz_input.hpp"
#include "gzip_builder.hpp"
#include "image_builder.hpp"
#include "vellonix/core/directory.hpp"
#include "vellonix/core/list_row.hpp"

using namespace vellonix;

namespace {

using fuzz::BodyLayout;
using fuzz::Container;
using fuzz::EditKind;
using fuzz::InputWriter;
using imagekit::ImageBuilder;
using imagekit::Pattern;

constexpr std::size_t kMaxInput = 65536;

// Host file sizes for an Add step (fuzz_image.cpp): variant 0 takes the
// size from one byte, 1 from two, 3 counts down from one byte more than
// the largest file.
constexpr std::uint8_t kSmall = 0;
constexpr std::uint8_t kTwoBytes = 1;
constexpr std::uint8_t kNearLargest = 3;
// Rename and Label: variant 1 keeps the current name.
constexpr std::uint8_t kKeepName = 1;

void Write(const std::filesystem::path& folder, const std::string& name, std::span<const std::uint8_t> bytes) {
  if (bytes.size() > kMaxInput) throw std::length_error(name + " is longer than a fuzz input may be");
  std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + (folder / name).string());
}

void Write(const std::filesystem::path& folder, const std::string& name, const InputWriter& input) {
  Write(folder, name, input.Bytes());
}

// The disk as chunk records of its non-zero runs in the given container.
InputWriter AsChunks(Container kind, const core::DiskImageBuffer& disk) {
  InputWriter input(kind);
  input.Runs(fuzz::ComposedBytesOf(kind, disk));
  return input;
}

// Data that is zero but for one byte per sector, so that a full disk of
// files stays a short input.
std::vector<std::uint8_t> Sparse(std::size_t size, unsigned seed) {
  std::vector<std::uint8_t> bytes(size);
  for (std::size_t at = 100; at < size; at += core::kSectorPayload) bytes[at] = static_cast<std::uint8_t>(seed + at);
  return bytes;
}

// The script most seeds carry: something of every edit, with an erase
// before an addition so that freed slots and sectors are reused.
InputWriter EveryEdit(InputWriter input) {
  input.Edit(0, EditKind::Erase, 0, 1)
      .Edit(1, EditKind::Add, kTwoBytes, 0x10, 0x0C, 7)
      .Edit(2, EditKind::Rename, 0, 2, 3)
      .Edit(3, EditKind::Label, 0, 0, 4)
      .Edit(4, EditKind::Add, kSmall, 200, 0, 1)
      .Edit(5, EditKind::Add, kNearLargest, 0, 0, 2);
  return input;
}

// Six edits that each change a directory of identical entries (none can
// add: the directory fills the disk), so that each is followed by a scan.
InputWriter SixScans(InputWriter input) {
  input.Edit(0, EditKind::Erase, 0, 7)
      .Edit(1, EditKind::Rename, 0, 9, 2)
      .Edit(2, EditKind::Label, 0, 0, 3)
      .Edit(3, EditKind::Erase, 0, 100)
      .Edit(4, EditKind::Rename, 0, 50, 5)
      .Edit(5, EditKind::Label, 0, 0, 4);
  return input;
}

ImageBuilder Mixed() {
  ImageBuilder image;
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

// Files on every track of both sides: 62 files of 25 sectors.
ImageBuilder BothSides() {
  ImageBuilder image;
  for (int slot = 0; slot < 62; ++slot) {
    image.PlaceCodeFile(slot, "f" + std::to_string(slot), Sparse(25 * core::kSectorPayload - 9, slot));
  }
  return image;
}

// A MasterDOS directory of 240 slots over 8 extra tracks, most of them
// holding one-sector files, with erased ones between.
ImageBuilder LongDirectory() {
  ImageBuilder image;
  image.MasterDos("LONGDIR", 8);
  for (int slot = 0; slot < 230; ++slot) {
    image.PlaceCodeFile(slot, "s" + std::to_string(slot), Sparse(300, slot));
    if (slot % 7 == 3) image.Entry(slot).SetStatusType(0);
  }
  return image;
}

// A slot to repeat over the whole disk: slot 0 of a MasterDOS disk with
// `extraTracks` extra directory tracks, and a Code file of `sectorCount`
// sectors from track 4 sector 1. Repeated, every block's link is a slot's
// last two bytes, (4, extraTracks), and that block links to itself: every
// chain goes round that loop.
std::vector<std::uint8_t> LoopingSlot(std::string_view diskName, std::uint8_t extraTracks, int sectorCount) {
  ImageBuilder image;
  image.MasterDos(diskName, extraTracks);
  auto slot = image.Entry(0);
  slot.SetStatusType(core::kTypeCode);
  imagekit::SetFileName(slot, "loop");
  slot.SetSectorCount(sectorCount);
  slot.SetFirstSectorAddress({4, 1});
  image.Disk()[core::kDirEntrySize - 2] = 4;
  return {image.Disk().begin(), image.Disk().begin() + core::kDirEntrySize};
}

void WriteSeeds(const std::filesystem::path& folder) {
  InputWriter blank(Container::Raw, BodyLayout::Prefix);
  blank.Edit(0, EditKind::Add, kTwoBytes, 0xE8, 0x03)
      .Edit(1, EditKind::Add, kSmall, 100, 0, 1)
      .Edit(2, EditKind::Rename, 0, 0, 2)
      .Edit(3, EditKind::Erase, 0, 0)
      .Edit(4, EditKind::Label, kKeepName)
      .Edit(5, EditKind::Add, kNearLargest, 0x10);
  Write(folder, "blank-samdos", blank);

  Write(folder, "mixed-mgt", EveryEdit(AsChunks(Container::Mgt, Mixed().Disk())));

  ImageBuilder bdos;
  bdos.BDos("sixteen-char-nam");
  bdos.PlaceCodeFile(0, "one", Pattern(600, 8));
  bdos.PlaceFile(1, 21, "dir", Pattern(100, 9));
  bdos.PlaceFile(2, 9, "snap128", Pattern(5000, 10));
  Write(folder, "bdos-sad", EveryEdit(AsChunks(Container::Sad, bdos.Disk())));

  // Extra directory tracks, a zero-led name, a link off the disk's end,
  // a file past the directory's end.
  ImageBuilder extra;
  extra.MasterDos("EXTRA", 2);
  extra.PlaceCodeFile(0, std::string("\0zero", 5), Pattern(800, 11));
  const auto edge = extra.PlaceCodeFile(1, "edge", Pattern(1400, 12));
  const auto first = static_cast<std::size_t>(core::SectorOffset(edge.FirstTrack(), edge.FirstSector()));
  extra.Disk()[first + core::kSectorLinkOffset] = 208;
  extra.PlaceCodeFile(90, "far", Pattern(800, 13));
  Write(folder, "extra-raw", EveryEdit(AsChunks(Container::Raw, extra.Disk())));

  InputWriter both = AsChunks(Container::Mgt, BothSides().Disk());
  both.Edit(0, EditKind::Erase, 0, 40)
      .Edit(1, EditKind::Erase, 0, 10)
      .Edit(2, EditKind::Add, kTwoBytes, 0x00, 0x60, 3)
      .Edit(3, EditKind::Add, kNearLargest, 0, 0, 4)
      .Edit(4, EditKind::Rename, kKeepName, 5)
      .Edit(5, EditKind::Add, kTwoBytes, 0x00, 0x20, 5);
  Write(folder, "both-sides-mgt", both);

  Write(folder, "long-directory-sad", EveryEdit(AsChunks(Container::Sad, LongDirectory().Disk())));

  // The first 15 K of an MGT file: side 0 tracks 0-1 and side 1 track 0,
  // with a file on each side, as a plain prefix.
  ImageBuilder sides;
  const std::vector<core::SectorAddress> spread{{128, 1}, {128, 2}, {1, 5}, {129, 3}};
  sides.PlaceFileAt(0, core::kTypeCode, "spread", imagekit::SamFileBody(19, Pattern(1800, 14)), spread);
  const auto mgt = fuzz::ComposedBytesOf(Container::Mgt, sides.Disk());
  InputWriter prefix(Container::Mgt, BodyLayout::Prefix);
  prefix.Raw(std::span(mgt).first(3 * core::kBytesPerTrack));
  Write(folder, "prefix-mgt", EveryEdit(prefix));

  InputWriter tiled(Container::Raw, BodyLayout::Tiled);
  tiled.Raw(LoopingSlot("TILE", 3, 5));
  Write(folder, "tiled-raw", EveryEdit(tiled));

  // The largest directory, every chain going round a loop for 255 sectors,
  // scanned after each of six edits: a larger count in one byte shows
  // whether a scan stays linear in the disk's size.
  InputWriter largest(Container::Raw, BodyLayout::Tiled);
  largest.Raw(LoopingSlot("LARGEST", core::kMaxExtraDirTracks, 0xFF));
  Write(folder, "largest-directory-tiled", SixScans(largest));
}

// The reproduction: a, b and c added to a new disk, then slot 1
// made never-used, so that c is no longer listed, then x added.
ImageBuilder NeverUsedSlotBeforeFiles() {
  ImageBuilder image;
  image.PlaceCodeFile(0, "a", Pattern(1000, 21));
  image.PlaceCodeFile(1, "b", Pattern(100, 22));
  image.PlaceCodeFile(2, "c", Pattern(1000, 23));
  image.Disk()[core::SlotOffset(1)] = 0;
  image.Disk()[core::SlotOffset(1) + 1] = 0;
  return image;
}

void WriteRegression(const std::filesystem::path& folder) {
  InputWriter neverUsed = AsChunks(Container::Mgt, NeverUsedSlotBeforeFiles().Disk());
  neverUsed.Edit(0, EditKind::Add, kTwoBytes, 0xD0, 0x07);
  Write(folder, "never-used-slot-add", neverUsed);

  // The same on MasterDOS with slot 0 never used: nothing is listed, and
  // every file comes back with the addition.
  ImageBuilder hidden = NeverUsedSlotBeforeFiles();
  hidden.Disk()[core::SlotOffset(1)] = core::kTypeCode;
  hidden.Disk()[core::SlotOffset(1) + 1] = 'b';
  hidden.Disk()[core::SlotOffset(0)] = 0;
  hidden.Disk()[core::SlotOffset(0) + 1] = 0;
  hidden.MasterDos("HIDDEN");
  InputWriter hiddenInput = AsChunks(Container::Sad, hidden.Disk());
  hiddenInput.Edit(0, EditKind::Add, kTwoBytes, 0xD0, 0x07).Edit(1, EditKind::Add, kSmall, 50);
  Write(folder, "never-used-slot-0-add", hiddenInput);

  // Two listed files already share a sector (a damaged disk): an addition
  // must not be blamed for them, but must not add a third.
  ImageBuilder shared = NeverUsedSlotBeforeFiles();
  const auto a = shared.Entry(0);
  const std::vector<core::SectorAddress> overlap{a.FirstSectorAddress()};
  shared.PlaceFileAt(3, core::kTypeCode, "shares-a", imagekit::SamFileBody(19, Pattern(300, 24)), overlap);
  InputWriter sharedInput = AsChunks(Container::Raw, shared.Disk());
  sharedInput.Edit(0, EditKind::Add, kTwoBytes, 0xD0, 0x07).Edit(1, EditKind::Erase, 0, 0).Edit(2, EditKind::Add);
  Write(folder, "cross-linked-add", sharedInput);

  // Every command slow: 3,200 slots (more extra tracks than the disk
  // holds) each claiming 65,535 sectors of a looping chain.
  const auto loop = LoopingSlot("LOOPS", 200, 0xFFFF);
  InputWriter loopTiled(Container::Raw, BodyLayout::Tiled);
  loopTiled.Raw(loop);
  Write(folder, "looping-chains-tiled", SixScans(loopTiled));
  InputWriter loopChunks(Container::Sad);
  loopChunks.Chunk(core::kSadHeaderSize, loop, core::kMaxDirSlots - 1);
  Write(folder, "looping-chains-sad", SixScans(loopChunks));

  // A chain whose second sector links to (1, 33): no real sector, though
  // its offset is track 4 sector 3's, which the map leaves out. The chain
  // ends there, so extract gives two sectors' worth and an addition may
  // take that sector without changing the file.
  ImageBuilder aliased;
  const auto third = aliased.PlaceCodeFile(0, "aliased", Pattern(1200, 31));
  const auto second = static_cast<std::size_t>(core::SectorEnd(4, 2));
  aliased.Disk()[second - 2] = 1;
  aliased.Disk()[second - 1] = 33;
  third.SectorAddressMap()[0] &= static_cast<std::uint8_t>(~(1u << 2));
  InputWriter aliasedInput = AsChunks(Container::Mgt, aliased.Disk());
  aliasedInput.Edit(0, EditKind::Add, kSmall, 100);
  Write(folder, "chain-through-sector-33-add", aliasedInput);

  // Files whose SectorCount is one below the sectors their chain, map
  // and length use, as other tools wrote them.
  ImageBuilder shortCount;
  shortCount.PlaceCodeFile(0, "808", Pattern(808, 25)).SetSectorCount(1);
  shortCount.PlaceCodeFile(1, "15406", Pattern(15406, 26)).SetSectorCount(30);
  Write(folder, "sector-count-one-short", AsChunks(Container::Mgt, shortCount.Disk()));

  // SAM-DOS with a ZX screen in slot 0, whose length and start lie where
  // a disk name would go.
  ImageBuilder zx;
  zx.PlaceFile(0, 7, "zxscreen", Pattern(6912 + 9, 27)).SetWord(core::DirEntryField::ZxLength, 6912);
  zx.PlaceCodeFile(1, "after", Pattern(100, 28));
  InputWriter zxInput = AsChunks(Container::Raw, zx.Disk());
  zxInput.Edit(0, EditKind::Label, 0, 0, 3);
  Write(folder, "name-over-zx-slot-0", zxInput);
  // The same with an entry of type code 0 that only its protected bit
  // keeps listed: extract takes its length from the ZX field too.
  ImageBuilder typeZero;
  typeZero.PlaceFile(0, core::kProtectedBit, "protected", Pattern(500 + 9, 32))
      .SetWord(core::DirEntryField::ZxLength, 500);
  InputWriter typeZeroInput = AsChunks(Container::Raw, typeZero.Disk());
  typeZeroInput.Edit(0, EditKind::Label, 0, 0, 3);
  Write(folder, "name-over-type-0-slot-0", typeZeroInput);

  // By design: erasing the last listed file, whose name begins with a zero
  // byte, makes it the directory's end; nothing listed follows it.
  ImageBuilder zeroLed;
  zeroLed.PlaceCodeFile(0, "first", Pattern(500, 29));
  zeroLed.PlaceCodeFile(1, std::string("\0last", 5), Pattern(500, 30));
  InputWriter zeroLedInput = AsChunks(Container::Mgt, zeroLed.Disk());
  zeroLedInput.Edit(0, EditKind::Erase, 0, 1).Edit(1, EditKind::Add).Edit(2, EditKind::Erase, 0, 0);
  Write(folder, "erase-zero-led-last", zeroLedInput);
}

// Byte 0 picks what stands at the name, the operation and the name; byte 1
// the size of a file standing there and (bit 7) whether loads and saves
// take the image's lock; the rest is the start of the disk.
void WriteHostSeeds(const std::filesystem::path& folder) {
  const ImageBuilder mixed = Mixed();
  const auto& disk = mixed.Disk();
  for (int pick = 0; pick < 256; ++pick) {
    std::vector<std::uint8_t> bytes{static_cast<std::uint8_t>(pick),
                                    static_cast<std::uint8_t>(pick % 2 == 0 ? 40 : 0x80 | 40)};
    bytes.insert(bytes.end(), disk.begin(), disk.begin() + 2048);
    Write(folder, "host-" + std::to_string(pick), bytes);
  }
}

// An import input: the byte that picks the file's name (0 .dsk, 1 .sad,
// 2 .mgt, 3 .img), then the file.
std::vector<std::uint8_t> Named(std::uint8_t name, std::span<const std::uint8_t> file) {
  std::vector<std::uint8_t> input{name};
  input.insert(input.end(), file.begin(), file.end());
  return input;
}

constexpr std::uint8_t kDskName = 0;
constexpr std::uint8_t kSadName = 1;

// Every sector of the disk in its track, skewed as SAM disks are.
testing::TrackSpecs TracksOf(const core::DiskImageBuffer& disk) {
  testing::TrackSpecs tracks(core::kTracksPerSide * core::kSides);
  for (int cylinder = 0; cylinder < core::kTracksPerSide; ++cylinder) {
    for (int head = 0; head < core::kSides; ++head) {
      for (int i = 0; i < core::kSectorsPerTrack; ++i) {
        const int r = (i - cylinder % 10 + 10) % 10 + 1;
        const auto start = disk.begin() + static_cast<std::ptrdiff_t>(core::TrackSideOffset(head, cylinder) +
                                                                      std::size_t(r - 1) * core::kBytesPerSector);
        tracks[std::size_t(cylinder * 2 + head)].push_back({static_cast<std::uint8_t>(cylinder),
                                                            static_cast<std::uint8_t>(head),
                                                            static_cast<std::uint8_t>(r), 2, 0, 0,
                                                            {start, start + core::kBytesPerSector}});
      }
    }
  }
  return tracks;
}

// The first tracks of the disk, stored every way a track can go wrong, the
// rest unformatted: small enough to mutate as it stands.
testing::TrackSpecs DamagedTracks(const core::DiskImageBuffer& disk) {
  testing::TrackSpecs all = TracksOf(disk);
  testing::TrackSpecs tracks(all.size());
  std::copy_n(all.begin(), 4, tracks.begin());
  auto& t0 = tracks[0];
  t0[1].St2 = 0x20;                                  // CRC error
  t0.push_back(t0[1]);                               // and a good copy after it
  t0.back().St2 = 0;
  t0[2].St1 = 0x01;                                  // no data field
  t0[3].Data.resize(300);                            // cut short
  t0[4].N = 3;                                       // another size
  t0[5].C = 7;                                       // another cylinder's ID
  t0[6].Data.insert(t0[6].Data.end(), t0[6].Data.begin(), t0[6].Data.end());  // stored twice (weak)
  t0.erase(t0.begin() + 7);                          // missing
  auto& t3 = tracks[3];
  for (int i = 0; i < 30; ++i) t3.push_back({1, 1, static_cast<std::uint8_t>(0xC1 + i), 0, 0, 0, std::vector<std::uint8_t>(16)});
  return tracks;
}

void WriteImportSeeds(const std::filesystem::path& folder) {
  const ImageBuilder mixed = Mixed();
  const auto mgt = core::EncodeContainer(core::ContainerKind::Mgt, mixed.Disk());
  auto sad = core::EncodeContainer(core::ContainerKind::Sad, mixed.Disk());
  Write(folder, "gzip-mgt", Named(kDskName, testing::GzipBytes(mgt)));
  Write(folder, "gzip-sad", Named(kDskName, testing::GzipBytes(sad)));
  std::fill_n(sad.begin(), core::kSadHeaderSize, std::uint8_t{0});
  Write(folder, "gzip-sad-without-signature", Named(kSadName, testing::GzipBytes(sad)));
  const std::size_t half = mgt.size() / 2;
  auto joined = testing::GzipBytes(std::span(mgt).first(half));
  const auto second = testing::GzipBytes(std::span(mgt).subspan(half));
  joined.insert(joined.end(), second.begin(), second.end());
  Write(folder, "gzip-joined-members", Named(kDskName, joined));
  Write(folder, "gzip-edsk", Named(kDskName, testing::GzipBytes(testing::BuildEdsk(TracksOf(mixed.Disk())))));
  Write(folder, "gzip-dsk", Named(kDskName, testing::GzipBytes(testing::BuildDsk(TracksOf(mixed.Disk())))));
  Write(folder, "edsk-damaged-tracks", Named(kDskName, testing::BuildEdsk(DamagedTracks(mixed.Disk()))));
  const auto dsk = testing::BuildDsk(TracksOf(mixed.Disk()));
  Write(folder, "dsk-cut-short", Named(kDskName, std::span(dsk).first(256 + 5 * (256 + 10 * 512) + 700)));
  Write(folder, "edsk-of-40-cylinders", Named(kDskName, testing::BuildEdsk(testing::TrackSpecs(80), 40, 1)));
  std::vector<std::uint8_t> sadHeader(core::kSadHeaderSize + 100);
  const std::string_view signature = "Yolt's disk backup";
  std::copy(signature.begin(), signature.end(), sadHeader.begin());
  Write(folder, "sad-signature-only", Named(kSadName, sadHeader));
}

void WriteImportRegression(const std::filesystem::path& folder) {
  // Saved as MGT, a disk whose first sector begins with a signature was
  // read as the format it names.
  const std::string_view signatures[] = {"Yolt's disk backup", "EXTENDED CPC DSK File", "MV - CPCEMU Disk-File"};
  constexpr std::uint8_t kMgtName = 2;
  for (std::size_t i = 0; i < std::size(signatures); ++i) {
    ImageBuilder image = Mixed();
    std::copy(signatures[i].begin(), signatures[i].end(), image.Disk().begin());
    const auto mgt = core::EncodeContainer(core::ContainerKind::Mgt, image.Disk());
    Write(folder, "mgt-beginning-with-a-signature-" + std::to_string(i), Named(kMgtName, testing::GzipBytes(mgt)));
  }
}

// A BASIC line: number (high byte first), length, text and its 0x0D.
void AddLine(std::vector<std::uint8_t>& program, int number, std::vector<std::uint8_t> text) {
  text.push_back(0x0D);
  program.insert(program.end(), {static_cast<std::uint8_t>(number >> 8), static_cast<std::uint8_t>(number),
                                 static_cast<std::uint8_t>(text.size()), static_cast<std::uint8_t>(text.size() >> 8)});
  program.insert(program.end(), text.begin(), text.end());
}

// Byte 0: 0 a listing of every line, 2 of the range in bytes 1-4, 1 a
// picture of the mode byte in byte 1; the data from byte 5.
std::vector<std::uint8_t> DecodeInput(std::array<std::uint8_t, 5> header, std::span<const std::uint8_t> data) {
  std::vector<std::uint8_t> input(header.begin(), header.end());
  input.insert(input.end(), data.begin(), data.end());
  return input;
}

void WriteBasicScreenSeeds(const std::filesystem::path& folder) {
  std::vector<std::uint8_t> program;
  std::vector<std::uint8_t> commands;
  for (int code = 0x85; code < 0xFF; ++code) commands.push_back(static_cast<std::uint8_t>(code));
  AddLine(program, 10, commands);
  std::vector<std::uint8_t> functions;
  for (int code = 0x2F; code <= 0x85; ++code) functions.insert(functions.end(), {0xFF, static_cast<std::uint8_t>(code)});
  AddLine(program, 20, functions);
  AddLine(program, 30, {'P', 'R', 'I', 'N', 'T', '"', 0x80, 0x8F, 0x90, 0xFF, '"', 0x10, 2, 0x16, 1, 2, 0x7F,
                        '1', 0x0E, 0, 0, 1, 0, 0, ':', 0x05, 0xFF});
  AddLine(program, 0xFEFF, {'R', 'E', 'M', 0x0D, 'h', 'i', 'd'});
  program.insert(program.end(), {0xFF, 'v', 'a', 'r', 's'});
  Write(folder, "basic-every-code", DecodeInput({0, 0, 0, 0, 0}, program));
  Write(folder, "basic-lines-20-30", DecodeInput({2, 0, 20, 0, 30}, program));
  Write(folder, "basic-cut-in-a-line", DecodeInput({0, 0, 0, 0, 0}, std::span(program).first(program.size() - 40)));
  std::vector<std::uint8_t> header;
  AddLine(header, 5, {'C', 'L', 'S'});
  header.insert(header.end(), {0, 7});
  Write(folder, "basic-cut-in-a-header", DecodeInput({0, 0, 0, 0, 0}, header));

  for (std::uint8_t modeByte = 0; modeByte < 4; ++modeByte) {
    const std::size_t bytes = modeByte == 0 ? 6912 : modeByte == 1 ? 14336 : 24576;
    std::vector<std::uint8_t> data = Pattern(bytes, modeByte + 40u);
    for (int i = 0; i < 40; ++i) data.push_back(static_cast<std::uint8_t>(i * 3));
    // Line interrupts: a change on row 10, one past entry 15, one on the
    // last row (shows nowhere), then the table's end.
    data.insert(data.end(), {10, 3, 0x7F, 0, 50, 16, 1, 0, 191, 2, 5, 0, 0xFF});
    Write(folder, "screen-mode-" + std::to_string(modeByte + 1), DecodeInput({1, modeByte, 0, 0, 0}, data));
  }
  Write(folder, "screen-too-short", DecodeInput({1, 0, 0, 0, 0}, Pattern(100, 50)));
  Write(folder, "screen-mode-byte-9", DecodeInput({1, 9, 0, 0, 0}, Pattern(7000, 51)));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUT\n", argv[0]);
    return 2;
  }
  try {
    const std::filesystem::path out = argv[1];
    const struct {
      const char* Folder;
      void (*WriteInputs)(const std::filesystem::path&);
    } sets[] = {{"image", WriteSeeds},
                {"regression", WriteRegression},
                {"host", WriteHostSeeds},
                {"import", WriteImportSeeds},
                {"import-regression", WriteImportRegression},
                {"basic-screen", WriteBasicScreenSeeds}};
    for (const auto& set : sets) {
      std::filesystem::create_directories(out / set.Folder);
      set.WriteInputs(out / set.Folder);
    }
    return 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
}
