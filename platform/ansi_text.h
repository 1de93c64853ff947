// Conversions between the system's ANSI code page and wide text.
#pragma once
#include <string>

// ANSI bytes to wide characters (MultiByteToWideChar with CP_ACP on Windows;
// Latin-1, byte for character, elsewhere).
std::wstring WidenAnsi(const std::string& text);

// Each wide character's low byte (tests list files by it).
std::string NarrowLowBytes(const std::wstring& text);

// Wide text in the system's ANSI code page (WideCharToMultiByte with CP_ACP on
// Windows; Latin-1 elsewhere), "?" for what it cannot show. For labels and
// the log only: a path is kept wide.
std::string NarrowAnsi(const std::wstring& text);

// Wide text (UTF-16 on Windows, UTF-32 elsewhere) as UTF-8 bytes; an unpaired
// surrogate becomes U+FFFD.
std::string Utf8FromWide(const std::wstring& text);
