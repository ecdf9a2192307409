// TForm1: images named on the command line and dropped onto the window. The
// last image is opened here; each earlier one goes to a new instance.
#include "vellonix/core/host_file.hpp"
#include "vellonix/core/text.hpp"
#include "vellonix/ui/form1.hpp"

namespace vellonix::ui {

namespace {

// Only a regular file (or a link to one) counts: a directory is no image,
// and opening a pipe or a device could block the program. A name the host
// cannot even look at names none, and the arguments after it still count.
bool NamesExistingFile(const std::string& path) {
  try {
    return !path.empty() && core::KindOfHostFile(path) == core::HostFileKind::Regular;
  } catch (const core::HostIoError&) {
    return false;
  }
}

bool HasImageExtension(const std::string& name) {
  return core::HasExtension(name, ".MGT") || core::HasExtension(name, ".SAD");
}

}  // namespace

void TForm1::ColdStart(const std::vector<std::string>& arguments) {
  // Nothing can be modified yet, so no unsaved-changes prompt is asked.
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    if (!NamesExistingFile(arguments[i])) continue;
    LoadName = arguments[i];
    if (i + 1 == arguments.size()) {
      LoadDiskImage();
    } else {
      OpenInNewInstance(arguments[i]);
    }
  }
}

void TForm1::FilesDropped(const std::vector<std::string>& files) {
  ui_.BringToFront();
  for (std::size_t i = 0; i < files.size(); ++i) {
    // Names are kept whole: a cut name would open another file, or none.
    const std::string& name = files[i];
    if (!HasImageExtension(name)) {
      ui_.Beep();
      continue;
    }
    if (i + 1 < files.size()) {
      OpenInNewInstance(name);
      continue;
    }
    // The earlier images are already on their way before the user answers.
    ui_.BringToFront();
    if (!SaveChanges()) return;
    LoadName = name;
    LoadDiskImage();
  }
}

void TForm1::OpenInNewInstance(const std::string& file) { launcher_.StartInstance(file); }

}  // namespace vellonix::ui
