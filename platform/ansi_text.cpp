#include "platform/ansi_text.h"

std::string NarrowLowBytes(const std::wstring& text) {
    std::string narrow;
    narrow.reserve(text.size());
    for (wchar_t c : text) narrow += static_cast<char>(c & 0xFF);
    return narrow;
}
