#include <gtest/gtest.h>

#include <cstdlib>

#include "base/log.h"
#include "fake_main_controls.h"
#include "fake_media_graph.h"
#include "base/text_helpers.h"
#include "music/filler_player.h"

namespace {

struct Filler : ::testing::Test {
    FakeMediaGraph graph;
    FillerPlayer filler{graph};
    FakeMainControls controls;
    ApplicationState app;
    void SetUp() override {
        TheDebugLog().logBacklog.clear();
        std::srand(7);
    }
    void TearDown() override { TheDebugLog().logBacklog.clear(); }
    void Add(const std::wstring& path, FakeMedia media) {
        graph.files[path] = media;
        app.mp3Files.push_back(path);
        ++app.mp3Count;
    }
    static std::string Log() { return TheDebugLog().logBacklog; }
};

TEST_F(Filler, LoadKeepsDurationAcrossReleasesAndFailedReads) {
    graph.files[L"a.mp3"] = Playable(15000000);
    graph.files[L"b.mp3"] = Playable(99);
    graph.files[L"b.mp3"].durationReadable = false;
    EXPECT_TRUE(filler.Load(L"a.mp3"));
    EXPECT_TRUE(filler.loaded);
    EXPECT_EQ(filler.duration, 15000000);
    filler.Release();
    EXPECT_FALSE(filler.loaded);
    EXPECT_EQ(filler.duration, 15000000);
    EXPECT_TRUE(filler.Load(L"b.mp3"));
    EXPECT_EQ(filler.duration, 15000000);
    EXPECT_FALSE(filler.Load(L"missing.mp3"));
    EXPECT_FALSE(filler.loaded);
    EXPECT_EQ(filler.duration, 15000000);
}

TEST_F(Filler, NothingLoadedMeansNoRunNoVolumeAndNothingPlaying) {
    EXPECT_FALSE(filler.Run());
    EXPECT_FALSE(filler.SetVolume(-500));
    filler.Pause();
    filler.Stop();
    EXPECT_EQ(graph.runs + graph.pauses + graph.stops, 0);
    EXPECT_FALSE(filler.IsStillPlaying());  // so nothing waits for it
    graph.createFails = true;
    EXPECT_FALSE(filler.Load(L"a.mp3"));
    EXPECT_FALSE(filler.Run());
}

TEST_F(Filler, EndIsThePositionAtTheDurationOrAnUnreadablePosition) {
    graph.files[L"a.mp3"] = Playable(1000);
    graph.files[L"a.mp3"].positions = {10, 999, 1001, 1000};
    ASSERT_TRUE(filler.Load(L"a.mp3"));
    EXPECT_TRUE(filler.IsStillPlaying());
    EXPECT_TRUE(filler.IsStillPlaying());
    EXPECT_TRUE(filler.IsStillPlaying());  // past the end is not the end
    EXPECT_FALSE(filler.IsStillPlaying());
    graph.files[L"a.mp3"].positions.clear();  // the position cannot be read
    EXPECT_FALSE(filler.IsStillPlaying());
}

TEST_F(Filler, VolumeFollowsTheSliderOnALoudnessCurve) {
    EXPECT_EQ(FillerVolumeFromSlider(100), 0);
    EXPECT_EQ(FillerVolumeFromSlider(0), -10000);
    EXPECT_EQ(FillerVolumeFromSlider(101), 0);
    EXPECT_EQ(FillerVolumeFromSlider(-5), -10000);
    EXPECT_EQ(FillerVolumeFromSlider(30), -2092);  // 40 log10(0.3) dB: soft, not inaudible
    EXPECT_EQ(FillerVolumeFromSlider(50), -1204);
    EXPECT_EQ(FillerVolumeFromSlider(1), -8000);
    for (int p = 1; p <= 100; ++p) EXPECT_GT(FillerVolumeFromSlider(p), FillerVolumeFromSlider(p - 1)) << p;
    graph.files[L"a.mp3"] = Playable();
    ASSERT_TRUE(filler.Load(L"a.mp3"));
    EXPECT_TRUE(filler.SetVolume(-3700));
    EXPECT_EQ(graph.volume, -3700);
}

TEST_F(Filler, BaseNameIsWhatFollowsTheLastSeparator) {
    EXPECT_EQ(BaseName("C:\\Music\\Album\\song.mp3"), "song.mp3");
    EXPECT_EQ(BaseName("C:/Music/Spotify.exe"), "Spotify.exe");
    EXPECT_EQ(BaseName("song.mp3"), "song.mp3");
    EXPECT_EQ(BaseName("C:\\Music\\"), "");
    EXPECT_EQ(BaseName(""), "");
    EXPECT_EQ(FolderOf("C:\\Users\\me\\Adquell Lite.exe"), "C:\\Users\\me\\");
    EXPECT_EQ(FolderOf("Adquell Lite.exe"), "");
}

TEST_F(Filler, EmptyListGivesUpAtOnce) {
    PlayMp3(app, filler, controls, true);
    EXPECT_FALSE(app.fillerPlaying);
    EXPECT_EQ(Log(), "Error:      Unabled to load MP3s\n");
    EXPECT_TRUE(controls.statusHistory.empty());
}

TEST_F(Filler, AnUnplayableFileIsDroppedAndThePlayableOneAlwaysChosen) {
    Add(L"C:\\M\\bad.mp3", Unplayable());
    Add(L"C:\\M\\good.mp3", Playable());
    for (int i = 0; i < 20; ++i) {
        PlayMp3(app, filler, controls, true);
        ASSERT_TRUE(app.fillerPlaying);
        EXPECT_EQ(app.currentMp3, L"C:\\M\\good.mp3");
        EXPECT_EQ(controls.status, "good.mp3");
    }
    EXPECT_EQ(graph.loads[L"C:\\M\\bad.mp3"], 1);
    EXPECT_EQ(app.mp3Count, 1);
    ASSERT_EQ(app.mp3Files.size(), 1u);
    const std::string log = Log();
    const auto error = log.find("Error:      bad.mp3\n");
    EXPECT_NE(error, std::string::npos) << log;
    EXPECT_EQ(log.find("Error:", error + 1), std::string::npos) << log;
    EXPECT_NE(Log().find("MP3:        good.mp3\n"), std::string::npos);
}

TEST_F(Filler, AllUnplayableEmptiesTheListInOrder) {
    Add(L"a.mp3", Unplayable());
    Add(L"b.mp3", Unplayable());
    Add(L"c.mp3", Unplayable());
    PlayMp3(app, filler, controls, true);
    EXPECT_FALSE(app.fillerPlaying);
    EXPECT_EQ(app.mp3Count, 0);
    EXPECT_TRUE(app.mp3Files.empty());
    const std::string log = Log();
    EXPECT_NE(log.find("Error:      a.mp3\n"), std::string::npos);
    EXPECT_NE(log.find("Error:      b.mp3\n"), std::string::npos);
    EXPECT_NE(log.find("Error:      c.mp3\n"), std::string::npos);
    EXPECT_EQ(log.substr(log.size() - 33), "Error:      Unabled to load MP3s\n");
}

TEST_F(Filler, FilesThatNeverStartEndTheSearch) {
    Add(L"stuck1.mp3", NeverStarts());
    Add(L"stuck2.mp3", NeverStarts());
    PlayMp3(app, filler, controls, true);
    EXPECT_FALSE(app.fillerPlaying);
    EXPECT_EQ(app.mp3Count, 2);  // they load, so they stay listed
    EXPECT_GE(graph.loads[L"stuck1.mp3"], 3);
    EXPECT_GE(graph.loads[L"stuck2.mp3"], 3);
    EXPECT_LE(graph.loads[L"stuck1.mp3"] + graph.loads[L"stuck2.mp3"], 60);
    EXPECT_NE(Log().find("Error:      Unabled to load MP3s\n"), std::string::npos);
}

TEST_F(Filler, AStuckFileDoesNotHideAGoodOne) {
    for (int i = 0; i < 9; ++i) Add(L"stuck" + std::to_wstring(i) + L".mp3", NeverStarts());
    Add(L"good.mp3", Playable());
    for (int round = 0; round < 50; ++round) {
        PlayMp3(app, filler, controls, true);
        ASSERT_TRUE(app.fillerPlaying) << "round " << round;
        EXPECT_EQ(app.currentMp3, L"good.mp3");
    }
}

TEST_F(Filler, StoppingLogsEvenWithNothingLoaded) {
    app.fillerPlaying = true;
    PlayMp3(app, filler, controls, false);
    EXPECT_FALSE(app.fillerPlaying);
    EXPECT_EQ(Log(), "MP3:        Stopped\n");
    EXPECT_EQ(graph.stops, 0);
}

TEST_F(Filler, StoppingKeepsTheGraphLoaded) {
    Add(L"a.mp3", Playable());
    PlayMp3(app, filler, controls, true);
    ASSERT_TRUE(graph.running);
    PlayMp3(app, filler, controls, false);
    EXPECT_FALSE(graph.running);
    EXPECT_TRUE(filler.loaded);
}

TEST_F(Filler, AFileNameOutsideAsciiStaysWholeInThePathAndTheLabel) {
    Add(L"C:\\M\\caf\u00e9\u0141\u65e5.mp3", Playable());
    PlayMp3(app, filler, controls, true);
    EXPECT_EQ(app.currentMp3, L"C:\\M\\caf\u00e9\u0141\u65e5.mp3");
    EXPECT_EQ(controls.status, "caf\xC3\xA9\xC5\x81\xE6\x97\xA5.mp3");  // the code page is UTF-8
}

TEST_F(Filler, AVariableBitRateFileEndsByTheGraphsWord) {
    // Its position never equals the estimated duration.
    FakeMedia vbr = Playable(20000000);
    vbr.positions = {19990000};
    Add(L"a.mp3", vbr);
    PlayMp3(app, filler, controls, true);
    EXPECT_TRUE(filler.IsStillPlaying());
    graph.files[L"a.mp3"].completes = true;
    EXPECT_FALSE(filler.IsStillPlaying());
}

}  // namespace
