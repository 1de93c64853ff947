// What a test compares before an install and after a removal: the files below
// a folder and the user's part of the registry.
#pragma once
#include <set>
#include <string>

// Every file below folder, as a path.
std::set<std::string> FilesBelow(const std::string& folder);

// Every key, value name and value under HKEY_CURRENT_USER\Software, but Wine's
// own settings, as "key\name=value" lines.
std::set<std::string> UserRegistry();

// Environment variables expanded, as the program expands its folders.
std::string Expanded(const char* text);

// A text value under HKEY_CURRENT_USER; "(none)" when there is none.
std::string UserText(const char* key, const char* name);

// The first line of each set that the other lacks, for a failure message.
std::string Difference(const std::set<std::string>& before, const std::set<std::string>& after);
