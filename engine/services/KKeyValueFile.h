// Settings files of "key = value" lines, such as a machine's or a user's file of a program's
// switches: one setting a line, blank lines and lines starting with "#" left out. Each line
// is read by GLib's key-file parser, so values follow its rules (spaces around "=" and at
// the end of the line dropped, "\s", "\n", "\t" and "\\" escapes); a line it cannot read
// is kept by its number, and the lines after it are still read. The browser build has no
// such files: nothing is found.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct KKeyValue {
  int32_t line = 0;  // counted from 1
  std::string key;
  std::string value;
};

struct KKeyValueFile {
  bool found = false;     // something is at the path
  bool readable = false;  // and its text could be read
  std::vector<KKeyValue> values;       // in the order of the file
  std::vector<int32_t> unreadableLines;  // neither blank, a comment nor "key = value"
};

KKeyValueFile ReadKeyValueFile(const std::string& path);
