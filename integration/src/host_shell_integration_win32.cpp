// The desktop ties of the running Windows: the registry and the shell
// folders of the user who runs the program.
#include <utility>

#include "vellonix/integration/registry_win32.hpp"

namespace vellonix::integration {

namespace {

class HostShellIntegration final : public ShellIntegration {
 public:
  explicit HostShellIntegration(std::string programPath)
      : registry_(MakeWin32Registry(HostClassesRoot(), HostCurrentUserRoot())),
        files_(MakeWin32ShellFiles()),
        integration_(*registry_, *files_, std::move(programPath)) {}

  IntegrationState Read() override { return integration_.Read(); }
  void Apply(const IntegrationState& state) override { integration_.Apply(state); }
  IntegrationLocations Locations() override { return integration_.Locations(); }

 private:
  std::unique_ptr<Registry> registry_;
  std::unique_ptr<ShellFiles> files_;
  RegistryShellIntegration integration_;
};

}  // namespace

std::unique_ptr<ShellIntegration> MakeHostShellIntegration(const std::string& programPath) {
  return std::make_unique<HostShellIntegration>(programPath);
}

}  // namespace vellonix::integration
