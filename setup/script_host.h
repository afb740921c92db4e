// The Windows Script Host object model, as far as the installation uses it:
// the shell object's desktop folder and its shortcut objects. Failures throw
// RunTimeError.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

// A shortcut file being prepared; nothing is on disk until Save.
class ScriptShortcut {
 public:
  virtual ~ScriptShortcut() = default;
  // Text properties: TargetPath, Description, Arguments, WorkingDirectory.
  virtual void SetText(const std::wstring& property, const std::wstring& value) = 0;
  // Number properties: WindowStyle.
  virtual void SetNumber(const std::wstring& property, int32_t value) = 0;
  // Writes the shortcut file, replacing one of the same name.
  virtual void Save() = 0;
};

class ScriptShell {
 public:
  virtual ~ScriptShell() = default;
  // The full path of a special folder such as "Desktop", without a trailing
  // backslash.
  virtual std::wstring SpecialFolder(const std::wstring& name) = 0;
  virtual std::unique_ptr<ScriptShortcut> CreateShortcut(const std::wstring& path) = 0;
};

class ScriptHost {
 public:
  virtual ~ScriptHost() = default;
  // Raises 430 when the installed object model is too old to offer the
  // shell's current interface, and 429 when no shell can be made.
  virtual std::unique_ptr<ScriptShell> CreateShell() = 0;
};
