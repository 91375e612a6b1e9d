// What a parent or a school sets up once for every game on a machine or an account: read
// from the machine's file (/etc/tafu/tafu.conf), then the user's own
// ($XDG_CONFIG_HOME/tafu/tafu.conf), then the command line, each later one overriding.
// The files hold "key = value" lines and "#" comments:
//
//   # the pupils' network folder, and no way out for them
//   paintings = /srv/pupils/$USER/tafu
//   kiosk = yes
//
// Read once at start into one record that the screens are handed. Nothing configured is
// the game as it always was; options.raw stays the child's own choices.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct GrownUpSettings {
  std::optional<bool> fullscreen;  // none: the options screen's choice
  bool mute = false;
  std::optional<int32_t> musicVolume;  // start values, 0..100
  std::optional<int32_t> effectsVolume;
  bool kiosk = false;        // no exit door, the window's close ignored
  bool lockOptions = false;  // no options button
  std::string paintings;     // the folder of draw/big and draw/small; empty: the player's own
  bool players = false;      // each child an animal with paintings and options of its own
  bool scanning = false;     // one switch: the ring steps through the targets by itself
  int32_t scanMs = 1500;     // the ring's step while scanning
  std::string paperSize;     // a book's paper, such as "a4" or "letter"; empty: the system's
};

// What a key takes: yes or no, a volume from 0 to 100, a folder, seconds (0.2 to 60), or the
// name of a paper size.
enum class SettingKind { YesNo, Volume, Folder, Seconds, Paper };

struct SettingKey {
  const char* name;
  SettingKind kind;
};

// Every key, in the order --help and the manual page give them.
const std::vector<SettingKey>& SettingKeys();
// The key of that name, or none.
std::optional<SettingKey> FindSettingKey(const std::string& name);

enum class SettingChangeResult { Taken, UnknownKey, BadValue };

// Sets key to value in settings; a value of none takes the key back to nothing configured
// (the command line's --no-KEY of a key that takes a volume or a folder).
SettingChangeResult ChangeSetting(GrownUpSettings& settings, const std::string& key,
                                  const std::optional<std::string>& value);

// One settings file laid over settings. A missing file changes nothing, silently; a file that
// cannot be read, a line that is not "key = value", an unknown key and a bad value are each
// reported once on standard error with the file and the line, and left out.
void ReadSettingsFile(const std::string& path, GrownUpSettings& settings);

// The machine's file (TAFU_SYSTEM_CONFIG names another, to try a lab's file out) and the
// user's own.
std::string SystemSettingsPath();
std::string UserSettingsPath();

// "~" at the start and "$USER" anywhere in a paintings folder, as a shell would expand them.
std::string ExpandFolder(const std::string& folder);
