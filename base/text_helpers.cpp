#include "base/text_helpers.h"

#include <cctype>

bool EqualNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

bool StartsWithNoCase(const std::string& text, const std::string& start) {
    return text.size() >= start.size() && EqualNoCase(text.substr(0, start.size()), start);
}

bool EndsWithNoCase(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && EqualNoCase(text.substr(text.size() - end.size()), end);
}

std::string FolderOf(const std::string& path) {
    return path.substr(0, path.find_last_of('\\') + 1);
}

std::string BaseName(const std::string& path) {
    const auto slash = path.find_last_of("\\/:");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

long LeadingNumber(const std::string& text, long limit) {
    size_t i = 0;
    long sign = 1;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) sign = text[i++] == '-' ? -1 : 1;
    long value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
        value = value >= limit ? limit : value * 10 + (text[i] - '0');
    return sign * (value > limit ? limit : value);
}

namespace {

// The length of the UTF-8 character at text[at], or 0 when none starts there
// (cut short at the end counts as none).
std::size_t Utf8CharLength(const std::string& text, std::size_t at) {
    const unsigned char b = static_cast<unsigned char>(text[at]);
    if (b < 0x80) return 1;
    std::size_t length;
    unsigned long c;
    if (b >= 0xC2 && b <= 0xDF) length = 2, c = b & 0x1F;
    else if (b >= 0xE0 && b <= 0xEF) length = 3, c = b & 0x0F;
    else if (b >= 0xF0 && b <= 0xF4) length = 4, c = b & 0x07;
    else return 0;
    if (at + length > text.size()) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) return 0;
        c = c << 6 | (next & 0x3F);
    }
    const bool overlong = (length == 3 && c < 0x800) || (length == 4 && c < 0x10000);
    if (overlong || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) return 0;
    return length;
}

// Where the well-formed UTF-8 at the start of text ends.
std::size_t Utf8Prefix(const std::string& text) {
    std::size_t at = 0;
    for (std::size_t length; at < text.size() && (length = Utf8CharLength(text, at)) > 0;) at += length;
    return at;
}

// Whether what follows a well-formed start is one character cut short: a
// lead byte and fewer continuations than it announces, each in its range.
bool CutShortCharacter(const std::string& text, std::size_t at) {
    const unsigned char b = static_cast<unsigned char>(text[at]);
    const std::size_t wanted = b >= 0xF0 && b <= 0xF4 ? 4 : b >= 0xE0 && b <= 0xEF ? 3 : b >= 0xC2 && b <= 0xDF ? 2 : 0;
    if (wanted == 0 || text.size() - at >= wanted) return false;
    for (std::size_t i = at + 1; i < text.size(); ++i)
        if (!IsContinuationByte(text[i])) return false;
    if (text.size() - at < 2) return true;
    const unsigned char second = static_cast<unsigned char>(text[at + 1]);
    return !((b == 0xE0 && second < 0xA0) || (b == 0xED && second > 0x9F) || (b == 0xF0 && second < 0x90) ||
             (b == 0xF4 && second > 0x8F));
}

}  // namespace

bool IsAscii(const std::string& text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

bool IsUtf8(const std::string& text) {
    return Utf8Prefix(text) == text.size();
}

std::string CutText(const std::string& text, std::size_t size) {
    if (text.size() <= size) return text;
    if (!IsUtf8(text)) return text.substr(0, size);
    while (size > 0 && IsContinuationByte(text[size])) --size;
    return text.substr(0, size);
}

std::string WholeCharacters(const std::string& text) {
    const std::size_t whole = Utf8Prefix(text);
    return whole < text.size() && CutShortCharacter(text, whole) ? text.substr(0, whole) : text;
}
