// A stand-in for the host's desktop ties: it holds "the system's" state,
// records every state written back, and fails when told to.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "vellonix/integration/shell_integration.hpp"

namespace vellonix::ui::testing {

using integration::IntegrationError;
using integration::IntegrationState;

class StandInTies : public integration::ShellIntegration {
 public:
  IntegrationState System;
  std::vector<IntegrationState> Applied;
  std::optional<std::string> ReadFailure;
  std::optional<std::string> ApplyFailure;

  IntegrationState Read() override {
    if (ReadFailure) throw IntegrationError(*ReadFailure);
    return System;
  }
  void Apply(const IntegrationState& state) override {
    Applied.push_back(state);
    if (ApplyFailure) throw IntegrationError(*ApplyFailure);
    System = state;
  }
  integration::IntegrationLocations Locations() override { return {}; }
};

}  // namespace vellonix::ui::testing
