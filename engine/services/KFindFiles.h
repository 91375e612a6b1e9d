// Lists the entries of a folder that match a pattern such as "draw/big/*.*".
#pragma once

#include <cstdint>
#include <functional>
#include <string>

constexpr uint32_t KFIND_DIRECTORY = 1;  // bit 0 of the flag word

// Called with each entry's name and flag word; return false to stop.
using KFindCallback = std::function<bool(const std::string& name, uint32_t flags)>;

// The pattern's last component may hold '*' and '?' and matches without regard
// to case; "*.*" matches every entry. Returns false when the pattern or the
// callback is missing or the folder cannot be read.
bool FindFiles(const std::string& pattern, const KFindCallback& callback);
