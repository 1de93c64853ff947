// Which font a label shows its text in. Wine (and an older Windows) does not
// fall back from the dialog font to one that has the text's script, so a
// title in Korean or Japanese would show as empty boxes in Verdana.
#pragma once
#include <functional>
#include <string>

// The dialog font, which every text it can draw whole keeps.
constexpr const char* kDialogFace = "Verdana";

// The faces tried after it, in order: Windows' own interface fonts per
// script, then common free fonts (the test machines' CJK font among them).
// Japanese before Korean: the Korean font has kana too, the Japanese none of
// Hangul.
constexpr const char* kFallbackFaces[] = {
    "Segoe UI",         "Yu Gothic UI",        "Meiryo UI",      "Malgun Gothic",       "Microsoft YaHei UI",
    "Microsoft JhengHei UI", "Nirmala UI",     "Leelawadee UI",  "Segoe UI Emoji",      "Segoe UI Symbol",
    "WenQuanYi Micro Hei",   "Noto Sans CJK JP", "DejaVu Sans",
};

// missing(face): how many of the text's characters the face cannot draw, or
// -1 when it is not installed. preferred: the interface font of the user's
// own language, tried before the others (Chinese characters look different
// in a Japanese font), or null. The dialog font when it draws them all, else
// the first face that does, else the one missing the fewest (the dialog font
// on a tie), else the dialog font.
std::string ChooseLabelFace(const std::function<int(const char* face)>& missing, const char* preferred);
