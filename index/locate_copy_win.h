#pragma once
#include <string>

#include "index/locate_copy.h"

// The index file to read for a recorder's copy named by a UTF-8 path, in
// index on FOUND. The path is made absolute first (into fullPath, also on
// failure), so the scan reads the same file whatever the current folder
// later becomes.
CopyIndexResult LocateCopyIndex(const std::string& path, std::string& fullPath, std::string& index);

// The disc list beside a track index (UTF-8 paths), as FindDiscListFile
// finds it; false when there is none.
bool FindDiscListPath(const std::string& indexPath, std::string& listPath);
