#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <future>
#include <map>
#include <sstream>
#include <thread>
#include <vector>

#include "base/log.h"

namespace {

// Writes one character at a time, so that two unserialised writers would mix.
class SlowConsole : public ConsoleOutput {
public:
    std::string text;
    void Write(const std::string& s) override {
        for (char c : s) {
            text += c;
            if (c == ' ') std::this_thread::yield();
        }
    }
};

struct Log : ::testing::Test {
    SlowConsole console;
    void SetUp() override { Reset(); }
    void TearDown() override { Reset(); }
    void Reset() {
        DebugLog& log = TheDebugLog();
        log.logBacklog.clear();
        log.backlogLines = 0;
        log.consolePending.clear();
        log.consoleWriting = false;
        log.consoleShown = false;
        log.console = nullptr;
    }
    void ShowConsole() {
        TheDebugLog().console = &console;
        TheDebugLog().consoleShown = true;
    }
    static std::string Backlog() { return TheDebugLog().logBacklog; }
};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST_F(Log, LinesGoToTheBacklogUntilTheConsoleShows) {
    LogLine("MP3:        Indexing");
    LogLine("MP3:        Found 3");
    EXPECT_EQ(Backlog(), "MP3:        Indexing\nMP3:        Found 3\n");
    ShowConsole();
    LogLine("");
    EXPECT_EQ(console.text, "MP3:        Indexing\nMP3:        Found 3\n");
    EXPECT_EQ(Backlog(), "");
    LogLine("Spotify:    Play");
    EXPECT_EQ(console.text, "MP3:        Indexing\nMP3:        Found 3\nSpotify:    Play\n");
}

TEST_F(Log, AClosedConsoleKeepsOnlyTheMostRecentLines) {
    for (int i = 1; i <= 12000; ++i) LogLine("line " + std::to_string(i));
    const std::vector<std::string> kept = Lines(Backlog());
    ASSERT_GE(kept.size(), kBacklogLines);
    EXPECT_LE(kept.size(), kBacklogLines + 1000);
    EXPECT_EQ(kept.back(), "line 12000");
    EXPECT_EQ(kept.front(), "line " + std::to_string(12000 - kept.size() + 1));  // none lost in between
}

TEST_F(Log, HiddenConsoleCollectsAgainAndFlushesOnceShown) {
    ShowConsole();
    LogLine("a");
    TheDebugLog().consoleShown = false;
    LogLine("b");
    EXPECT_EQ(console.text, "a\n");
    TheDebugLog().consoleShown = true;
    LogLine("");
    LogLine("");  // nothing more to flush, and no empty line is written
    EXPECT_EQ(console.text, "a\nb\n");
}

TEST_F(Log, EmptyTextWithoutConsoleAddsAnEmptyLine) {
    LogLine("");
    EXPECT_EQ(Backlog(), "\n");
}

TEST_F(Log, TextIsWrittenVerbatim) {
    const std::string title = "Checked:    100% %s %d %n \xE2\x80\x93 done";
    LogLine(title);
    EXPECT_EQ(Backlog(), title + "\n");
    ShowConsole();
    LogLine(title);
    EXPECT_EQ(console.text, title + "\n");
}

TEST_F(Log, ShownConsoleWithoutOutputLosesLinesQuietly) {
    TheDebugLog().consoleShown = true;
    LogLine("lost");
    EXPECT_EQ(Backlog(), "");
}

void LogFromTwoThreads(int perThread) {
    auto writer = [perThread](char who) {
        for (int i = 0; i < perThread; ++i)
            LogLine(std::string("Thread ") + who + " line " + std::to_string(i) + " end");
    };
    std::thread a(writer, 'A'), b(writer, 'B');
    a.join();
    b.join();
}

void ExpectAllLinesWhole(const std::string& text, int perThread) {
    std::map<char, int> next{{'A', 0}, {'B', 0}};
    const auto lines = Lines(text);
    ASSERT_EQ(lines.size(), static_cast<size_t>(2 * perThread));
    for (const auto& line : lines) {
        ASSERT_EQ(line.rfind("Thread ", 0), 0u) << line;
        const char who = line[7];
        ASSERT_TRUE(who == 'A' || who == 'B') << line;
        // Each thread's lines arrive whole and in its own order.
        ASSERT_EQ(line, std::string("Thread ") + who + " line " + std::to_string(next[who]) + " end");
        ++next[who];
    }
}

TEST_F(Log, TwoThreadsIntoTheBacklogNeverInterleaveOrLose) {
    LogFromTwoThreads(2000);
    ExpectAllLinesWhole(Backlog(), 2000);
}

// A console held by a text selection: its first write waits until the
// selection ends (or a deadline passes).
class SelectedConsole : public ConsoleOutput {
public:
    std::mutex lock;
    std::condition_variable changed;
    bool selecting = true;
    bool blocked = false;
    std::string text;
    void Write(const std::string& s) override {
        std::unique_lock<std::mutex> hold(lock);
        blocked = true;
        changed.notify_all();
        changed.wait_for(hold, std::chrono::seconds(10), [&] { return !selecting; });
        text += s;
    }
    void EndSelection() {
        std::lock_guard<std::mutex> hold(lock);
        selecting = false;
        changed.notify_all();
    }
};

TEST_F(Log, AConsoleHeldBySelectionHoldsNoOtherThreadAndLosesNothing) {
    SelectedConsole held;
    TheDebugLog().console = &held;
    TheDebugLog().consoleShown = true;
    std::thread watcher([] { LogLine("Spotify:    Logged in"); });
    {
        std::unique_lock<std::mutex> hold(held.lock);
        ASSERT_TRUE(held.changed.wait_for(hold, std::chrono::seconds(10), [&] { return held.blocked; }));
    }
    // The other thread logs on while the first one waits on the console.
    auto window = std::async(std::launch::async, [] {
        LogLine("Checked:    A");
        LogLine("Checked:    B");
    });
    const bool returned = window.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    held.EndSelection();
    watcher.join();
    window.wait();
    EXPECT_TRUE(returned);
    // Written once the selection ends, in the order logged.
    EXPECT_EQ(held.text, "Spotify:    Logged in\nChecked:    A\nChecked:    B\n");
}

TEST_F(Log, TwoThreadsIntoTheConsoleNeverInterleaveOrLose) {
    ShowConsole();
    LogFromTwoThreads(2000);
    ExpectAllLinesWhole(console.text, 2000);
}

}  // namespace
