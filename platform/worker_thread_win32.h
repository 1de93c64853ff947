// A thread of its own for work that waits on the outside world (the network,
// a large folder), so that the window's thread never waits for it.
#pragma once
#include <windows.h>

#include <functional>

// Runs work on a new thread with COM of its own; returns the thread's handle
// for the caller to close, or null when no thread could be made (work is not
// run then).
HANDLE StartWorkerThread(std::function<void()> work);

// Hands a heap object over to a window's thread: posted as lParam of message.
// False when the window is gone; the object is then still the caller's.
bool PostOwned(HWND window, UINT message, void* object);
