// The in-place move from MGT order to the disk buffer's order agrees with
// the container decoding of the core.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "vellonix/core/container.hpp"
#include "vellonix/formats/disk_order.hpp"

namespace {

using namespace vellonix;

TEST(DiskOrder, MgtOrderInPlaceEqualsTheDecodedContainer) {
  std::vector<std::uint8_t> file(core::kMgtFileSize);
  for (std::size_t i = 0; i < file.size(); ++i) file[i] = static_cast<std::uint8_t>(i / core::kBytesPerTrack + i);
  auto expected = std::make_unique<core::DiskImageBuffer>();
  core::DecodeContainer(core::ContainerKind::Mgt, file, *expected);

  auto disk = std::make_unique<core::DiskImageBuffer>();
  std::copy(file.begin(), file.end(), disk->begin());
  formats::MgtOrderToDiskOrder(*disk);
  EXPECT_TRUE(*disk == *expected);
}

}  // namespace
