// The program's own windows at any display scaling: controls are laid out in
// 96-DPI units and placed, with a font of the right size, at the DPI of the
// window they sit in; a window moved to a monitor of another scale is laid out
// again (WM_DPICHANGED).
#pragma once
#include <windows.h>

#include "platform/spotify_screen_win32.h"  // WindowDpi, SystemDpi

// Units to pixels at a DPI.
int ScaleToDpi(int units, int dpi);

// A child control placed at its parent's DPI; its unit rectangle is kept so it
// can be placed again when the DPI changes.
HWND CreateScaledControl(HWND parent, HINSTANCE instance, const char* cls, const char* caption, DWORD style, int id,
                         int x, int y, int w, int h);

// The dialog font (Verdana, 12 units high) at a DPI; made once per DPI and
// kept for the life of the process.
HFONT FontAtDpi(int dpi, bool underlined);

// WM_DPICHANGED: the window takes the rectangle Windows suggests, its controls
// their places and fonts at the new DPI. skipFont: a control whose font is not set.
void OnWindowDpiChanged(HWND window, int dpi, const RECT& suggested, HWND skipFont, HWND underlinedControl);
