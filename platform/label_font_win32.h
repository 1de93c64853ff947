// A label's font fitted to its text (see label_font.h).
#pragma once
#include <windows.h>

#include <string>

// Gives the label the face that draws its text, at the size and style of the
// font it has; a text the dialog font draws whole keeps (or gets back) it.
void FitLabelFont(HWND label, const std::string& text);
