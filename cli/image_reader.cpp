#include "image_reader.hpp"

#include <cstdio>
#include <stdexcept>
#include <string>

#include "command.hpp"
#include "terminal_text.hpp"

namespace vellonix::cli {

ImageListing ImageReader::List(std::string_view path) {
  // As the loader: a FIFO, a device or a folder is no image, and is refused
  // before it is opened (a FIFO would wait for a writer).
  if (!file_.Open(path)) ThrowInvalidImage(path);
  const auto container = core::RecogniseContainer(file_.Size(), path);
  if (!container) ThrowInvalidImage(path);
  ImageListing image{*container, core::ListDirectory(core::ContainerView(*container, file_.Bytes()))};
  file_.CheckWhole();
  file_.Close();
  return image;
}

void ReportSkipped(std::string_view path, std::string_view message) {
  std::fprintf(stderr, "%s: %.*s\n", HostTextForTerminal(path).c_str(), static_cast<int>(message.size()),
               message.data());
}

bool ForEachImage(ImageReader& reader, std::span<const std::string> paths,
                  const std::function<void(const std::string& path, const ImageListing& image)>& each) {
  bool allRead = true;
  // Asking costs an open per image: once a run of images has been found in
  // the host's cache, only every kImagesReadAhead-th is asked about, and
  // one that is not cached starts the asking again.
  std::size_t cachedInARow = 0;
  const auto readAhead = [&](std::size_t i) {
    if (i >= paths.size() || (cachedInARow >= kImagesReadAhead && i % kImagesReadAhead != 0)) return;
    cachedInARow = core::ReadAheadHostFile(paths[i]) ? 0 : cachedInARow + 1;
  };
  for (std::size_t i = 0; i < kImagesReadAhead; ++i) readAhead(i);
  for (std::size_t i = 0; i < paths.size(); ++i) {
    readAhead(i + kImagesReadAhead);
    const std::string& path = paths[i];
    ImageListing image;
    try {
      image = reader.List(path);
    } catch (const std::runtime_error& error) {
      // A refused image or a host error: its text names the path.
      std::fprintf(stderr, "%s\n", HostTextForTerminal(error.what()).c_str());
      allRead = false;
      continue;
    }
    each(path, image);
  }
  return allRead;
}

}  // namespace vellonix::cli
