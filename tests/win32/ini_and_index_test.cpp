// The options store and the MP3 index on a real Windows file system (Wine's).
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <fstream>

#include "music/mp3_index.h"
#include "platform/ansi_text.h"
#include "settings/ini_file.h"
#include "sim_rig.h"

namespace {

struct WinFolder : ::testing::Test {
    std::string root;
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        root = std::string(temp) + "adquell-test-" + std::to_string(GetCurrentProcessId());
        RemoveTree(root);
        ASSERT_TRUE(CreateDirectoryA(root.c_str(), nullptr));
    }
    void TearDown() override { RemoveTree(root); }
    void Write(const std::string& relative, const std::string& bytes) {
        const std::string path = root + "\\" + relative;
        for (size_t at = path.find('\\', root.size() + 1); at != std::string::npos; at = path.find('\\', at + 1))
            CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
        std::ofstream(path, std::ios::binary) << bytes;
    }
};

TEST_F(WinFolder, HiddenAttributeKeepsFilesAndFoldersOut) {
    Write("a.mp3", "x");
    Write("TRACK.MP3", "x");
    Write("hidden.mp3", "x");
    Write("secret\\b.mp3", "x");
    Write("open\\c.mp3.old", "x");
    ASSERT_TRUE(SetFileAttributesA((root + "\\hidden.mp3").c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(SetFileAttributesA((root + "\\secret").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY));
    ApplicationState app;
    IndexMp3Folder(app, SystemFolderListing(), root);
    std::vector<std::wstring> files = app.mp3Files;
    std::sort(files.begin(), files.end());
    const std::wstring base = WidenAnsi(root);
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0], base + L"\\a.mp3");
    EXPECT_EQ(files[1], base + L"\\open\\c.mp3.old");
    EXPECT_EQ(app.mp3Count, 2);
}

// Options.ini as an earlier version wrote it on a 1252 system: the folder
// "Música" in that code page's bytes is read as its name, indexed, and the
// next save writes it as UTF-8.
TEST_F(WinFolder, ALegacyCodePageMusicFolderIsFoundAndRewrittenAsUtf8) {
    ASSERT_EQ(GetACP(), static_cast<UINT>(CP_UTF8));  // the manifest's code page
    Write("M\xC3\xBAsica\\song.mp3", "x");
    const std::string ini = root + "\\Options.ini";
    Write("Options.ini", " [Options]\r\n MP3=" + root + "\\M\xFAsica\r\n");
    const std::string folder = CIniFile::GetValue("MP3", "Options", ini);
    EXPECT_EQ(folder, root + "\\M\xC3\xBAsica");
    ApplicationState app;
    IndexMp3Folder(app, SystemFolderListing(), folder);
    EXPECT_EQ(app.mp3Count, 1);
    ASSERT_TRUE(CIniFile::SetValue("Play", "True", "Options", ini));
    EXPECT_EQ(ReadTextFile(ini), " [Options]\r\n Play=True\r\n MP3=" + root + "\\M\xC3\xBAsica\r\n");
}

TEST_F(WinFolder, RewritesReplaceTheExistingFile) {
    const std::string path = root + "\\Options.ini";
    ASSERT_TRUE(CIniFile::CreateEmpty(path));
    ASSERT_TRUE(CIniFile::SetValue("Mute", "True", "Options", path));
    ASSERT_TRUE(CIniFile::SetValue("Play", "False", "Options", path));
    ASSERT_TRUE(CIniFile::SetValue("Mute", "False", "Options", path));
    EXPECT_EQ(ReadTextFile(path), " [Options]\r\n Play=False\r\n Mute=False\r\n");
    EXPECT_EQ(GetFileAttributesA((path + ".new").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(WinFolder, AReadOnlyFileIsLeftAsItWas) {
    const std::string path = root + "\\Options.ini";
    Write("Options.ini", " [Options]\r\n Mute=True\r\n");
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(CIniFile::SetValue("Mute", "False", "Options", path));
    EXPECT_EQ(ReadTextFile(path), " [Options]\r\n Mute=True\r\n");
    EXPECT_EQ(GetFileAttributesA((path + ".new").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
