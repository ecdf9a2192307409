// Unpacking gzip data: members joined as gzip files are, and data that
// cannot be unpacked refused with the reason, never more than the limit.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gzip_builder.hpp"
#include "vellonix/formats/gzip_data.hpp"

namespace {

using Bytes = std::vector<std::uint8_t>;
using vellonix::testing::GzipBytes;

Bytes Join(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(Gunzip, UnpacksJoinedMembersAndRefusesWhatCannotBeUnpacked) {
  constexpr std::size_t kLimit = 5000;
  Bytes first(3000), second(1500);
  for (std::size_t i = 0; i < first.size(); ++i) first[i] = static_cast<std::uint8_t>(i * 7 / 3);
  for (std::size_t i = 0; i < second.size(); ++i) second[i] = static_cast<std::uint8_t>(i % 13);
  const Bytes one = GzipBytes(first);
  Bytes badCheck = one;
  badCheck[badCheck.size() - 8] ^= 1;  // the trailer's CRC-32
  const struct {
    const char* What;
    Bytes File;
    Bytes Unpacked;
    std::string Error;
  } cases[] = {
      {"one member", one, first, ""},
      {"two joined", Join(one, GzipBytes(second)), Join(first, second), ""},
      {"trailing bytes that are no member", Join(one, {'x', 'y'}), first, ""},
      {"cut short", Bytes(one.begin(), one.end() - 5), {}, "the gzip data are cut short"},
      {"a wrong check value", badCheck, {}, "the gzip data are damaged: incorrect data check"},
      {"a member past the limit", Join(one, GzipBytes(Bytes(kLimit, 0))), {},
       "the gzip data unpack to more than 5000 bytes, more than any disk image"},
  };
  for (const auto& c : cases) {
    const auto result = vellonix::formats::Gunzip(c.File, kLimit);
    EXPECT_EQ(result.Error, c.Error) << c.What;
    EXPECT_TRUE(result.Bytes == c.Unpacked) << c.What;
  }
  EXPECT_TRUE(vellonix::formats::IsGzip(one));
  EXPECT_FALSE(vellonix::formats::IsGzip(Bytes{0x1F}));
  EXPECT_FALSE(vellonix::formats::IsGzip(first));
}

}  // namespace
