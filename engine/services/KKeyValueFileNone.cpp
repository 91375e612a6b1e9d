#include "KKeyValueFile.h"

// The browser has no settings files of a machine or a user.
KKeyValueFile ReadKeyValueFile(const std::string&) { return {}; }
