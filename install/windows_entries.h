// The program's entries in Windows for the user: the entry in the list of
// installed apps (with the command that removes the program) and the value
// that starts it with Windows. Both live under HKEY_CURRENT_USER, so no
// administrator rights are needed.
#pragma once
#include <string>

#include "base/platform.h"

constexpr const char* kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Adquell Lite";
constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRunValueName = "Adquell Lite";
// The command-line switches of the entries' commands.
constexpr const char* kRemoveSwitch = "/remove";
constexpr const char* kStartupSwitch = "/startup";

// The installed-apps entry for program, the installed copy at version.
bool WriteUninstallEntry(InstallerSystem& installer, const std::string& program, const std::string& version);

// The program the installed-apps entry names; empty without an entry.
std::string UninstallEntryProgram(InstallerSystem& installer);

// After an update: the entry and, when there is one, the start with Windows
// value now name the new copy.
void MoveEntriesTo(InstallerSystem& installer, const std::string& program, const std::string& version);

// The Options menu's "Start with Windows" item: whether the log-on value is
// there, so that the tick shows what Windows will do, whichever copy set it.
bool StartsWithWindows(InstallerSystem& installer);
// Writes or removes the value that starts the installed copy at log-on;
// returns the item's state afterwards (off, with a message, when there is no
// installed copy or the value cannot be written).
bool SetStartWithWindows(Platform& os, bool on);
