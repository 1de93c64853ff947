// The filler player over real DirectShow, playing generated MP3 files.
#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include <cstdlib>

#include "app/dpi_layout_win32.h"
#include "base/log.h"
#include "child_process.h"
#include "sim_rig.h"
#include "music/filler_player.h"
#include "music/mp3_index.h"
#include "platform/folder_listing.h"
#include "platform/ansi_text.h"
#include "platform/main_controls_win32.h"
#include "platform/media_graph_win32.h"

namespace {

std::wstring Media(const char* name) {
    return WidenAnsi(ExeFolder() + "media\\" + name);
}

std::string FaceOf(HWND control) {
    LOGFONTA font = {};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font.lfFaceName;
}

int ThreadCount() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
    CloseHandle(snapshot);
    return count;
}

struct DirectShow : ::testing::Test {
    DirectShowGraph graph;
    FillerPlayer filler{graph};
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))); }
    void TearDown() override {
        filler.Release();
        CoUninitialize();
    }
};

TEST_F(DirectShow, LoadRunPauseStopAndVolume) {
    ASSERT_TRUE(filler.Load(Media("tone-a.mp3")));
    EXPECT_TRUE(filler.loaded);
    // 1.5 s in 100-ns units; the encoder may pad by a few 26 ms frames.
    EXPECT_GE(filler.duration, 15000000);
    EXPECT_LE(filler.duration, 15000000 + 1000000);
    EXPECT_TRUE(filler.Run());
    for (int volume : {-10000, -5000, -1, 0}) EXPECT_TRUE(filler.SetVolume(volume)) << volume;
    filler.Pause();
    EXPECT_TRUE(filler.IsStillPlaying());
    EXPECT_TRUE(filler.Run());
    filler.Stop();
    EXPECT_TRUE(filler.loaded);
    filler.Release();
    EXPECT_FALSE(filler.loaded);
    EXPECT_FALSE(filler.Run());
    EXPECT_FALSE(filler.SetVolume(0));
}

TEST_F(DirectShow, IsStillPlayingTurnsFalseAtTheEnd) {
    ASSERT_TRUE(filler.Load(Media("tone-b.mp3")));
    const DWORD start = GetTickCount();
    ASSERT_TRUE(filler.Run());
    EXPECT_TRUE(filler.IsStillPlaying());
    while (filler.IsStillPlaying() && GetTickCount() - start < 15000) Sleep(20);
    const DWORD took = GetTickCount() - start;
    EXPECT_FALSE(filler.IsStillPlaying());
    EXPECT_GE(took, 800u);  // it really played, about a second
}

TEST_F(DirectShow, AVariableBitRateFileEndsToo) {
    ASSERT_TRUE(filler.Load(Media("tone-vbr.mp3")));
    const DWORD start = GetTickCount();
    ASSERT_TRUE(filler.Run());
    while (filler.IsStillPlaying() && GetTickCount() - start < 15000) Sleep(20);
    EXPECT_FALSE(filler.IsStillPlaying());
    EXPECT_GE(GetTickCount() - start, 900u);
}

TEST_F(DirectShow, FileNamesOutsideAsciiPlayAndShowInTheCodePage) {
    const std::wstring folder = WidenAnsi(ExeFolder()) + L"unicode-music";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring names[] = {L"Don\u2019t Stop.mp3", L"Caf\u00e9.mp3", L"\u041f\u0440\u0438\u0432\u0435\u0442.mp3",
                                  L"\u65e5\u672c.mp3"};
    for (const std::wstring& name : names)
        ASSERT_TRUE(CopyFileW(Media("tone-a.mp3").c_str(), (folder + L"\\" + name).c_str(), FALSE));
    ApplicationState app;
    IndexMp3Folder(app, SystemFolderListing(), NarrowAnsi(folder));
    ASSERT_EQ(app.mp3Count, 4);
    Win32MainControls controls;
    for (const std::wstring& name : names) {
        app.mp3Files = {folder + L"\\" + name};
        app.mp3Count = 1;
        PlayMp3(app, filler, controls, true);
        EXPECT_TRUE(app.fillerPlaying);
        EXPECT_EQ(app.currentMp3, folder + L"\\" + name);  // the whole name, not its low bytes
        EXPECT_TRUE(ReplayFillerFile(filler, controls, app.currentMp3));  // and played again by it
    }
    // In the program's code page, UTF-8: every name whole, in any script.
    EXPECT_EQ(Mp3Label(folder + L"\\Caf\u00e9.mp3"), "Caf\xC3\xA9.mp3");
    EXPECT_EQ(Mp3Label(folder + L"\\Don\u2019t Stop.mp3"), "Don\xE2\x80\x99t Stop.mp3");
    EXPECT_EQ(Mp3Label(folder + L"\\\u65e5\u672c.mp3"), "\xE6\x97\xA5\xE6\x9C\xAC.mp3");
    // The label shows it whole, in a face that has its characters (under
    // Wine the dialog font has no Japanese), and Verdana again for Latin.
    HWND label = CreateWindowA("STATIC", "^__^", WS_POPUP, 0, 0, 200, 20, nullptr, nullptr, nullptr, nullptr);
    SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(FontAtDpi(96, false)), FALSE);
    controls.statusLabel = label;
    app.mp3Files = {folder + L"\\" + names[3]};
    PlayMp3(app, filler, controls, true);
    EXPECT_EQ(WideText(label), L"\u65e5\u672c.mp3");
    EXPECT_EQ(FaceOf(label), "WenQuanYi Micro Hei");
    app.mp3Files = {folder + L"\\" + names[1]};
    PlayMp3(app, filler, controls, true);
    EXPECT_EQ(WideText(label), L"Caf\u00e9.mp3");
    EXPECT_EQ(FaceOf(label), "Verdana");
    controls.statusLabel = nullptr;
    DestroyWindow(label);
    // A file gone since it played: said, and nothing holds Spotify back.
    DeleteFileW((folder + L"\\" + names[1]).c_str());
    EXPECT_FALSE(ReplayFillerFile(filler, controls, folder + L"\\" + names[1]));
    EXPECT_FALSE(filler.IsStillPlaying());
}

