#include "vellonix/integration/shell_integration.hpp"

namespace vellonix::integration {

const char* ShortcutCaption(Shortcut s) {
  switch (s) {
    case Shortcut::Desktop: return "Add to Desktop";
    case Shortcut::QuickLaunch: return "Add to Quick launch bar";
    case Shortcut::StartMenu: return "Add to Start menu";
    case Shortcut::SendTo: return "Add to Send to folder";
    case Shortcut::ProgramGroup: return "Create Program group";
  }
  return "";
}

const char* ShortcutKey(Shortcut s) {
  switch (s) {
    case Shortcut::Desktop: return "desktop";
    case Shortcut::QuickLaunch: return "quick-launch";
    case Shortcut::StartMenu: return "start-menu";
    case Shortcut::SendTo: return "send-to";
    case Shortcut::ProgramGroup: return "program-group";
  }
  return "";
}

}  // namespace vellonix::integration
