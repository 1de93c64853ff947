// The removal's helper, as the program's entry runs it.
#pragma once
#include <string>

// True when arguments are the helper's (the delete-after switch), after its
// work is done: the file is deleted once the program has ended, and only when
// it is a program file directly in the install folder and the handle given
// is a process's. Anything else is left as it is.
bool RunDeleteAfterHelper(const std::string& arguments);
