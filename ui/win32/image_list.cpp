#include "image_list.hpp"

#include <cstring>
#include <optional>
#include <span>
#include <vector>

#include "resource_ids.h"

namespace vellonix::ui::win {

namespace {

std::span<const BYTE> ResourceBytes(HMODULE module, LPCWSTR name, LPCWSTR type) {
  HRSRC found = FindResourceW(module, name, type);
  HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
  const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (bytes == nullptr) return {};
  return {static_cast<const BYTE*>(bytes), SizeofResource(module, found)};
}

// The straight-alpha pixels of icon `resource`'s picture of exactly `size`
// pixels, as 32-bit rows from the bottom up; nothing when it has no such
// picture stored as a plain 32-bit bitmap.
std::optional<std::span<const BYTE>> PlainPicture(HMODULE module, int resource, int size) {
  const auto group = ResourceBytes(module, MAKEINTRESOURCEW(resource), RT_GROUP_ICON);
  if (group.empty()) return std::nullopt;
  const int id = LookupIconIdFromDirectoryEx(const_cast<BYTE*>(group.data()), TRUE, size, size, LR_DEFAULTCOLOR);
  if (id == 0) return std::nullopt;
  const auto picture = ResourceBytes(module, MAKEINTRESOURCEW(id), RT_ICON);
  BITMAPINFOHEADER header{};
  if (picture.size() < sizeof header) return std::nullopt;
  std::memcpy(&header, picture.data(), sizeof header);
  const std::size_t pixels = static_cast<std::size_t>(size) * static_cast<std::size_t>(size) * 4;
  // An icon's bitmap is twice its height: the colours, then the mask.
  if (header.biSize < sizeof header || header.biWidth != size || header.biHeight != 2 * size ||
      header.biBitCount != 32 || header.biCompression != BI_RGB || picture.size() - header.biSize < pixels)
    return std::nullopt;
  return picture.subspan(header.biSize, pixels);
}

// All 30 pictures side by side in one bitmap, so the list takes them in one
// step: loading each as an icon costs more than the rest of the window.
HBITMAP PlainStrip(int size) {
  HMODULE module = GetModuleHandleW(nullptr);
  const std::size_t row = static_cast<std::size_t>(size) * 4;
  std::vector<std::span<const BYTE>> pictures;
  for (int number = 0; number < kImageListCount; ++number) {
    const auto picture = PlainPicture(module, VELLONIX_ICON_LIST_FIRST + number, size);
    if (!picture) return nullptr;
    pictures.push_back(*picture);
  }
  BITMAPINFO info{};
  info.bmiHeader = {sizeof info.bmiHeader, size * kImageListCount, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP strip = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (strip == nullptr || bits == nullptr) return strip;
  auto* target = static_cast<BYTE*>(bits);
  const std::size_t stripRow = row * kImageListCount;
  for (std::size_t n = 0; n < pictures.size(); ++n)
    for (int y = 0; y < size; ++y)  // the strip runs top down, the icons bottom up
      std::memcpy(target + static_cast<std::size_t>(y) * stripRow + n * row,
                  pictures[n].data() + static_cast<std::size_t>(size - 1 - y) * row, row);
  return strip;
}

}  // namespace

HICON LoadIconAt(int resource, int size) {
  return static_cast<HICON>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

int ListIconSize(UINT dpi) { return GetSystemMetricsForDpi(SM_CXSMICON, dpi); }

ImageList::ImageList(int size)
    : list_(ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, kImageListCount, 0)), size_(size) {
  if (HBITMAP strip = PlainStrip(size)) {
    const bool added = ImageList_Add(list_, strip, nullptr) == 0;
    DeleteObject(strip);
    if (added && ImageList_GetImageCount(list_) == kImageListCount) return;
    ImageList_RemoveAll(list_);
  }
  // A size the resources lack: each icon scaled from its nearest picture.
  for (int number = 0; number < kImageListCount; ++number) {
    HICON icon = LoadIconAt(VELLONIX_ICON_LIST_FIRST + number, size);
    // A missing picture keeps the numbering: an empty one stands in.
    if (icon == nullptr || ImageList_AddIcon(list_, icon) < 0)
      ImageList_SetImageCount(list_, static_cast<UINT>(number + 1));
    if (icon != nullptr) DestroyIcon(icon);
  }
}

ImageList::~ImageList() { ImageList_Destroy(list_); }

}  // namespace vellonix::ui::win
