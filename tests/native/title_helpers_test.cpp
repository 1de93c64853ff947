#include <gtest/gtest.h>

#include <map>

#include "base/text_helpers.h"
#include "blocking/advert_classifier.h"
#include "platform/label_font.h"

TEST(TrackText, DropsExactlyTheFirstTenCharacters) {
    EXPECT_EQ(TrackText("Spotify - Artist \xE2\x80\x93 Song"), "Artist \xE2\x80\x93 Song");
    EXPECT_EQ(TrackText("0123456789X"), "X");
    // Whatever the first ten are.
    EXPECT_EQ(TrackText("ABCDEFGHIJklm"), "klm");
    // Characters, not bytes: ten Korean syllables are thirty bytes.
    EXPECT_EQ(TrackText("\xEA\xB0\x80\xEA\xB0\x80\xEA\xB0\x80\xEA\xB0\x80\xEA\xB0\x80\xEA\xB0\x80\xEA\xB0\x80"
                        "\xEA\xB0\x80\xEA\xB0\x80\xEA\xB0\x80\xEB\x82\x98"),
              "\xEB\x82\x98");
}

TEST(TrackText, TenCharactersOrFewerGiveEmptyText) {
    EXPECT_EQ(TrackText("Spotify - "), "");
    EXPECT_EQ(TrackText("Spotify"), "");
    EXPECT_EQ(TrackText(""), "");
}

TEST(DisplayText, BlankDashBlankBecomesOneLineFeed) {
    EXPECT_EQ(DisplayText("Artist \xE2\x80\x93 Title"), "Artist\nTitle");
}

TEST(DisplayText, OnlyTheFirstSeparatorIsReplaced) {
    EXPECT_EQ(DisplayText("A \xE2\x80\x93 B \xE2\x80\x93 C"), "A\nB \xE2\x80\x93 C");
}

TEST(DisplayText, ReplacesTheNeighboursWhateverTheyAre) {
    EXPECT_EQ(DisplayText("ab\xE2\x80\x93" "cd"), "a\nd");
    // Whole characters, however many bytes each takes: never half of one.
    EXPECT_EQ(DisplayText("\xEA\xB0\x80\xEB\x82\x98\xE2\x80\x93\xEB\x8B\xA4\xF0\x9F\x8E\xB5"),
              "\xEA\xB0\x80\n\xF0\x9F\x8E\xB5");
    EXPECT_EQ(DisplayText("\xEC\x95\x84\xEC\x9D\xB4\xEC\x9C\xA0 \xE2\x80\x93 \xEC\xA2\x8B\xEC\x9D\x80 \xEB\x82\xA0"),
              "\xEC\x95\x84\xEC\x9D\xB4\xEC\x9C\xA0\n\xEC\xA2\x8B\xEC\x9D\x80 \xEB\x82\xA0");
}

// Older Windows keep the legacy code page: 1252's dash is the byte 96 and a
// character one byte; a Japanese or Korean code page has no dash at all.
TEST(DisplayText, LegacyCodePagesSplitByTheirOwnDashOrNotAtAll) {
    EXPECT_EQ(SplitTitleAt("Caf\xE9 \x96 Cr\xE8me", "\x96"), "Caf\xE9\nCr\xE8me");
    EXPECT_EQ(SplitTitleAt("\xE9\x96\xE8x", "\x96"), "\nx");  // one byte a neighbour
    EXPECT_EQ(SplitTitleAt("Who Are You? - Song", ""), "Who Are You? - Song");
    EXPECT_EQ(TrackText("Spotify - Caf\xE9 \x96 x"), "Caf\xE9 \x96 x");
    // 1252's "¿" looks like a UTF-8 continuation: one byte, one character all the same.
    EXPECT_EQ(TrackText("\xBF" "Qu\xE9 pasa\xBF? \x96 y"), "? \x96 y");
    EXPECT_EQ(SplitTitleAt("\xBF\xBF \x96 \xBF\xBF", "\x96"), "\xBF\xBF\n\xBF\xBF");
}

TEST(DisplayText, TextsWithoutACompleteSeparatorStayInBounds) {
    EXPECT_EQ(DisplayText(""), "");
    EXPECT_EQ(DisplayText("No dash here"), "No dash here");
    EXPECT_EQ(DisplayText("\xE2\x80\x93 Title"), "\nTitle");
    EXPECT_EQ(DisplayText("\xE2\x80\x93"), "\n");
    EXPECT_EQ(DisplayText("Artist \xE2\x80\x93"), "Artist\n");
    EXPECT_EQ(DisplayText("x\xE2\x80\x93"), "\n");
}

