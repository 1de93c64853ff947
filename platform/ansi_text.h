// Conversions between the system's ANSI code page and wide text.
#pragma once
#include <string>

// The program's text is narrow, in the system's ANSI code page: UTF-8 where
// Windows honours the manifest's code page (and in the native build), the
// legacy one (1252, 932...) on older Windows.

// ANSI bytes to wide characters (MultiByteToWideChar with CP_ACP on Windows;
// UTF-8 elsewhere).
std::wstring WidenAnsi(const std::string& text);

// Each wide character's low byte (tests list files by it).
std::string NarrowLowBytes(const std::wstring& text);

// Wide text in the system's ANSI code page (WideCharToMultiByte with CP_ACP on
// Windows; UTF-8 elsewhere), "?" for what a legacy code page cannot show.
std::string NarrowAnsi(const std::wstring& text);

// Wide text (UTF-16 on Windows, UTF-32 elsewhere) as UTF-8 bytes; an unpaired
// surrogate becomes U+FFFD.
std::string Utf8FromWide(const std::wstring& text);

// One character in the system's ANSI code page; empty when the code page has
// no bytes for it (it would be read as "?" or a look-alike).
std::string AnsiCharacter(wchar_t c);

// UTF-8 bytes as wide text; a malformed byte becomes U+FFFD.
std::wstring WideFromUtf8(const std::string& text);

// Text an earlier version stored in the system's legacy code page, in the
// code page the program runs in: unchanged when that is not UTF-8 or the
// bytes are UTF-8 already, else read through the legacy code page (Latin-1
// in the native build).
std::string AnsiFromLegacy(const std::string& bytes);
