// The Options boxes in freedesktop terms, for one user. A box shows what
// the user's desktop does now, whoever made it so (an installation for the
// system or for this user, or these boxes), and changes that through the
// user's own files only: an installed file is never removed, rewritten or
// shadowed, and what a box places it takes away again, byte for byte.
//   MGT, SAD       the program opens the type by the MIME-apps rules.
//                  Ticking puts the program first in [Default Applications]
//                  of the user's mimeapps.list; unticking takes that back,
//                  and [Removed Associations] takes back what an installed
//                  entry declares.
//   the icon       the ties' own MIME package names one of the program's
//                  three icons for the ticked types.
//   Desktop        a launcher in the desktop folder, where there is one.
//   Quick Launch   no such place: unavailable, left alone.
//   Start menu     the installed entry, hidden for this user by an override
//                  with Hidden=true under its id. A per-user install's entry
//                  lies where that override would go: the box then shows it
//                  and is unavailable.
//   Send to        a Dolphin service menu and a Nautilus script.
//   Program group  a "SAM Coupé" submenu holding an entry of its own.
// Where nothing usable is installed, the ties place the program's entry,
// the image types and the icons themselves, under names of their own.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "freedesktop_files.hpp"
#include "vellonix/integration/shell_integration.hpp"

namespace vellonix::integration {

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
  // The program's installed desktop entry as this user's desktop sees it.
  struct Installed {
    std::filesystem::path User;    // in the user's applications: a per-user
    bool UserHides = false;        // install, or an override hiding ...
    std::filesystem::path System;  // ... the first one in the system's
    bool Usable = false;           // the desktops start the program from it
    bool PerUser() const { return !User.empty() && !UserHides; }
  };
  Installed FindInstalled() const;

  std::filesystem::path DesktopFolder() const;
  std::filesystem::path TiesEntry() const;
  std::filesystem::path TiesPackage() const;
  std::filesystem::path ServiceMenu() const;
  std::filesystem::path NautilusScript() const;
  std::filesystem::path GroupEntry() const;
  std::filesystem::path GroupMenu() const;
  std::filesystem::path GroupDirectory() const;
  std::filesystem::path DataStop() const;
  std::filesystem::path ConfigStop() const;

  bool IconInstalled(const std::string& name) const;
  std::string ProgramIconName() const;
  std::string TypeIconName(std::uint16_t index) const;
  bool TypeDefinedElsewhere(std::size_t type) const;
  bool TypeKnown(std::size_t type) const;
  std::uint16_t ChosenIconIndex() const;

  std::string ProgramEntry(bool shownInMenus) const;
  std::string TiesPackageText(const IntegrationState& state) const;
  void PlaceMenuOverride(bool shown);
  void PlaceTiesEntry(const IntegrationState& state);
  void PlaceTypes(const IntegrationState& state);
  void PlaceDefaults(const IntegrationState& state);
  void PlaceDesktopLauncher(bool ticked);
  void PlaceSendTo(bool ticked);
  void PlaceProgramGroup(bool ticked);
  void PlaceTiesIcons();
  void Refresh();

  FreedesktopPlaces places_;
  std::string program_;
  ToolRunner runTool_;
  bool mimeChanged_ = false;
  bool iconsChanged_ = false;
};

}  // namespace vellonix::integration
