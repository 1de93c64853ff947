// Removing the program (the installed-apps entry's command): what the install
// and the updates made, and nothing else.
#pragma once
#include <string>

#include "base/platform.h"

// Asks first, ends a running copy (which leaves Spotify as found), then
// deletes the shortcuts, the start with Windows value, the installed-apps
// entry, the program's own registry key and the program's files. The user's
// Options.ini stays unless the user agrees to its removal. Returns the process's exit code: 0 when removed or
// called off, 1 when a running copy could not be ended.
int RemoveProgram(Platform& os, InstallerSystem& installer);

// Whether the removal's helper may delete path once the program has ended:
// only a program file (.exe) directly in the install folder, so that its
// switch deletes nothing else, whoever starts it with whatever path.
bool MayDeleteAfterExit(const std::string& path, const std::string& installFolder);
