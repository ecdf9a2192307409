#include "host_path.hpp"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

#include "vellonix/core/host_file.hpp"

namespace vellonix::ui::qt {

#ifdef Q_OS_WIN
// The logic's paths are UTF-8 on Windows; Qt's local encoding there is the
// ANSI code page, which cannot hold every name.
std::string HostPath(const QString& path) { return path.toUtf8().toStdString(); }
QString QtPath(const std::string& hostPath) { return QString::fromStdString(hostPath); }
#else
std::string HostPath(const QString& path) { return QFile::encodeName(path).toStdString(); }
QString QtPath(const std::string& hostPath) { return QFile::decodeName(QByteArray::fromStdString(hostPath)); }
#endif

std::string HostPathKeeping(const QString& chosen, const std::string& proposal) {
  std::string kept = proposal;
  for (bool whole = true; !kept.empty(); whole = false) {
    const QString shown = QtPath(kept);
    const bool atBoundary = whole || chosen.size() == shown.size() || chosen.at(shown.size()) == QLatin1Char('/');
    if (chosen.startsWith(shown) && atBoundary) return kept + HostPath(chosen.mid(shown.size()));
    const std::size_t slash = kept.find_last_of('/');
    if (slash == std::string::npos || slash == 0) break;
    kept.resize(slash);
  }
  return HostPath(chosen);
}

bool HostFileExists(const std::string& hostPath) {
  return core::KindOfHostFile(hostPath) != core::HostFileKind::Missing;
}

#ifdef Q_OS_WIN
bool HostFileWritable(const std::string& hostPath) { return QFileInfo(QtPath(hostPath)).isWritable(); }
#else
bool HostFileWritable(const std::string& hostPath) { return ::access(hostPath.c_str(), W_OK) == 0; }
#endif

std::optional<std::string> HostPathOfUrl(const QUrl& url) {
  if (!url.isLocalFile()) return std::nullopt;
#ifdef Q_OS_WIN
  return HostPath(url.toLocalFile());
#else
  // A file URL's path is the name's bytes, percent-encoded.
  const QByteArray bytes = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
  if (bytes.isEmpty()) return std::nullopt;
  return bytes.toStdString();
#endif
}

std::vector<std::string> LocalFilesOf(const QList<QUrl>& urls) {
  std::vector<std::string> files;
  for (const QUrl& url : urls) {
    if (std::optional<std::string> path = HostPathOfUrl(url)) files.push_back(std::move(*path));
  }
  return files;
}

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
  std::vector<std::string> arguments;
#ifdef Q_OS_WIN
  (void)argc;
  (void)argv;
  const QStringList all = QCoreApplication::arguments();
  for (qsizetype i = 1; i < all.size(); ++i) arguments.push_back(HostPath(all[i]));
#else
  for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
#endif
  return arguments;
}

}  // namespace vellonix::ui::qt
