// The program's ties into the desktop, as the Options dialog shows and
// changes them: the two image types, the icon their files show, and five
// shortcuts to the program. The program keeps no settings of its own for
// these: Read takes the system's state as it is now, Apply writes a whole
// state back. The host's own implementation stands behind this interface
// (the registry and the shell folders on Windows, the freedesktop
// conventions elsewhere); tests put their own in its place.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

namespace vellonix::integration {

// The program carries three icons; index 0 is the program's own.
inline constexpr std::uint16_t kIconCount = 3;
inline constexpr std::uint16_t kDefaultIconIndex = 2;

// The Accessibility boxes, top to bottom.
enum class Shortcut { Desktop, QuickLaunch, StartMenu, SendTo, ProgramGroup };
inline constexpr int kShortcutCount = 5;
inline constexpr std::size_t Index(Shortcut s) { return static_cast<std::size_t>(s); }
inline constexpr std::array<Shortcut, kShortcutCount> kShortcuts{
    Shortcut::Desktop, Shortcut::QuickLaunch, Shortcut::StartMenu, Shortcut::SendTo, Shortcut::ProgramGroup};

// The box's caption in the dialog ("Add to Desktop", ...).
const char* ShortcutCaption(Shortcut s);
// Its name for scripts ("desktop", "quick-launch", ...).
const char* ShortcutKey(Shortcut s);

struct IntegrationState {
  bool Mgt = false;  // ".mgt" files open in this program
  bool Sad = false;  // ".sad" files open in this program
  std::uint16_t IconIndex = kDefaultIconIndex;  // 0 to kIconCount - 1
  // Whether each shortcut is in place (the box ticked) ...
  std::array<bool, kShortcutCount> Shortcuts{};
  // ... and whether it can be changed here (the box enabled): the host may
  // have no place for it, or an installation holds it. Apply leaves an
  // unavailable shortcut's place alone.
  std::array<bool, kShortcutCount> Available{true, true, true, true, true};

  bool& operator[](Shortcut s) { return Shortcuts[Index(s)]; }
  bool operator[](Shortcut s) const { return Shortcuts[Index(s)]; }
  friend bool operator==(const IntegrationState&, const IntegrationState&) = default;
};

// Where each part of the state lives on this host (registry keys, files),
// for people and scripts; empty where there is no such place.
struct IntegrationLocations {
  std::string FileType;
  std::string Mgt;
  std::string Sad;
  std::string Icon;
  std::array<std::string, kShortcutCount> Shortcuts;
};

// A failure that ends the Options command, its text the one the user sees
// ("Failed to set data for '...'", "Invalid data type for '...'", or the
// system's own message). Steps of Apply done before it stay done.
class IntegrationError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class ShellIntegration {
 public:
  virtual ~ShellIntegration() = default;
  // The system's state now. Throws IntegrationError before anything is
  // shown when the state cannot be read.
  virtual IntegrationState Read() = 0;
  // Writes `state` back: every ticked item (re)created, every unticked one
  // of ours removed, in the dialog's order. Throws IntegrationError.
  virtual void Apply(const IntegrationState& state) = 0;
  virtual IntegrationLocations Locations() = 0;
};

// The host's own implementation, registering `programPath` (the program's
// full path) as the program that opens images.
std::unique_ptr<ShellIntegration> MakeHostShellIntegration(const std::string& programPath);

}  // namespace vellonix::integration
