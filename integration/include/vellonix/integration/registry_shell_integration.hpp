// The desktop ties as Windows keeps them: the "diskimage" file type and the
// two extensions in the registry, the icon in its DefaultIcon value, and
// "SAM Vellonix.lnk" shortcuts in the shell's folders. The logic here is
// plain C++ over two small seams, the registry and the shell folders' files,
// so it runs on every host; the Win32 calls behind the seams live in the
// *_win32 files, and tests stand in for them elsewhere.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "vellonix/integration/shell_integration.hpp"

namespace vellonix::integration {

// Where the class keys live (on Windows: the user's own classes on the NT
// family, HKEY_CLASSES_ROOT on 9x) and the user's own keys.
enum class RegistryRoot { Classes, CurrentUser };

// The failures the registry reports, with the user's texts.
IntegrationError FailedToSetData(std::string_view valueName);
IntegrationError InvalidDataType(std::string_view valueName);

// The registry by key path below a root ("diskimage\\Shell\\open\\command",
// no leading backslash). An empty value name is the key's default value.
class Registry {
 public:
  virtual ~Registry() = default;
  // Whether the key exists; never creates it.
  virtual bool KeyExists(RegistryRoot root, const std::string& key) = 0;
  // Creates the key and any missing parents; false when it cannot.
  virtual bool CreateKey(RegistryRoot root, const std::string& key) = 0;
  // A missing key or value reads as "". A value that is not a string
  // throws InvalidDataType(name).
  virtual std::string ReadString(RegistryRoot root, const std::string& key, const std::string& name) = 0;
  // Sets a string value of an existing key; throws FailedToSetData(name).
  virtual void WriteString(RegistryRoot root, const std::string& key, const std::string& name,
                           const std::string& value) = 0;
  // Deletes the key with all its subkeys; a missing key is no error.
  virtual void DeleteTree(RegistryRoot root, const std::string& key) = 0;
  // The root as people read it ("HKEY_CURRENT_USER\\Software\\Classes").
  virtual std::string RootName(RegistryRoot root) = 0;
};

// The files in the shell's folders. Paths are the shell's own, with
// backslashes. Failures other than CreateLink's are silent, as a shortcut
// that could not be placed simply shows unticked next time.
class ShellFiles {
 public:
  virtual ~ShellFiles() = default;
  // True for a file; a folder does not count.
  virtual bool IsFile(const std::string& path) = 0;
  virtual void RemoveFile(const std::string& path) = 0;
  virtual bool IsFolder(const std::string& path) = 0;
  // One level: the parent is expected to exist.
  virtual void MakeFolder(const std::string& path) = 0;
  // Only when nothing is left in it.
  virtual void RemoveEmptyFolder(const std::string& path) = 0;
  // Saves a shortcut to `target` starting in `workingFolder`, with no
  // arguments, description, hot key or icon of its own; replaces one that is
  // there. Throws IntegrationError (the system's message) when no shortcut
  // object can be had; a shortcut that cannot be saved is not reported.
  virtual void CreateLink(const std::string& linkPath, const std::string& target,
                          const std::string& workingFolder) = 0;
};

// The file type's and the shortcuts' fixed names.
inline constexpr const char* kFileTypeKey = "diskimage";
inline constexpr const char* kFileTypeName = "SAM Coup\u00e9 diskimage";
inline constexpr const char* kShortcutFileName = "\\SAM Vellonix.lnk";
inline constexpr const char* kProgramGroupFolder = "\\SAM Coup\u00e9";

// The icon index a DefaultIcon value ("path,index") names: the number after
// the first comma (leading blanks skipped, anything after its digits
// ignored, no number read as 0), its low 16 bits unsigned, at most the last
// icon. Without a comma, the default icon.
std::uint16_t IconIndexFromDefaultIcon(std::string_view value);

// The folder of a program path, with its trailing backslash.
std::string FolderOf(std::string_view programPath);

class RegistryShellIntegration final : public ShellIntegration {
 public:
  // `programPath` is the program's full Windows path, as the system gives it.
  RegistryShellIntegration(Registry& registry, ShellFiles& files, std::string programPath);

  IntegrationState Read() override;
  void Apply(const IntegrationState& state) override;
  IntegrationLocations Locations() override;

 private:
  // Each shortcut's path, empty where its shell folder is not named (the
  // shortcut is then unavailable), and the program group's folder.
  struct Places {
    std::array<std::string, kShortcutCount> Shortcuts;
    std::string ProgramGroup;
  };
  Places ReadPlaces();
  bool RegisteredToUs(const std::string& extensionKey);
  void WriteFileType(std::uint16_t iconIndex);
  void ApplyExtension(const std::string& extensionKey, bool ticked);
  void ApplyShortcut(Shortcut shortcut, const Places& places, bool ticked);

  Registry& registry_;
  ShellFiles& files_;
  std::string programPath_;
};

}  // namespace vellonix::integration
