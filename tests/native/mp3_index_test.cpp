#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <map>

#include "base/log.h"
#include "music/mp3_index.h"
#include "platform/ansi_text.h"
#include "settings/ini_file.h"
#include "temp_folder.h"

namespace {

std::vector<std::string> Names(const ApplicationState& app, const std::string& root) {
    std::vector<std::string> names;
    for (const auto& wide : app.mp3Files) names.push_back(NarrowAnsi(wide).substr(root.size() + 1));
    return names;
}

// A tree given level by level, in the order a listing returns it.
class ScriptedListing : public FolderListing {
public:
    std::map<std::string, std::vector<FolderEntry>> levels;
    bool List(const std::wstring& folder, std::vector<FolderEntry>& entries) override {
        auto it = levels.find(NarrowLowBytes(folder));
        if (it == levels.end()) return false;
        entries = it->second;
        return true;
    }
    std::string RealFolder(const std::wstring& folder) override { return NarrowLowBytes(folder); }
};

FolderEntry File(const std::string& name) {
    FolderEntry e;
    e.name = WidenAnsi(name);
    return e;
}

FolderEntry Folder(const std::string& name) {
    FolderEntry e;
    e.name = WidenAnsi(name);
    e.folder = true;
    return e;
}

TEST(IndexMp3Folder, SubFolderFilesComeWhereTheSubFolderWasMet) {
    const std::string s(1, kPathSeparator);
    ScriptedListing listing;
    listing.levels["M"] = {Folder("."), Folder(".."), File("a.mp3"), Folder("sub"), File("z.mp3")};
    listing.levels["M" + s + "sub"] = {File("b.mp3"), Folder("deeper"), File("c.mp3")};
    listing.levels["M" + s + "sub" + s + "deeper"] = {File("d.mp3")};
    ApplicationState app;
    IndexMp3Folder(app, listing, "M");
    const std::vector<std::string> expected = {"a.mp3", "sub" + s + "b.mp3", "sub" + s + "deeper" + s + "d.mp3",
                                               "sub" + s + "c.mp3", "z.mp3"};
    EXPECT_EQ(Names(app, "M"), expected);
    EXPECT_EQ(app.mp3Count, 5);
}

TEST(IndexMp3Folder, AppendsWithoutClearingAndSkipsUnlistableFolders) {
    ScriptedListing listing;
    listing.levels["M"] = {File("a.mp3"), Folder("locked")};
    ApplicationState app;
    app.mp3Files.push_back(L"old.mp3");
    app.mp3Count = 1;
    IndexMp3Folder(app, listing, "M");
    IndexMp3Folder(app, listing, "missing");
    EXPECT_EQ(app.mp3Count, 2);
    ASSERT_EQ(app.mp3Files.size(), 2u);
    EXPECT_EQ(app.mp3Files[0], L"old.mp3");
}

struct RealTree : ::testing::Test {
    TempFolder dir;
    ApplicationState app;
    std::vector<std::string> Indexed() {
        IndexMp3Folder(app, SystemFolderListing(), dir.Path());
        std::vector<std::string> names = Names(app, dir.Path());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(RealTree, NameMustContainLowerCaseMp3Anywhere) {
    for (const char* name : {"track.mp3", "TRACK.MP3", "track.mp3.old", "song.Mp3", "x.mp3x", "notes.txt", "mp3"})
        dir.Write(name, "x");
    EXPECT_EQ(Indexed(), (std::vector<std::string>{"track.mp3", "track.mp3.old", "x.mp3x"}));
    EXPECT_EQ(app.mp3Count, 3);
}

TEST_F(RealTree, HiddenFilesAndFoldersAreSkipped) {
    dir.Write("shown.mp3", "x");
    dir.Write(".hidden.mp3", "x");
    dir.Write(".secret/one.mp3", "x");
    dir.Write("sub/two.mp3", "x");
    EXPECT_EQ(Indexed(), (std::vector<std::string>{"shown.mp3", "sub/two.mp3"}));
}

TEST_F(RealTree, ALinkedFolderIsFollowedAndALoopEndsWithEachFolderOnce) {
    const TempFolder elsewhere;  // a "Music" folder on another drive
    elsewhere.Write("album/far.mp3", "x");
    dir.Write("a/b/song.mp3", "x");
    std::filesystem::create_directory_symlink(elsewhere.Path(), dir / "Music");
    std::filesystem::create_directory_symlink(dir.Path(), dir / "a/b/up");
    std::filesystem::create_directory_symlink(dir / "a", dir / "a/b/sideways");
    EXPECT_EQ(Indexed(), (std::vector<std::string>{"Music/album/far.mp3", "a/b/song.mp3"}));
}

TEST_F(RealTree, FileNamesOutsideAsciiStayWhole) {
    dir.Write("Caf\xC3\xA9 \xE6\x97\xA5.mp3", "x");  // UTF-8, the native build's code page
    IndexMp3Folder(app, SystemFolderListing(), dir.Path());
    ASSERT_EQ(app.mp3Files.size(), 1u);
    EXPECT_EQ(app.mp3Files[0].substr(app.mp3Files[0].size() - 10), L"Caf\u00e9 \u65e5.mp3");
}

TEST_F(RealTree, FoldersAndLinksOutsideAsciiAreFollowed) {
    const TempFolder elsewhere;
    elsewhere.Write("d\xC3\xA1l/\xE6\x97\xA5.mp3", "x");
    dir.Write("\xD0\x9C\xD1\x83\xD0\xB7\xD1\x8B\xD0\xBA\xD0\xB0/\xEC\x95\x84.mp3", "x");
    std::filesystem::create_directory_symlink(elsewhere / "d\xC3\xA1l", dir / "\xD0\xA1\xD1\x81\xD1\x8B\xD0\xBB\xD0\xBA\xD0\xB0");
    EXPECT_EQ(Indexed(), (std::vector<std::string>{"\xD0\x9C\xD1\x83\xD0\xB7\xD1\x8B\xD0\xBA\xD0\xB0/\xEC\x95\x84.mp3",
                                                   "\xD0\xA1\xD1\x81\xD1\x8B\xD0\xBB\xD0\xBA\xD0\xB0/\xE6\x97\xA5.mp3"}));
}

TEST_F(RealTree, AMissingFolderChangesNothing) {
    IndexMp3Folder(app, SystemFolderListing(), dir / "nothing-here");
    EXPECT_EQ(app.mp3Count, 0);
    EXPECT_TRUE(app.mp3Files.empty());
}

// The chooser answers from a list; every message shown is counted.
class ScriptedDialogs : public Mp3FolderDialogs {
public:
    std::deque<std::string> answers;
    int browsed = 0;
    int messages = 0;
    std::string BrowseForMp3Folder() override {
        ++browsed;
        if (answers.empty()) return std::string();
        std::string a = answers.front();
        answers.pop_front();
        return a;
    }
    void ShowNoMp3Message() override { ++messages; }
};

struct Select : ::testing::Test {
    TempFolder dir;
    ApplicationState app;
    ScriptedDialogs dialogs;
    void SetUp() override {
        TheDebugLog().logBacklog.clear();
        app.optionsPath = dir / "Options.ini";
        dir.Write("Options.ini", " [Options]\r\n Mute=True\r\n");
        dir.Write("music/a.mp3", "x");
        dir.Write("music/b.mp3", "x");
        dir.Write("music/c/d.mp3", "x");
        std::filesystem::create_directory(dir / "empty");
    }
    void TearDown() override { TheDebugLog().logBacklog.clear(); }
    // As the window does it: the chosen folder is read (on another thread
    // there) and the reading taken over, which may ask for another folder.
    void Run() {
        for (Mp3FolderReading reading = ChooseMp3Folder(app, dialogs); !reading.folder.empty();) {
            ListMp3Files(SystemFolderListing(), reading.folder, reading.files);
            reading = TakeMp3FolderReading(app, dialogs, reading);
        }
    }
};

TEST_F(Select, CancellingTheFirstChooserChangesNothing) {
    app.mp3Folder = "old";
    app.mp3Files = {L"old.mp3"};
    app.mp3Count = 1;
    Run();
    EXPECT_EQ(app.mp3Folder, "old");
    EXPECT_EQ(app.mp3Count, 1);
    EXPECT_EQ(dir.Read("Options.ini"), " [Options]\r\n Mute=True\r\n");
    EXPECT_EQ(TheDebugLog().logBacklog, "");
}

TEST_F(Select, AFolderWithMp3sIsSavedIndexedAndKept) {
    app.mp3Files = {L"old.mp3"};
    app.mp3Count = 1;
    dialogs.answers = {dir / "music"};
    Run();
    EXPECT_EQ(app.mp3Folder, dir / "music");
    EXPECT_EQ(app.mp3Count, 3);
    EXPECT_EQ(app.mp3Files.size(), 3u);
    EXPECT_EQ(CIniFile::GetValue("MP3", "Options", app.optionsPath), dir / "music");
    EXPECT_EQ(TheDebugLog().logBacklog, "MP3:        Indexing\nMP3s:       3\n");
    EXPECT_EQ(dialogs.messages, 0);
}

TEST_F(Select, AnEmptyFolderAsksAgainUntilCancelled) {
    app.mp3Folder = "old";
    dialogs.answers = {dir / "empty"};
    Run();
    EXPECT_EQ(dialogs.browsed, 2);
    EXPECT_EQ(dialogs.messages, 1);
    EXPECT_EQ(app.mp3Folder, "");
    EXPECT_TRUE(app.mp3Files.empty());
    // Saved before indexing, and not undone.
    EXPECT_EQ(CIniFile::GetValue("MP3", "Options", app.optionsPath), dir / "empty");
    EXPECT_EQ(TheDebugLog().logBacklog, "MP3:        Indexing\nMP3:        0 MP3s\n");
}

TEST_F(Select, AnEmptyFolderThenAGoodOne) {
    dialogs.answers = {dir / "empty", dir / "music"};
    Run();
    EXPECT_EQ(dialogs.messages, 1);
    EXPECT_EQ(app.mp3Folder, dir / "music");
    EXPECT_EQ(app.mp3Count, 3);
    EXPECT_EQ(CIniFile::GetValue("MP3", "Options", app.optionsPath), dir / "music");
}

}  // namespace
