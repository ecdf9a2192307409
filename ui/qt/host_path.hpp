// Where host paths meet Qt strings. The logic takes a path as the host's
// own bytes in a std::string (UTF-8 on Windows); on Linux those bytes need
// not be UTF-8, and Qt's strings cannot hold every such name, so paths are
// taken from the host's bytes wherever it gives them (the command line, a
// drop's URLs) and converted with the host's file-name encoding elsewhere.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <QList>
#include <QString>

class QUrl;

namespace vellonix::ui::qt {

// A path from Qt (a file dialog) for the logic, and back for showing it.
std::string HostPath(const QString& path);
QString QtPath(const std::string& hostPath);

// The host path of what the user chose in a file dialog that proposed
// `proposal` (a host path). A name that is no UTF-8 reaches the dialog with
// U+FFFD in its place and would come back as another file: where the choice
// begins with the proposal as the dialog showed it, or with one of its
// folders, those bytes are the proposal's own.
std::string HostPathKeeping(const QString& chosen, const std::string& proposal);

// Whether the host file exists (of any kind), and whether we may write it.
bool HostFileExists(const std::string& hostPath);
bool HostFileWritable(const std::string& hostPath);

// The host path of a dropped or pasted URL; nothing when it names no local
// file. The URL's own bytes are kept, so a name that is no UTF-8 survives.
std::optional<std::string> HostPathOfUrl(const QUrl& url);
std::vector<std::string> LocalFilesOf(const QList<QUrl>& urls);

// The command-line arguments after the program's own path, once QApplication
// has taken its options out of argc and argv: the bytes as given on POSIX
// hosts, Qt's Unicode view of the command line on Windows.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

}  // namespace vellonix::ui::qt
