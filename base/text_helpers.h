// Small text helpers every part uses.
#pragma once
#include <cstddef>
#include <string>

// Whether two texts are equal but for the case of ASCII letters, as Windows
// compares file and image names.
bool EqualNoCase(const std::string& a, const std::string& b);

// Whether text starts or ends with the other, but for the case of ASCII letters.
bool StartsWithNoCase(const std::string& text, const std::string& start);
bool EndsWithNoCase(const std::string& text, const std::string& end);

// A path's file name and extension: what follows the last \, / or :.
std::string BaseName(const std::string& path);
// A Windows path's folder, up to and with its last backslash (empty when
// there is none).
std::string FolderOf(const std::string& path);

// The decimal number at the start of text, as the C runtime reads one: an
// optional sign, then digits up to the first other character; none at all is
// 0. The size is held at limit, so no text overflows it.
long LeadingNumber(const std::string& text, long limit);

// Whether every byte of text is ASCII.
bool IsAscii(const std::string& text);

// Whether a byte continues a UTF-8 character (10xxxxxx).
inline bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Whether text is well-formed UTF-8 (no overlong forms, surrogates or code
// points past U+10FFFF). Plain ASCII is.
bool IsUtf8(const std::string& text);

// Text cut to at most size bytes without splitting a UTF-8 character. Text
// that is not UTF-8 (a legacy code page's bytes) is cut at the byte.
std::string CutText(const std::string& text, std::size_t size);

// Text without a UTF-8 character cut short at its end (what a full buffer
// may hold); text that is not UTF-8 otherwise is returned unchanged.
std::string WholeCharacters(const std::string& text);
