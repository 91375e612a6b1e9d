// What the game is asked to do when started: play (perhaps with some of the grown-ups'
// settings changed for this run), explain itself, or copy the child's paintings out as PNG
// files or a book in a PDF file. Read before any window opens.
#pragma once

#include <optional>
#include <string>
#include <vector>

enum class CommandAction { Play, Help, Version, ExportPaintings, ExportBook, Mistake };

// One grown-ups' setting from the command line: --KEY or --KEY VALUE sets it; --no-KEY sets
// a yes-or-no key to no and takes any other key back to nothing configured (value none).
struct SettingChange {
  std::string key;
  std::optional<std::string> value;
};

struct CommandLine {
  CommandAction action = CommandAction::Play;
  // In the order given, laid over the settings files; --fullscreen and --windowed are the
  // key fullscreen, yes and no.
  std::vector<SettingChange> settings;
  // false after --no-system-config: the machine's settings file is not read.
  bool systemSettings = true;
  // The folder of --export-paintings, the file of --export-book, and the player of --player
  // whose paintings go there (empty: the paintings of every player).
  std::string exportFolder;
  std::string bookFile;
  std::string player;
  // For a Mistake: the one line for standard error.
  std::string mistake;
};

// Reads the arguments after the program's name, in order. --help and --version answer at
// once, whatever follows; an unknown option, a missing or bad value or a stray word is a
// Mistake.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// The text of --help and of --version.
std::string UsageText();
std::string VersionText();
