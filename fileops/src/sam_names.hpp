// Writing name texts into fixed-width directory fields. Internal.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace vellonix::fileops::detail {

// The bytes of `text`, cut to the field's width or padded with spaces.
void PutPadded(std::span<std::uint8_t> field, std::string_view text);

}  // namespace vellonix::fileops::detail
