// ImageList1, the program icon and the About picture, drawn from the SVGs
// bundled as Qt resources.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>
#include <array>

namespace vellonix::ui::qt {

inline constexpr int kImageListSize = 16;
inline constexpr int kImageListCount = 30;

class ImageList {
 public:
  ImageList();
  // Icon `number` (0-29); a null icon for any other number.
  QIcon Icon(int number) const;

 private:
  std::array<QIcon, kImageListCount> icons_;
};

// Renders the SVG resource at `size` pixels square (null when the
// resource is missing).
QPixmap SvgPixmap(const QString& resource, int size);

QIcon ProgramIcon();

}  // namespace vellonix::ui::qt
