#include "image_list.hpp"

#include <QPainter>
#include <QSvgRenderer>

// The icons are compiled into a static library, whose resources the linker
// would drop unless something asks for them.
static void InitIconResources() {
  static const bool once = [] {
    Q_INIT_RESOURCE(icons);
    return true;
  }();
  (void)once;
}

namespace vellonix::ui::qt {

QPixmap SvgPixmap(const QString& resource, int size) {
  InitIconResources();
  QSvgRenderer renderer(resource);
  if (!renderer.isValid()) return {};
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  renderer.render(&painter);
  return pixmap;
}

namespace {

QIcon SvgIcon(const QString& resource, std::initializer_list<int> sizes) {
  QIcon icon;
  for (const int size : sizes) {
    const QPixmap pixmap = SvgPixmap(resource, size);
    if (!pixmap.isNull()) icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace

ImageList::ImageList() {
  for (int number = 0; number < kImageListCount; ++number) {
    const QString resource = QStringLiteral(":/icons/list/%1.svg").arg(number, 2, 10, QLatin1Char('0'));
    icons_[static_cast<std::size_t>(number)] = SvgIcon(resource, {kImageListSize, 2 * kImageListSize});
  }
}

QIcon ImageList::Icon(int number) const {
  if (number < 0 || number >= kImageListCount) return {};
  return icons_[static_cast<std::size_t>(number)];
}

QIcon ProgramIcon() { return SvgIcon(QStringLiteral(":/icons/app/program.svg"), {16, 32, 48, 64, 128}); }

}  // namespace vellonix::ui::qt
