#include "image_edit.hpp"

#include "vellonix/core/image_file.hpp"
#include "vellonix/core/list_row.hpp"
#include "vellonix/core/listing.hpp"
#include "vellonix/core/text.hpp"
#include "vellonix/fileops/edit_entry.hpp"

namespace vellonix::cli {

ScannedImage LoadAndScan(std::string_view path, Access access) {
  auto lock = std::make_unique<core::ImageLock>(
      path, access == Access::Change ? core::ImageLock::Mode::Exclusive : core::ImageLock::Mode::Shared);
  LoadedImage image = LoadImageOrFail(path);
  core::DirectoryState state = core::ListDirectory(*image.Disk).State;
  return {std::move(lock), std::string(path), std::move(image), std::move(state)};
}

void ScannedImage::Save() const { core::SaveImageFile(Path, *Image.Disk); }

int RowOfFileNumber(const core::DirectoryState& state, int fileNumber) {
  const auto row = fileNumber >= 1 ? fileops::RowOfSlot(state, fileNumber - 1) : std::nullopt;
  if (!row) throw CommandError("no file in the list has File # " + std::to_string(fileNumber));
  return *row;
}

int SlotOfFileOfType(const ScannedImage& image, int fileNumber, int typeCode, std::string_view what) {
  const int row = RowOfFileNumber(image.State, fileNumber);
  const int slot = image.State.ListedSlots[static_cast<std::size_t>(row)];
  const core::ConstDirEntry entry = core::DirSlot(*image.Image.Disk, slot);
  if (entry.TypeCode() == typeCode) return slot;
  const std::string_view typeName = core::FileTypeNames[static_cast<std::size_t>(core::TypeIndex(entry.StatusType()))];
  throw CommandError("File # " + std::to_string(fileNumber) + " is of type " + std::string(typeName) + " (" +
                     std::to_string(entry.TypeCode()) + "), not " + std::string(what) + " (" +
                     std::to_string(typeCode) + ")");
}

std::string SamBytesOrFail(std::string_view utf8, std::string_view what) {
  auto bytes = core::Utf8ToLatin1(utf8);
  if (!bytes) throw CommandError(std::string(what) + " holds a character that no SAM byte stands for");
  return std::move(*bytes);
}

void CheckNameLength(std::string_view name, std::size_t maxLength, std::string_view what) {
  if (name.size() <= maxLength) return;
  throw CommandError(std::string(what) + " is longer than " + std::to_string(maxLength) + " characters");
}

}  // namespace vellonix::cli
