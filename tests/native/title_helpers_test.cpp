#include <gtest/gtest.h>

#include "blocking/advert_classifier.h"

TEST(TrackText, DropsExactlyTheFirstTenCharacters) {
    EXPECT_EQ(TrackText("Spotify - Artist \x96 Song"), "Artist \x96 Song");
    EXPECT_EQ(TrackText("0123456789X"), "X");
    // Whatever the first ten are.
    EXPECT_EQ(TrackText("ABCDEFGHIJklm"), "klm");
}

TEST(TrackText, TenCharactersOrFewerGiveEmptyText) {
    EXPECT_EQ(TrackText("Spotify - "), "");
    EXPECT_EQ(TrackText("Spotify"), "");
    EXPECT_EQ(TrackText(""), "");
}

TEST(DisplayText, BlankDashBlankBecomesOneLineFeed) {
    EXPECT_EQ(DisplayText("Artist \x96 Title"), "Artist\nTitle");
}

TEST(DisplayText, OnlyTheFirstSeparatorIsReplaced) {
    EXPECT_EQ(DisplayText("A \x96 B \x96 C"), "A\nB \x96 C");
}

TEST(DisplayText, ReplacesTheNeighboursWhateverTheyAre) {
    EXPECT_EQ(DisplayText("ab\x96" "cd"), "a\nd");
}

TEST(DisplayText, TextsWithoutACompleteSeparatorStayInBounds) {
    EXPECT_EQ(DisplayText(""), "");
    EXPECT_EQ(DisplayText("No dash here"), "No dash here");
    EXPECT_EQ(DisplayText("\x96 Title"), "\nTitle");
    EXPECT_EQ(DisplayText("\x96"), "\n");
    EXPECT_EQ(DisplayText("Artist \x96"), "Artist\n");
    EXPECT_EQ(DisplayText("x\x96"), "\n");
}
