#include "music/mp3_folder_dialogs_win32.h"

#include <shlobj.h>

#include "platform/ansi_text.h"
#include "platform/handles_win32.h"

namespace {

// Selects the given start path once the chooser is up, and shows the path of
// each newly selected folder as the status text.
int CALLBACK ChooserCallback(HWND chooser, UINT message, LPARAM lParam, LPARAM data) {
    if (message == BFFM_INITIALIZED) {
        SendMessageA(chooser, BFFM_SETSELECTIONA, TRUE, data);
    } else if (message == BFFM_SELCHANGED) {
        wchar_t path[MAX_PATH] = {};
        if (SHGetPathFromIDListW(reinterpret_cast<LPCITEMIDLIST>(lParam), path))
            SendMessageW(chooser, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(path));
    }
    return 0;
}

}  // namespace

std::string Win32Mp3FolderDialogs::BrowseForMp3Folder() {
    IMalloc* shellAllocator = nullptr;
    if (FAILED(SHGetMalloc(&shellAllocator)) || !shellAllocator) return std::string();
    const OwnedCom<IMalloc> allocator(shellAllocator);
    char startPath[MAX_PATH] = {};
    char displayName[MAX_PATH] = {};
    BROWSEINFOA info = {};
    info.hwndOwner = owner_;
    info.pszDisplayName = displayName;
    info.lpszTitle = "Select MP3 folder.";
    info.ulFlags = BIF_STATUSTEXT;
    info.lpfn = ChooserCallback;
    info.lParam = reinterpret_cast<LPARAM>(startPath);
    std::string folder;
    if (LPITEMIDLIST item = SHBrowseForFolderA(&info)) {
        // Wide: MAX_PATH characters of a UTF-8 path may take three times as
        // many bytes.
        wchar_t path[MAX_PATH] = {};
        if (SHGetPathFromIDListW(item, path)) folder = NarrowAnsi(path);
        allocator->Free(item);
    }
    return folder;
}

void Win32Mp3FolderDialogs::ShowNoMp3Message() {
    MessageBoxA(nullptr, "Failed to find any MP3 files.", "", MB_OK);
}
