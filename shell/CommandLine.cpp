#include "shell/CommandLine.h"

namespace {

constexpr const char* kProgramName = "tafu";
constexpr const char* kExportOption = "--export-paintings";

std::string Mistake(const std::string& what) {
  return std::string(kProgramName) + ": " + what + " (try '" + kProgramName + " --help')";
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  CommandLine command;
  const auto fail = [&command](const std::string& what) {
    command.action = CommandAction::Mistake;
    command.mistake = Mistake(what);
    return command;
  };
  const std::string exportWithValue = std::string(kExportOption) + "=";
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
    if (argument == "--fullscreen") {
      command.windowed = false;
    } else if (argument == "--windowed") {
      command.windowed = true;
    } else if (argument == "--mute") {
      command.mute = true;
    } else if (argument == kExportOption || argument.starts_with(exportWithValue)) {
      const bool joined = argument != kExportOption;
      if (!joined && i + 1 == arguments.size()) return fail(std::string("option '") + kExportOption + "' needs a folder");
      command.exportFolder = joined ? argument.substr(exportWithValue.size()) : arguments[++i];
      if (command.exportFolder.empty()) return fail(std::string("option '") + kExportOption + "' needs a folder");
      command.action = CommandAction::ExportPaintings;
    } else if (argument.starts_with("-")) {
      return fail("unknown option '" + argument + "'");
    } else {
      return fail("unexpected argument '" + argument + "'");
    }
  }
  return command;
}

std::string UsageText() {
  return std::string("Usage: ") + kProgramName + " [OPTION]...\n" +
         "A picture-and-colour game for young children, played with the mouse.\n"
         "\n"
         "  --fullscreen              play full screen this time (the saved choice stays)\n"
         "  --windowed                play in a window this time (the saved choice stays)\n"
         "  --mute                    play without music or sound effects this time\n"
         "  --export-paintings DIR    write every saved painting into DIR as a PNG file\n"
         "                            (big-N.png and small-N.png) and end, without a window\n"
         "  --help                    show this help and end\n"
         "  --version                 show the version and end\n"
         "\n"
         "Exit status: 0 when all went well; 1 when there is no display, or when a painting\n"
         "could not be exported; 2 for a mistake on the command line.\n";
}

std::string VersionText() { return std::string(kProgramName) + " " + TAFU_VERSION + "\n"; }
