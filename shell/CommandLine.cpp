#include "shell/CommandLine.h"

#include "shell/GrownUpSettings.h"
#include "shell/Players.h"

namespace {

constexpr const char* kProgramName = "tafu";
constexpr const char* kExportOption = "--export-paintings";
constexpr const char* kBookOption = "--export-book";
constexpr const char* kPlayerOption = "--player";
constexpr const char* kOptionStart = "--";
constexpr const char* kOppositeStart = "no-";

std::string Mistake(const std::string& what) {
  return std::string(kProgramName) + ": " + what + " (try '" + kProgramName + " --help')";
}

// "--name=value" as name and value, "--name" as name alone.
std::pair<std::string, std::optional<std::string>> SplitOption(const std::string& argument) {
  const std::string option = argument.substr(std::string(kOptionStart).size());
  const size_t equals = option.find('=');
  if (equals == std::string::npos) return {option, std::nullopt};
  return {option.substr(0, equals), option.substr(equals + 1)};
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  CommandLine command;
  const auto fail = [&command](const std::string& what) {
    command.action = CommandAction::Mistake;
    command.mistake = Mistake(what);
    return command;
  };
  // The value of an option given as "--option VALUE" or "--option=VALUE"; none, with the
  // mistake noted, when it is missing or empty.
  const auto valueOf = [&](size_t& i, const char* option, const char* what) -> std::optional<std::string> {
    const bool joined = arguments[i] != option;
    std::string value;
    if (joined)
      value = arguments[i].substr(std::string(option).size() + 1);
    else if (i + 1 < arguments.size())
      value = arguments[++i];
    if (!value.empty()) return value;
    fail(std::string("option '") + option + "' needs " + what);
    return std::nullopt;
  };
  const auto isOption = [](const std::string& argument, const char* option) {
    return argument == option || argument.starts_with(std::string(option) + "=");
  };
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--help") {
      command.action = CommandAction::Help;
      return command;
    }
    if (argument == "--version") {
      command.action = CommandAction::Version;
      return command;
    }
    if (argument == "--windowed") {
      command.settings.push_back({"fullscreen", "no"});
    } else if (argument == "--no-system-config") {
      command.systemSettings = false;
    } else if (isOption(argument, kExportOption)) {
      const std::optional<std::string> folder = valueOf(i, kExportOption, "a folder");
      if (!folder) return command;
      command.exportFolder = *folder;
      command.action = CommandAction::ExportPaintings;
    } else if (isOption(argument, kBookOption)) {
      const std::optional<std::string> file = valueOf(i, kBookOption, "a file");
      if (!file) return command;
      command.bookFile = *file;
      command.action = CommandAction::ExportBook;
    } else if (isOption(argument, kPlayerOption)) {
      const std::optional<std::string> player = valueOf(i, kPlayerOption, "an animal");
      if (!player) return command;
      command.player = *player;
      if (!FindAnimal(command.player)) return fail("there is no player '" + command.player + "'");
    } else if (argument.starts_with(kOptionStart)) {
      auto [name, value] = SplitOption(argument);
      const bool opposite = name.starts_with(kOppositeStart) && !FindSettingKey(name);
      const std::string keyName = opposite ? name.substr(std::string(kOppositeStart).size()) : name;
      const std::optional<SettingKey> key = FindSettingKey(keyName);
      if (!key || (opposite && value)) return fail("unknown option '" + argument + "'");
      const bool yesOrNo = key->kind == SettingKind::YesNo;
      if (opposite) {
        value = yesOrNo ? std::optional<std::string>("no") : std::nullopt;
      } else if (!value && yesOrNo) {
        value = "yes";
      } else if (!value) {
        if (i + 1 == arguments.size()) return fail("option '" + argument + "' needs a value");
        value = arguments[++i];
      }
      GrownUpSettings tried;
      if (ChangeSetting(tried, key->name, value) != SettingChangeResult::Taken)
        return fail("option '--" + std::string(key->name) + "' does not take '" + value.value_or("") + "'");
      command.settings.push_back({key->name, value});
    } else if (argument.starts_with("-")) {
      return fail("unknown option '" + argument + "'");
    } else {
      return fail("unexpected argument '" + argument + "'");
    }
  }
  if (!command.player.empty() && command.action != CommandAction::ExportPaintings &&
      command.action != CommandAction::ExportBook)
    return fail(std::string("option '") + kPlayerOption + "' goes with '" + kExportOption + "' or '" + kBookOption +
                "'");
  return command;
}

std::string UsageText() {
  return std::string("Usage: ") + kProgramName + " [OPTION]...\n" +
         "A picture-and-colour game for young children, played with the mouse, the keyboard,\n"
         "a gamepad or one switch.\n"
         "\n"
         "  --fullscreen              play full screen this time (the saved choice stays)\n"
         "  --windowed                play in a window this time (the saved choice stays)\n"
         "  --mute                    play without music or sound effects this time\n"
         "  --export-paintings DIR    write every saved painting into DIR as a PNG file\n"
         "                            (big-N.png and small-N.png) and end, without a window;\n"
         "                            with players, each player's into DIR/NAME\n"
         "  --export-book FILE.pdf    write a book of every saved painting, one a page, into\n"
         "                            FILE.pdf and end, without a window; with players, each\n"
         "                            player's into FILE-NAME.pdf\n"
         "  --player NAME             with --export-paintings or --export-book: only that\n"
         "                            player's paintings (cat, dog, frog, duck, pig or elephant)\n"
         "  --help                    show this help and end\n"
         "  --version                 show the version and end\n"
         "\n"
         "Grown-ups' settings, read from /etc/tafu/tafu.conf, then from\n"
         "$XDG_CONFIG_HOME/tafu/tafu.conf (~/.config/tafu/tafu.conf), then from the command\n"
         "line, each later one overriding; in the files as \"key = value\" lines:\n"
         "\n"
         "  fullscreen = yes|no       --fullscreen, --windowed (--no-fullscreen)\n"
         "  mute = yes|no             --mute, --no-mute\n"
         "  music-volume = 0..100     --music-volume N: the music's start volume\n"
         "  effects-volume = 0..100   --effects-volume N: the sound effects' start volume\n"
         "  kiosk = yes|no            --kiosk, --no-kiosk: no exit door, the window's close\n"
         "                            ignored; Ctrl+Shift+Escape held a second ends the game\n"
         "  lock-options = yes|no     --lock-options, --no-lock-options: no options button\n"
         "  paintings = PATH          --paintings PATH: the folder for the paintings (\"~\" and\n"
         "                            \"$USER\" expanded)\n"
         "  players = yes|no          --players, --no-players: each child picks an animal and\n"
         "                            keeps paintings and options of its own\n"
         "  scanning = yes|no         --scanning, --no-scanning: one switch plays; a ring steps\n"
         "                            through what can be chosen and Space chooses\n"
         "  scan-seconds = SECONDS    --scan-seconds S: the ring's step, 0.2 to 60 (1.5)\n"
         "  paper-size = NAME         --paper-size NAME: a book's paper, such as a4 or letter\n"
         "                            (the system's: $PAPERSIZE, /etc/papersize)\n"
         "\n"
         "  --no-KEY                  the opposite of a key: no, or the player's own volume or\n"
         "                            folder again\n"
         "  --no-system-config        do not read /etc/tafu/tafu.conf\n"
         "\n"
         "Exit status: 0 when all went well; 1 when there is no display, or when a painting\n"
         "could not be exported; 2 for a mistake on the command line.\n";
}

std::string VersionText() { return std::string(kProgramName) + " " + TAFU_VERSION + "\n"; }
