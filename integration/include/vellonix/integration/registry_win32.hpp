// The registry and the shell folders' files of the running Windows, behind
// the seams RegistryShellIntegration works over. Windows builds only.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "vellonix/integration/registry_shell_integration.hpp"

namespace vellonix::integration {

// A root of the seam on the real registry: a hive and the key below it that
// stands for the root (empty for the hive itself), with its name for people.
struct Win32RegistryRoot {
  HKEY Hive = nullptr;
  std::wstring SubKey;
  std::string Name;
};

// Where this Windows keeps class keys that a user may write: on the NT
// family HKEY_CURRENT_USER\Software\Classes, which the shell merges into
// HKEY_CLASSES_ROOT (the machine-wide classes need an administrator); on
// 9x HKEY_CLASSES_ROOT itself.
Win32RegistryRoot HostClassesRoot();
Win32RegistryRoot HostCurrentUserRoot();

std::unique_ptr<Registry> MakeWin32Registry(Win32RegistryRoot classes, Win32RegistryRoot currentUser);
std::unique_ptr<ShellFiles> MakeWin32ShellFiles();

}  // namespace vellonix::integration
