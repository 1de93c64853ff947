#include <gtest/gtest.h>

#include "base/log.h"

#include "platform/whole_file.h"
#include "settings/ini_file.h"
#include "temp_folder.h"

namespace {

struct Ini : ::testing::Test {
    TempFolder dir;
    std::string path;
    void SetUp() override { path = dir / "Options.ini"; }
    void Write(const std::string& bytes) { dir.Write("Options.ini", bytes); }
    std::string Bytes() { return dir.Read("Options.ini"); }
    IniRecords Load() {
        IniRecords records;
        EXPECT_TRUE(CIniFile::LoadRecords(path, records));
        return records;
    }
};

void ExpectRecord(const IniRecord& r, const std::string& comments, char marker, const std::string& section,
                  const std::string& key, const std::string& value) {
    EXPECT_EQ(r.comments, comments);
    EXPECT_EQ(r.marker, marker);
    EXPECT_EQ(r.section, section);
    EXPECT_EQ(r.key, key);
    EXPECT_EQ(r.value, value);
}

TEST_F(Ini, BlanksTabsAndCarriageReturnsAroundLinesAreIgnored) {
    Write("\t [Options] \r\n  Mute=True \r\n\tPlay=False\t\n");
    const IniRecords r = Load();
    ASSERT_EQ(r.size(), 3u);
    ExpectRecord(r[0], "", ' ', "Options", "", "");
    ExpectRecord(r[1], "", ' ', "Options", "Mute", "True");
    ExpectRecord(r[2], "", ' ', "Options", "Play", "False");
}

TEST_F(Ini, CrLfAndLfFilesReadAlike) {
    Write("; c\r\n[A]\r\nk=v\r\n[B]\r\nx=1\r\n");
    const IniRecords crlf = Load();
    Write("; c\n[A]\nk=v\n[B]\nx=1\n");
    const IniRecords lf = Load();
    ASSERT_EQ(crlf.size(), 4u);
    ASSERT_EQ(lf.size(), crlf.size());
    for (size_t i = 0; i < lf.size(); ++i) {
        EXPECT_EQ(lf[i].comments, crlf[i].comments);
        EXPECT_EQ(lf[i].section, crlf[i].section);
        EXPECT_EQ(lf[i].key, crlf[i].key);
        EXPECT_EQ(lf[i].value, crlf[i].value);
    }
}

TEST_F(Ini, KeysAndValuesAreNotTrimmed) {
    Write("[Options]\nMute = True\n");
    const IniRecords r = Load();
    ASSERT_EQ(r.size(), 2u);
    ExpectRecord(r[1], "", ' ', "Options", "Mute ", " True");
    EXPECT_EQ(CIniFile::GetValue("Mute", "Options", path), "");
    EXPECT_EQ(CIniFile::GetValue("Mute ", "Options", path), " True");
}

TEST_F(Ini, HeadersAreCutAtTheFirstClosingBracket) {
    Write("[Options] old\nMute=True\nx[y]\nk=v\n");
    const IniRecords r = Load();
    ASSERT_EQ(r.size(), 4u);
    ExpectRecord(r[0], "", ' ', "Options", "", "");
    ExpectRecord(r[2], "", ' ', "[y", "", "");
    ExpectRecord(r[3], "", ' ', "[y", "k", "v");
}

TEST_F(Ini, CommentsAttachToTheNextRecordAndTrailingOnesAreLost) {
    Write("; my options\n#note\n\n[Options]\n\n  ; about mute\nMute=True\n; trailing\n\n");
    const IniRecords r = Load();
    ASSERT_EQ(r.size(), 2u);
    ExpectRecord(r[0], "; my options\n#note\n", ' ', "Options", "", "");
    ExpectRecord(r[1], "; about mute\n", ' ', "Options", "Mute", "True");
    ASSERT_TRUE(CIniFile::SetValue("Mute", "False", "Options", path));
    EXPECT_EQ(Bytes(), "; my options\r\n#note\r\n [Options]\r\n; about mute\r\n Mute=False\r\n");
}

TEST_F(Ini, CommentedOutRecordsKeepTheirMarker) {
    Write("[Options]\n#Mute=False\n;[Old]\n; Play=True\n");
    const IniRecords r = Load();
    ASSERT_EQ(r.size(), 4u);
    ExpectRecord(r[1], "", '#', "Options", "Mute", "False");
    ExpectRecord(r[2], "", ';', "Old", "", "");
    ExpectRecord(r[3], "", ';', "Old", "Play", "True");
    EXPECT_EQ(CIniFile::GetValue("Mute", "Options", path), "False");
    ASSERT_TRUE(CIniFile::SetValue("Mute", "True", "Options", path));
    EXPECT_EQ(Bytes(), " [Options]\r\n#Mute=True\r\n;[Old]\r\n;Play=True\r\n");
}

TEST_F(Ini, FirstMatchWinsForLookupAndUpdate) {
    Write("[Options]\nMute=one\nMute=two\n[Other]\nMute=three\n");
    EXPECT_EQ(CIniFile::GetValue("Mute", "Options", path), "one");
    EXPECT_EQ(CIniFile::GetValue("Mute", "Other", path), "three");
    ASSERT_TRUE(CIniFile::SetValue("Mute", "new", "Options", path));
    EXPECT_EQ(Bytes(), " [Options]\r\n Mute=new\r\n Mute=two\r\n [Other]\r\n Mute=three\r\n");
}

TEST_F(Ini, SectionsAndKeysAreCaseSensitive) {
    Write("[options]\nmute=True\n");
    EXPECT_FALSE(CIniFile::HasSection("Options", path));
    EXPECT_TRUE(CIniFile::HasSection("options", path));
    EXPECT_FALSE(CIniFile::HasEntry("Mute", "options", path));
    EXPECT_EQ(CIniFile::GetValue("mute", "options", path), "True");
}

TEST_F(Ini, NewKeyGoesDirectlyAfterItsSectionsFirstRecord) {
    Write(" [Options]\r\n Mute=True\r\n");
    ASSERT_TRUE(CIniFile::SetValue("Play", "False", "Options", path));
    EXPECT_EQ(Bytes(), " [Options]\r\n Play=False\r\n Mute=True\r\n");
}

TEST_F(Ini, NewKeyFollowsTheFirstRecordOfAHeaderlessSection) {
    Write("; c\nA=1\n[S]\nB=2\n");
    ASSERT_TRUE(CIniFile::SetValue("C", "3", "", path));
    EXPECT_EQ(Bytes(), "; c\r\n A=1\r\n C=3\r\n [S]\r\n B=2\r\n");
}

TEST_F(Ini, NewSectionIsAppendedAtTheEnd) {
    Write("[Options]\nMute=True\n");
    ASSERT_TRUE(CIniFile::SetValue("0", "1|41", "Hotkeys", path));
    EXPECT_EQ(Bytes(), " [Options]\r\n Mute=True\r\n [Hotkeys]\r\n 0=1|41\r\n");
}

TEST_F(Ini, MissingFileIsNeverCreatedByAnUpdate) {
    EXPECT_FALSE(CIniFile::SetValue("Mute", "True", "Options", path));
    EXPECT_FALSE(dir.Exists("Options.ini"));
    EXPECT_FALSE(dir.Exists("Options.ini.new"));
    EXPECT_EQ(CIniFile::GetValue("Mute", "Options", path), "");
    EXPECT_TRUE(CIniFile::FindEntry("Mute", "Options", path).empty());
    IniRecords kept(2);
    EXPECT_FALSE(CIniFile::LoadRecords(path, kept));
    EXPECT_EQ(kept.size(), 2u);
}

TEST_F(Ini, LastLineWithoutTerminatorIsRead) {
    Write("[Options]\r\nMute=True");
    EXPECT_EQ(CIniFile::GetValue("Mute", "Options", path), "True");
}

TEST_F(Ini, EmptyFileReadsAsNoRecords) {
    ASSERT_TRUE(CIniFile::CreateEmpty(path));
    EXPECT_TRUE(dir.Exists("Options.ini"));
    EXPECT_EQ(Bytes(), "");
    EXPECT_TRUE(Load().empty());
}

TEST_F(Ini, LinesThatAreNeitherHeaderNorEntryNeverStartASection) {
    // "[Options" has no "]", "stray" has neither "[" nor "=", "=x" has no key:
    // they stay as they are, as comment text, and Mute stays in Options.
    Write("[Options]\n[Broken\nstray\n=x\nMute=True\n");
    EXPECT_EQ(CIniFile::GetValue("Mute", "Options", path), "True");
    ASSERT_TRUE(CIniFile::SetValue("Play", "False", "Options", path));
    EXPECT_EQ(Bytes(), " [Options]\r\n Play=False\r\n[Broken\r\nstray\r\n=x\r\n Mute=True\r\n");
    EXPECT_EQ(CIniFile::GetValue("Mute", "Options", path), "True");
}

TEST_F(Ini, BracketsInsideAValueKeepItAnEntry) {
    Write("[Options]\nMP3=D:\\Music\\[2019] Album\n");
    EXPECT_EQ(CIniFile::GetValue("MP3", "Options", path), "D:\\Music\\[2019] Album");
    ASSERT_TRUE(CIniFile::SetValue("Mute", "True", "Options", path));
    EXPECT_EQ(CIniFile::GetValue("MP3", "Options", path), "D:\\Music\\[2019] Album");
}

TEST_F(Ini, FirstRunFileByteForByte) {
    ASSERT_TRUE(CIniFile::CreateEmpty(path));
    CIniFile::SetValue("Mute", "True", "Options", path);
    CIniFile::SetValue("Play", "False", "Options", path);
    CIniFile::SetValue("Hotkeys", "False", "Options", path);
    const char* values[] = {"1|41", "1|3", "2|0", "1|1", "1|32", "1|33", "1|37", "1|4", "1|2"};
    for (int i = 0; i < 9; ++i) CIniFile::SetValue(std::to_string(i), values[i], "Hotkeys", path);
    EXPECT_EQ(Bytes(),
              " [Options]\r\n Hotkeys=False\r\n Play=False\r\n Mute=True\r\n [Hotkeys]\r\n 8=1|2\r\n 7=1|4\r\n"
              " 6=1|37\r\n 5=1|33\r\n 4=1|32\r\n 3=1|1\r\n 2=2|0\r\n 1=1|3\r\n 0=1|41\r\n");
}

TEST(IniText, WrittenRecordsReadBackTheSame) {
    const std::string text =
        "; head\n[Options] x\n Mute = True \n#Play=False\n;[Gone]\nk=v=w\n[a=b]\nc=[d]\n[]\n\tz=\r\n";
    const IniRecords first = CIniFile::ParseRecords(text);
    const IniRecords again = CIniFile::ParseRecords(CIniFile::FormatRecords(first));
    ASSERT_EQ(again.size(), first.size());
    for (size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(again[i].comments, first[i].comments);
        EXPECT_EQ(again[i].marker, first[i].marker);
        EXPECT_EQ(again[i].section, first[i].section);
        EXPECT_EQ(again[i].key, first[i].key);
        EXPECT_EQ(again[i].value, first[i].value);
    }
}

TEST(IniText, TrimBlanks) {
    EXPECT_EQ(CIniFile::TrimBlanks(" \t x y \r\n", " \t\r\n"), "x y");
    EXPECT_EQ(CIniFile::TrimBlanks(" \t\r\n", " \t\r\n"), "");
    EXPECT_EQ(CIniFile::TrimBlanks("", " "), "");
    EXPECT_EQ(CIniFile::TrimBlanks("xx", "x"), "");
}

// Steps that fail where a disk can: flushing (full) or the final move.
class FailingSteps : public FileCommitSteps {
public:
    bool failFlush = false;
    bool failMove = false;
    int failMoves = 0;  // the next moves that fail, as while another program holds the file
    int moves = 0;
    int pauses = 0;
    bool FlushToDisk(std::FILE* file) override { return !failFlush && SystemFileCommitSteps().FlushToDisk(file); }
    bool MoveOver(const std::string& from, const std::string& to) override {
        ++moves;
        if (failMoves > 0) {
            --failMoves;
            return false;
        }
        return !failMove && SystemFileCommitSteps().MoveOver(from, to);
    }
    void PauseBeforeRetry(int) override { ++pauses; }
};

struct InjectedFailure : Ini {
    FailingSteps steps;
    FileCommitSteps* previous = nullptr;
    void SetUp() override {
        Ini::SetUp();
        previous = UseFileCommitSteps(&steps);
    }
    void TearDown() override { UseFileCommitSteps(previous); }
};

TEST_F(InjectedFailure, FailedMoveLeavesTheOldFileByteIdentical) {
    const std::string old = "; keep me\r\n [Options]\r\n Mute=True\r\n";
    Write(old);
    steps.failMove = true;
    TheDebugLog().logBacklog.clear();
    EXPECT_FALSE(CIniFile::SetValue("Mute", "False", "Options", path));
    EXPECT_EQ(steps.moves, 10);  // tried for a while, then given up
    EXPECT_EQ(steps.pauses, 9);
    EXPECT_EQ(TheDebugLog().logBacklog, "Error:      Could not save " + path + "\n");
    EXPECT_EQ(Bytes(), old);
    EXPECT_FALSE(dir.Exists("Options.ini.new"));
    EXPECT_FALSE(CIniFile::CreateEmpty(path));
    EXPECT_EQ(Bytes(), old);
}

TEST_F(InjectedFailure, AFileHeldForAMomentIsSavedOnARetry) {
    Write(" [Options]\r\n Mute=True\r\n");
    steps.failMoves = 2;
    EXPECT_TRUE(CIniFile::SetValue("Mute", "False", "Options", path));
    EXPECT_EQ(steps.moves, 3);
    EXPECT_EQ(Bytes(), " [Options]\r\n Mute=False\r\n");
}

TEST_F(InjectedFailure, FailedFlushNeverReachesTheMove) {
    const std::string old = " [Options]\r\n Mute=True\r\n";
    Write(old);
    steps.failFlush = true;
    EXPECT_FALSE(CIniFile::SetValue("Play", "True", "Options", path));
    EXPECT_EQ(steps.moves, 0);
    EXPECT_EQ(Bytes(), old);
    EXPECT_FALSE(dir.Exists("Options.ini.new"));
}

TEST_F(Ini, AReadOnlyFileIsLeftAsItWas) {
    Write(" [Options]\r\n Mute=True\r\n");
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    EXPECT_FALSE(CIniFile::SetValue("Mute", "False", "Options", path));
    EXPECT_EQ(Bytes(), " [Options]\r\n Mute=True\r\n");
    EXPECT_FALSE(dir.Exists("Options.ini.new"));
}

TEST_F(Ini, AByteOrderMarkIsSkippedOnReadingAndKeptOnWriting) {
    Write("\xEF\xBB\xBF[Options]\r\nMute=True\r\n");
    EXPECT_EQ(CIniFile::GetValue("Mute", "Options", path), "True");
    EXPECT_TRUE(CIniFile::SetValue("Play", "False", "Options", path));
    EXPECT_TRUE(CIniFile::SetValue("Play", "True", "Options", path));
    EXPECT_EQ(Bytes(), "\xEF\xBB\xBF [Options]\r\n Play=True\r\n Mute=True\r\n");  // one header
}

// An earlier version wrote the legacy code page (the native build stands in
// Latin-1 for 1252): the folder is read as what it said, and the next save
// writes the whole file as UTF-8, UTF-8 lines untouched.
TEST_F(Ini, ALegacyCodePageFileIsReadAsItsWordsAndSavedAsUtf8) {
    Write(" [Options]\r\n MP3=C:\\M\xFAsica\r\n Title=\xEC\x95\x84\r\n");
    EXPECT_EQ(CIniFile::GetValue("MP3", "Options", path), "C:\\M\xC3\xBAsica");
    EXPECT_EQ(CIniFile::GetValue("Title", "Options", path), "\xEC\x95\x84");
    EXPECT_TRUE(CIniFile::SetValue("Mute", "True", "Options", path));
    EXPECT_EQ(Bytes(), " [Options]\r\n Mute=True\r\n MP3=C:\\M\xC3\xBAsica\r\n Title=\xEC\x95\x84\r\n");
}

TEST_F(Ini, EveryKindOfLineEndIsALineEnd) {
    for (const char* text : {"[Options]\rMute=True\rPlay=False\r", "[Options]\nMute=True\nPlay=False",
                             "[Options]\r\nMute=True\r\nPlay=False\r\n"}) {
        Write(text);
        EXPECT_EQ(CIniFile::GetValue("Play", "Options", path), "False") << text;
        EXPECT_TRUE(CIniFile::SetValue("Mute", "False", "Options", path));
        EXPECT_EQ(Bytes(), " [Options]\r\n Mute=False\r\n Play=False\r\n") << text;
    }
}

TEST_F(Ini, WriteIntoAMissingFolderFails) {
    EXPECT_FALSE(CIniFile::CreateEmpty(dir / "no-such-folder/Options.ini"));
}

}  // namespace
