#include "image_list.hpp"

#include "resource_ids.h"

namespace vellonix::ui::win {

HICON LoadIconAt(int resource, int size) {
  return static_cast<HICON>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

int ListIconSize(UINT dpi) { return GetSystemMetricsForDpi(SM_CXSMICON, dpi); }

ImageList::ImageList(int size)
    : list_(ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, kImageListCount, 0)), size_(size) {
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
