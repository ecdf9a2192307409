// Build tool: renders an SVG icon to square PNGs for the desktop's icon
// theme, with the renderer the program draws its own icons with.
//   vellonix-render-icon ICON.svg OUTPUT-PATTERN SIZE...
// OUTPUT-PATTERN holds "{size}", replaced by each size ("16" gives
// .../16x16/... when the pattern says "{size}x{size}").
#include <cstdio>

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s ICON.svg OUTPUT-PATTERN SIZE...\n", argv[0]);
    return 2;
  }
  QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
  if (!renderer.isValid()) {
    std::fprintf(stderr, "%s: not a valid SVG icon\n", argv[1]);
    return 1;
  }
  const QString pattern = QString::fromLocal8Bit(argv[2]);
  for (int i = 3; i < argc; ++i) {
    bool isNumber = false;
    const int size = QString::fromLatin1(argv[i]).toInt(&isNumber);
    if (!isNumber || size <= 0 || size > 1024) {
      std::fprintf(stderr, "%s: not an icon size\n", argv[i]);
      return 2;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
      QPainter painter(&image);
      painter.setRenderHint(QPainter::Antialiasing);
      renderer.render(&painter);
    }
    const QString output = QString(pattern).replace(QStringLiteral("{size}"), QString::number(size));
    QDir().mkpath(QFileInfo(output).absolutePath());
    if (!image.save(output, "PNG")) {
      std::fprintf(stderr, "%s: cannot write\n", qPrintable(output));
      return 1;
    }
  }
  return 0;
}
