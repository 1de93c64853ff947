#include <windows.h>

#include "platform/ansi_text.h"

#include "base/text_helpers.h"

std::string NarrowAnsi(const std::wstring& text) {
    if (text.empty()) return std::string();
    const int size = static_cast<int>(text.size());
    const int length = WideCharToMultiByte(CP_ACP, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), size, &narrow[0], length, nullptr, nullptr);
    return narrow;
}

std::wstring WidenAnsi(const std::string& text) {
    if (text.empty()) return std::wstring();
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), size, &wide[0], length);
    return wide;
}

std::string AnsiCharacter(wchar_t c) {
    if (GetACP() == CP_UTF8) return NarrowAnsi(std::wstring(1, c));
    char bytes[8] = {};
    BOOL usedDefault = FALSE;
    const int length =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, &c, 1, bytes, sizeof bytes, nullptr, &usedDefault);
    return length > 0 && !usedDefault ? std::string(bytes, static_cast<size_t>(length)) : std::string();
}

namespace {

// The code page the system's locale uses for programs that do not ask for
// UTF-8: what an earlier version of this program wrote its text in.
UINT LegacyCodePage() {
    DWORD page = 0;
    const int got = GetLocaleInfoA(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                                   reinterpret_cast<char*>(&page), sizeof page);
    return got && page != 0 && page != CP_UTF8 ? page : 1252;
}

}  // namespace

std::string AnsiFromLegacy(const std::string& bytes) {
    if (GetACP() != CP_UTF8 || IsUtf8(bytes)) return bytes;
    const UINT page = LegacyCodePage();
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(page, 0, bytes.data(), size, nullptr, 0);
    if (length <= 0) return bytes;
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(page, 0, bytes.data(), size, &wide[0], length);
    return NarrowAnsi(wide);
}
