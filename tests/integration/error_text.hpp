// The text of the failure a desktop-ties call ends with, so that a table of
// cases can say "no failure" as "".
#pragma once

#include <string>

#include "vellonix/integration/shell_integration.hpp"

namespace vellonix::testing {

template <typename Action>
std::string ErrorOf(Action action) {
  try {
    action();
  } catch (const integration::IntegrationError& error) {
    return error.what();
  }
  return "";
}

}  // namespace vellonix::testing
