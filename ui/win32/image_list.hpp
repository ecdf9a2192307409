// ImageList1 and the program's pictures, from the icon resources that the
// executable carries (rendered at build time from the same SVG sources as
// the Linux program's icons).
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace vellonix::ui::win {

inline constexpr int kImageListCount = 30;

class ImageList {
 public:
  // The 30 list icons at `size` pixels square.
  explicit ImageList(int size);
  ImageList(const ImageList&) = delete;
  ImageList& operator=(const ImageList&) = delete;
  ~ImageList();

  HIMAGELIST Get() const { return list_; }
  int Size() const { return size_; }

 private:
  HIMAGELIST list_;
  int size_;
};

// An icon resource of the executable at `size` pixels square, scaled from
// the nearest picture where it has none of that size; the caller destroys
// it. Null when the resource is missing.
HICON LoadIconAt(int resource, int size);

// The list icons' size for a screen of `dpi`.
int ListIconSize(UINT dpi);

}  // namespace vellonix::ui::win
