// The Options boxes in freedesktop terms, for one user and never for the
// whole system:
//   MGT, SAD       the image type is known (our shared-mime-info package in
//                  the user's data folder when the system has none) and the
//                  program's desktop entry is its default in the user's
//                  mimeapps.list; unticking takes back only our default.
//   the icon       which of the program's three icons the user's hicolor
//                  theme holds under the types' icon names.
//   Desktop        a launcher in the desktop folder.
//   Quick Launch   no such place: unavailable, left alone.
//   Start menu     the program's desktop entry in the user's applications.
//   Send to        a Dolphin service menu and a Nautilus script.
//   Program group  a "SAM Coupé" submenu holding the program's entry.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "vellonix/integration/shell_integration.hpp"

namespace vellonix::integration {

// The user's folders, as the XDG base directory conventions give them.
struct FreedesktopPlaces {
  std::filesystem::path Home;
  std::filesystem::path DataHome;    // $XDG_DATA_HOME, ~/.local/share
  std::filesystem::path ConfigHome;  // $XDG_CONFIG_HOME, ~/.config
  std::vector<std::filesystem::path> DataDirs;  // $XDG_DATA_DIRS: the system's
};

// Runs a desktop tool (argv[0] looked up on PATH) and waits for it; a
// missing tool is no error.
using ToolRunner = std::function<void(const std::vector<std::string>& argv)>;

class FreedesktopShellIntegration final : public ShellIntegration {
 public:
  FreedesktopShellIntegration(FreedesktopPlaces places, std::string programPath, ToolRunner runTool);

  IntegrationState Read() override;
  void Apply(const IntegrationState& state) override;
  IntegrationLocations Locations() override;

 private:
  std::filesystem::path DesktopFolder() const;
  std::filesystem::path ApplicationEntry() const;
  std::filesystem::path MimeappsList() const;
  std::filesystem::path TypeIcon(int type) const;
  std::filesystem::path ServiceMenu() const;
  std::filesystem::path NautilusScript() const;
  std::filesystem::path GroupEntry() const;
  std::filesystem::path GroupMenu() const;
  std::filesystem::path GroupDirectory() const;

  bool TypeKnown(int type) const;
  bool IsOurDefault(int type) const;
  std::uint16_t InstalledIconIndex() const;

  std::string ProgramEntry(bool shownInMenus) const;
  void PlaceTypes(std::uint16_t iconIndex);
  void PlaceApplicationEntry(const IntegrationState& state);
  void PlaceDefaults(const IntegrationState& state);
  void PlaceDesktopLauncher(bool ticked);
  void PlaceSendTo(bool ticked);
  void PlaceProgramGroup(bool ticked);
  void PlaceProgramIcon();
  void Refresh();

  FreedesktopPlaces places_;
  std::string program_;
  ToolRunner runTool_;
  bool mimeChanged_ = false;
  bool iconsChanged_ = false;
};

}  // namespace vellonix::integration
