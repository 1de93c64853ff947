// The shell's folder chooser and the "no MP3 files" message box.
#pragma once
#include <windows.h>

#include "music/mp3_index.h"

class Win32Mp3FolderDialogs : public Mp3FolderDialogs {
public:
    explicit Win32Mp3FolderDialogs(HWND owner) : owner_(owner) {}
    std::string BrowseForMp3Folder() override;
    void ShowNoMp3Message() override;

private:
    HWND owner_;
};
