// Paths of the program folder and of the user's folders.
#pragma once

#include <string>

// Finds the program folder (the folder of the running executable) and starts the clock.
void InitPaths();
// The program folder, without a trailing slash.
const std::string& GetModuleFolder();
// Points the program folder somewhere else (tests, or a relocated install).
void SetModuleFolder(const std::string& folder);
// A game file name such as "img\bg\menu.png" as a native path in the program folder.
// One leading '\' or ':' is skipped; absolute paths and drive-letter names stay as they are.
std::string MakePath(const std::string& name);
// The folder the program writes to (settings, the child's paintings); the program
// folder unless told otherwise.
const std::string& GetUserFolder();
void SetUserFolder(const std::string& folder);
// A file name the program writes, as a native path in the user folder.
std::string MakeUserPath(const std::string& name);
// A game file name as a native path in any folder.
std::string MakePathIn(const std::string& folder, const std::string& name);
// Whether the program may create and replace files in folder.
bool IsFolderWritable(const std::string& folder);
// The user's data folder ($XDG_DATA_HOME or ~/.local/share), created if missing.
std::string GetAppDataFolder();
// The user's settings folder ($XDG_CONFIG_HOME or ~/.config); never created.
std::string GetConfigFolder();
// The user's documents folder ($XDG_DOCUMENTS_DIR or ~/Documents), created if missing.
std::string GetDocumentsFolder();
// Creates a folder and its parents; true when it exists afterwards.
bool CreateFolders(const std::string& folder);
// Makes the files written, renamed and removed in folder last: on a disk, past a power cut;
// in the browser, in its own storage, where the page finds them again next time. Returns
// only once they do; false when they could not be kept.
bool MakeFolderLasting(const std::string& folder);
