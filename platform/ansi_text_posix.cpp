#include "platform/ansi_text.h"

#include "base/text_helpers.h"

// The native build stands for a system whose code page is UTF-8.
std::wstring WidenAnsi(const std::string& text) {
    return WideFromUtf8(text);
}

std::string NarrowAnsi(const std::wstring& text) {
    return Utf8FromWide(text);
}

std::string AnsiCharacter(wchar_t c) {
    return Utf8FromWide(std::wstring(1, c));
}

std::string AnsiFromLegacy(const std::string& bytes) {
    if (IsUtf8(bytes)) return bytes;
    std::wstring latin1;
    for (char c : bytes) latin1 += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return Utf8FromWide(latin1);
}