TEST_F(DirectShow, ACorruptFileDoesNotLoad) {
    EXPECT_FALSE(filler.Load(Media("corrupt.mp3")));
    EXPECT_FALSE(filler.loaded);
    EXPECT_FALSE(filler.Run());
}

TEST_F(DirectShow, PlayMp3DropsTheCorruptFileAndShowsThePlayingOne) {
    HWND label = CreateWindowA("STATIC", "^__^", WS_POPUP, 0, 0, 200, 20, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(label, nullptr);
    Win32MainControls controls;
    controls.statusLabel = label;
    ApplicationState app;
    app.mp3Files = {Media("corrupt.mp3"), Media("tone-a.mp3")};
    app.mp3Count = 2;
    TheDebugLog().logBacklog.clear();
    std::srand(1);
    for (int i = 0; i < 30 && app.mp3Count == 2; ++i) PlayMp3(app, filler, controls, true);
    EXPECT_EQ(app.mp3Count, 1);
    ASSERT_EQ(app.mp3Files.size(), 1u);
    EXPECT_EQ(app.mp3Files[0], Media("tone-a.mp3"));
    EXPECT_TRUE(app.fillerPlaying);
    EXPECT_EQ(Mp3Label(app.currentMp3), "tone-a.mp3");
    char text[256] = {};
    GetWindowTextA(label, text, sizeof text);
    EXPECT_STREQ(text, "tone-a.mp3");
    const std::string log = TheDebugLog().logBacklog;
    EXPECT_NE(log.find("Error:      corrupt.mp3\n"), std::string::npos) << log;
    EXPECT_NE(log.find("MP3:        tone-a.mp3\n"), std::string::npos) << log;
    PlayMp3(app, filler, controls, false);
    EXPECT_FALSE(app.fillerPlaying);
    TheDebugLog().logBacklog.clear();
    DestroyWindow(label);
}

// One full cycle: COM up, a file played, the player released, COM down.
void PlayOnce(int* threadsWhilePlaying) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    {
        DirectShowGraph graph;
        FillerPlayer filler(graph);
        ASSERT_TRUE(filler.Load(Media("tone-c.mp3")));
        ASSERT_TRUE(filler.Run());
        std::int64_t position = 0;
        EXPECT_TRUE(WaitUntil([&] { return graph.ReadPosition(position) && position > 0; }, 5000));  // sounding
        *threadsWhilePlaying = ThreadCount();
        filler.Release();
    }
    CoUninitialize();
}

int SettledThreadCount(int target) {
    const DWORD start = GetTickCount();
    while (ThreadCount() > target && GetTickCount() - start < 5000) Sleep(50);
    return ThreadCount();
}

TEST(DirectShowLifetime, ReleaseThenUninitializeLeavesNothingRunning) {
    // The first playback starts the audio driver's own threads, which stay for
    // the life of the process; every later cycle must end where it began.
    int playing = 0;
    PlayOnce(&playing);
    // Settled: the same count for half a second.
    int baseline = ThreadCount();
    EXPECT_TRUE(WaitUntil(
        [&] {
            const int before = ThreadCount();
            Sleep(500);
            baseline = ThreadCount();
            return baseline == before;
        },
        10000));
    ASSERT_GT(baseline, 0);
    PlayOnce(&playing);
    EXPECT_GT(playing, baseline);  // the graph had threads of its own
    EXPECT_LE(SettledThreadCount(baseline), baseline);
}

}  // namespace
