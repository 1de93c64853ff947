#include "platform/label_font_win32.h"

#include <cstring>
#include <map>
#include <vector>

#include "platform/ansi_text.h"
#include "platform/handles_win32.h"
#include "platform/label_font.h"

namespace {

// A label keeps its font's handle: fonts made here live as long as the process.
HFONT FontLike(const LOGFONTA& model, const char* face) {
    static std::map<std::string, OwnedFont> fonts;
    LOGFONTA wanted = model;
    std::memset(wanted.lfFaceName, 0, sizeof wanted.lfFaceName);  // the whole record is the key
    lstrcpynA(wanted.lfFaceName, face, LF_FACESIZE);
    const std::string key(reinterpret_cast<const char*>(&wanted), sizeof wanted);
    OwnedFont& font = fonts[key];
    if (!font) font.reset(CreateFontIndirectA(&wanted));
    return font.get();
}

// How many of the characters the face cannot draw; -1 when Windows gave
// another face for it (it is not installed). The dialog font counts as what
// Windows draws for it, installed or not: that is what the label shows.
int MissingGlyphs(HDC dc, const LOGFONTA& model, const char* face, const std::wstring& text) {
    HGDIOBJ old = SelectObject(dc, FontLike(model, face));
    char got[LF_FACESIZE] = {};
    GetTextFaceA(dc, LF_FACESIZE, got);
    int missing = -1;
    std::vector<WORD> glyphs(text.size());
    const bool asAsked = lstrcmpiA(got, face) == 0 || lstrcmpiA(face, kDialogFace) == 0;
    if (asAsked &&
        GetGlyphIndicesW(dc, text.c_str(), static_cast<int>(text.size()), glyphs.data(),
                         GGI_MARK_NONEXISTING_GLYPHS) != GDI_ERROR) {
        missing = 0;
        for (WORD g : glyphs) missing += g == 0xFFFF;
    }
    SelectObject(dc, old);
    return missing;
}

// The characters a face must draw: line breaks and other controls are none.
std::wstring DrawnCharacters(const std::string& text) {
    std::wstring drawn;
    for (wchar_t c : WidenAnsi(text))
        if (c >= 0x20) drawn += c;
    return drawn;
}

// The interface font of the user's own language, for Chinese characters.
const char* PreferredFace() {
    const LANGID language = GetUserDefaultUILanguage();
    switch (PRIMARYLANGID(language)) {
    case LANG_JAPANESE: return "Yu Gothic UI";
    case LANG_KOREAN: return "Malgun Gothic";
    case LANG_CHINESE:
        return SUBLANGID(language) == SUBLANG_CHINESE_TRADITIONAL || SUBLANGID(language) == SUBLANG_CHINESE_HONGKONG
                   ? "Microsoft JhengHei UI"
                   : "Microsoft YaHei UI";
    default: return nullptr;
    }
}

}  // namespace

void FitLabelFont(HWND label, const std::string& text) {
    HFONT current = reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0));
    LOGFONTA model = {};
    if (!label || !current || !GetObjectA(current, sizeof model, &model)) return;
    const std::wstring drawn = DrawnCharacters(text);
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) return;
    const std::string face =
        ChooseLabelFace([&](const char* f) { return MissingGlyphs(dc, model, f, drawn); }, PreferredFace());
    DeleteDC(dc);
    if (lstrcmpiA(face.c_str(), model.lfFaceName) != 0)
        SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(FontLike(model, face.c_str())), TRUE);
}
