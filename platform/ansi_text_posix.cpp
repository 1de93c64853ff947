#include "platform/ansi_text.h"

std::wstring WidenAnsi(const std::string& text) {
    std::wstring wide;
    wide.reserve(text.size());
    for (char c : text) wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return wide;
}
