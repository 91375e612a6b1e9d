// What the game is asked to do when started: play (perhaps in another window mode or muted
// for this run), explain itself, or copy the child's paintings out as PNG files. Read before
// any window opens.
#pragma once

#include <optional>
#include <string>
#include <vector>

enum class CommandAction { Play, Help, Version, ExportPaintings, Mistake };

struct CommandLine {
  CommandAction action = CommandAction::Play;
  // --fullscreen or --windowed, the last one given; this run only.
  std::optional<bool> windowed;
  // --mute: both volumes 0, this run only.
  bool mute = false;
  // The folder of --export-paintings.
  std::string exportFolder;
  // For a Mistake: the one line for standard error.
  std::string mistake;
};

// Reads the arguments after the program's name, in order. --help and --version answer at
// once, whatever follows; an unknown option, a missing argument or a stray word is a Mistake.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// The text of --help and of --version.
std::string UsageText();
std::string VersionText();
