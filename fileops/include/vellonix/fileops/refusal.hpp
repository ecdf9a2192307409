// A change the file operations refuse, and the user is told of.
#pragma once

#include <string_view>

namespace vellonix::fileops {

// The message and the width of its error box.
struct Refusal {
  std::string_view Message;
  int BoxWidth = 0;
  friend bool operator==(const Refusal&, const Refusal&) = default;
};

}  // namespace vellonix::fileops
