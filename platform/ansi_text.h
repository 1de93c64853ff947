// Conversions between the system's ANSI code page and wide text.
#pragma once
#include <string>

// ANSI bytes to wide characters (MultiByteToWideChar with CP_ACP on Windows;
// Latin-1, byte for character, elsewhere).
std::wstring WidenAnsi(const std::string& text);

// Each wide character's low byte, as the filler player narrows file names.
std::string NarrowLowBytes(const std::wstring& text);
