#include <gtest/gtest.h>

#include "platform/ansi_text.h"

#include <algorithm>

#include "blocking/spotify_sequence.h"
#include "client/star_and_lyrics.h"
#include "client/window_parking.h"
#include "sim_world.h"

namespace {

struct Commands : SimWorld {
    WindowHandle spotify = nullptr;
    WindowHandle other = nullptr;
    void SetUp() override {
        spotify = Connect("track | Simon & Garfunkel | Cecilia | 600000\n");
        other = sim.AddWindow(SimWindow{"Notepad", "notes", {0, 0, 400, 300}});
        sim.foreground = other;
        keys.InitKeyboardLayout();
    }
    bool Pressed(const std::string& event) const {
        return std::find(keyboard.stream.begin(), keyboard.stream.end(), event) != keyboard.stream.end();
    }
};

TEST_F(Commands, StarClicksTheTrackThenTypesTheMenuKeys) {
    StarTrack(app, os);
    FinishSequence(app, os);
    ASSERT_EQ(sim.clicks.size(), 1u);
    EXPECT_EQ(sim.clicks[0], std::make_pair(64, app.spotifyHeight - 46));
    const auto apps = std::find(keyboard.stream.begin(), keyboard.stream.end(), "D93/94x");
    const auto t = std::find(keyboard.stream.begin(), keyboard.stream.end(), "D84/85");
    ASSERT_NE(apps, keyboard.stream.end());
    ASSERT_NE(t, keyboard.stream.end());
    EXPECT_LT(apps, t);
    // Spotify was brought forward invisibly and the focus given back.
    EXPECT_EQ(sim.foreground, other);
    EXPECT_EQ(sim.journal[0], "layered on");
    EXPECT_EQ(sim.journal[1], "alpha 0");
    EXPECT_EQ(sim.journal.back(), "layered off");
    EXPECT_GE(sim.now, 1000u + 25u + 100u + 150u + 100u);
}

TEST_F(Commands, StarWithSpotifyInFrontChangesNoWindow) {
    sim.foreground = spotify;
    StarTrack(app, os);
    FinishSequence(app, os);
    EXPECT_TRUE(sim.journal.empty());
    EXPECT_EQ(sim.foreground, spotify);
    EXPECT_TRUE(Pressed("D93/94x"));
}

TEST_F(Commands, StarPutsAParkedWindowBackToTheBottomOfItsPlace) {
    sim.windows[spotify].iconic = true;
    KeepSpotifyCapturable(app, os);
    ASSERT_TRUE(app.spotifyParked);
    sim.journal.clear();
    StarTrack(app, os);
    FinishSequence(app, os);
    EXPECT_EQ(sim.journal.back(), "pos 1280,1024 bottom flags=" + std::to_string(win::kSwpNoSize | win::kSwpNoActivate));
    EXPECT_EQ(sim.windows[spotify].rect.left, 1280);
}

TEST_F(Commands, LyricsSearchKeepsTheWholeTrackName) {
    SearchLyrics(app, os);
    ASSERT_EQ(sim.launched.size(), 1u);
    EXPECT_EQ(sim.launched[0], "https://www.google.com/search?q=Simon%20%26%20Garfunkel%20%E2%80%93%20Cecilia%20lyrics"
                               "&btnI=Im+Feeling+Lucky");
    EXPECT_STREQ(app.titleBuffer, "Spotify - Simon & Garfunkel \xE2\x80\x93 Cecilia");
}

TEST_F(Commands, NoSearchWhileNothingPlays) {
    SimClick(sim.player, 42, app.spotifyHeight - 21, 0);
    SearchLyrics(app, os);
    EXPECT_TRUE(sim.launched.empty());
}

TEST(LyricsAddress, KeepsOnlyUnreservedBytesAndSendsUtf8) {
    EXPECT_EQ(LyricsAddress("100% #1 + more\tx\x7F"),
              "https://www.google.com/search?q=100%25%20%231%20%2B%20more%09x%7F%20lyrics&btnI=Im+Feeling+Lucky");
    EXPECT_EQ(LyricsAddress("\"a\" <b> |c\\ A-z_0.9~ Caf\xC3\xA9"),
              "https://www.google.com/search?q=%22a%22%20%3Cb%3E%20%7Cc%5C%20A-z_0.9~%20Caf%C3%A9%20lyrics"
              "&btnI=Im+Feeling+Lucky");
    EXPECT_EQ(LyricsAddress(""), "https://www.google.com/search?q=%20lyrics&btnI=Im+Feeling+Lucky");
    // The real words in any script, not question marks.
    EXPECT_EQ(LyricsAddress("\xEC\x95\x84\xEC\x9D\xB4\xEC\x9C\xA0 \xF0\x9F\x8E\xB5"),
              "https://www.google.com/search?q=%EC%95%84%EC%9D%B4%EC%9C%A0%20%F0%9F%8E%B5%20lyrics&btnI=Im+Feeling+Lucky");
}

TEST(Utf8, WideTextOfEveryLength) {
    EXPECT_EQ(Utf8FromWide(L"A\u00E9\u2013"), "A\xC3\xA9\xE2\x80\x93");
    EXPECT_EQ(Utf8FromWide(std::wstring(1, static_cast<wchar_t>(0xD800))), "\xEF\xBF\xBD");  // unpaired
    // And back: whole characters of each length, a malformed byte as U+FFFD
    // without swallowing what follows it.
    EXPECT_EQ(WideFromUtf8("A\xC3\xA9\xE2\x80\x93\xF0\x9F\x8E\xB5"), std::wstring(L"A\u00E9\u2013") + L"\U0001F3B5");
    EXPECT_EQ(WideFromUtf8("a\xE2\x80" "b\xC0\xAF"), L"a\uFFFD\uFFFDb\uFFFD\uFFFD");
    // The edges of each length.
    EXPECT_EQ(Utf8FromWide(L"\u007F\u0080\u07FF\u0800\uFFFF"), "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF");
    EXPECT_EQ(WideFromUtf8("\xE0\xA0\x80\xEF\xBF\xBF"), L"\u0800\uFFFF");
    EXPECT_EQ(WideFromUtf8("\xE0\x80\x80x"), L"\uFFFD\uFFFD\uFFFDx");  // overlong
    // A pair of surrogates, as Windows' wide text carries U+1F3B5, is one character.
    const std::wstring pair = {static_cast<wchar_t>(0xD83C), static_cast<wchar_t>(0xDFB5)};
    EXPECT_EQ(Utf8FromWide(pair), "\xF0\x9F\x8E\xB5");
    EXPECT_EQ(Utf8FromWide(std::wstring(1, static_cast<wchar_t>(0xDFB5)) + L"a"), "\xEF\xBF\xBD" "a");  // low alone
}

TEST_F(Commands, DebugKeysGoToSpotifyInFront) {
    SendDebugKeys(app, os);
    EXPECT_EQ(sim.foreground, spotify);
    const std::vector<std::string> expected = {"D17/18", "D18/19", "D36/37x", "U36/37x", "U18/19", "U17/18"};
    EXPECT_EQ(keyboard.stream, expected);
}

}  // namespace