TEST(Utf8Text, WellFormedOnlyWhenEveryCharacterIsWhole) {
    EXPECT_TRUE(IsUtf8(""));
    EXPECT_TRUE(IsUtf8("Spotify - A \xE2\x80\x93 B \xF0\x9F\x8E\xB5"));
    EXPECT_FALSE(IsUtf8("C:\\M\xFAsica"));      // 1252
    EXPECT_FALSE(IsUtf8("\xC0\xAF"));           // overlong "/"
    EXPECT_FALSE(IsUtf8("\xED\xA0\x80"));       // a surrogate
    EXPECT_FALSE(IsUtf8("\xF4\x90\x80\x80"));   // past U+10FFFF
    EXPECT_FALSE(IsUtf8("a\xE2\x80"));          // cut short
    EXPECT_FALSE(IsUtf8("\xE0\x9F\xBF"));       // overlong in three bytes
    EXPECT_FALSE(IsUtf8("\xF0\x8F\xBF\xBF"));   // overlong in four
    EXPECT_FALSE(IsUtf8("\xED\xBF\xBF"));       // the last surrogate
    EXPECT_TRUE(IsUtf8("\xE0\xA0\x80\xEE\x80\x80\xF4\x8F\xBF\xBF"));  // U+0800, U+E000, U+10FFFF
}

TEST(Utf8Text, CutsFallBetweenCharacters) {
    const std::string korean = "\xEC\x95\x84\xEC\x9D\xB4\xEC\x9C\xA0";  // three syllables
    EXPECT_EQ(CutText(korean, 8), "\xEC\x95\x84\xEC\x9D\xB4");
    EXPECT_EQ(CutText(korean, 3), "\xEC\x95\x84");
    EXPECT_EQ(CutText(korean, 2), "");
    EXPECT_EQ(CutText(korean, 9), korean);
    EXPECT_EQ(CutText("Caf\xE9 noir", 4), "Caf\xE9");  // a legacy code page's bytes: at the byte
    EXPECT_EQ(CutText("\xBF" "Qu\xE9?\xBF\xBF", 5), "\xBF" "Qu\xE9?");  // 1252's "¿" is no continuation
    // A buffer that cut the last character: it is dropped, nothing else.
    EXPECT_EQ(WholeCharacters("ab\xEC\x95"), "ab");
    EXPECT_EQ(WholeCharacters("ab\xF0\x9F\x8E"), "ab");
    EXPECT_EQ(WholeCharacters(korean), korean);
    EXPECT_EQ(WholeCharacters("M\xFA" "sica"), "M\xFA" "sica");
    // Bytes no UTF-8 character starts or continues with are not taken for one.
    EXPECT_EQ(WholeCharacters("ab\xE0\x80"), "ab\xE0\x80");
    EXPECT_EQ(WholeCharacters("ab\xF5\x80"), "ab\xF5\x80");
    EXPECT_EQ(WholeCharacters("ab\xED\xA0"), "ab\xED\xA0");      // would be a surrogate
    EXPECT_EQ(WholeCharacters("ab\xF4\x90\x80"), "ab\xF4\x90\x80");  // would pass U+10FFFF
    EXPECT_EQ(WholeCharacters("ab\xF0\x8F"), "ab\xF0\x8F");      // would be overlong
    EXPECT_EQ(WholeCharacters("ab\xE0\xA0"), "ab");               // the first three-byte character, cut
    EXPECT_EQ(WholeCharacters("ab\xC3"), "ab");
    EXPECT_EQ(WholeCharacters("\xE9t\xE9\xEC\x95"), "\xE9t\xE9\xEC\x95");  // legacy bytes before it: not UTF-8
}

TEST(LabelFace, TheDialogFontUnlessAnotherDrawsMoreOfTheText) {
    std::map<std::string, int> missing;
    const char* preferred = nullptr;
    const auto chosen = [&] {
        return ChooseLabelFace(
            [&](const char* face) {
                const auto it = missing.find(face);
                return it == missing.end() ? -1 : it->second;
            },
            preferred);
    };
    missing = {{"Verdana", 0}, {"Segoe UI", 0}};
    EXPECT_EQ(chosen(), "Verdana");
    missing = {{"Verdana", 4}, {"Malgun Gothic", 0}, {"WenQuanYi Micro Hei", 0}};
    EXPECT_EQ(chosen(), "Malgun Gothic");  // Windows' own font for the script first
    missing = {{"Verdana", 3}, {"Yu Gothic UI", 0}, {"Microsoft YaHei UI", 0}};
    EXPECT_EQ(chosen(), "Yu Gothic UI");
    preferred = "Microsoft YaHei UI";  // Chinese characters, for a Chinese user
    EXPECT_EQ(chosen(), "Microsoft YaHei UI");
    preferred = nullptr;
    missing = {{"Verdana", 5}, {"WenQuanYi Micro Hei", 2}, {"DejaVu Sans", 3}};
    EXPECT_EQ(chosen(), "WenQuanYi Micro Hei");  // an emoji no font draws
    missing = {{"Verdana", 2}, {"WenQuanYi Micro Hei", 2}};
    EXPECT_EQ(chosen(), "Verdana");  // a tie keeps the dialog font
    missing = {{"Verdana", 3}};
    EXPECT_EQ(chosen(), "Verdana");  // nothing better installed
    missing = {{"DejaVu Sans", 1}};
    EXPECT_EQ(chosen(), "DejaVu Sans");  // the dialog font not measurable at all
}
