#include <io.h>
#include <windows.h>

#include <cstdio>

#include "platform/whole_file.h"

namespace {

class Win32CommitSteps : public FileCommitSteps {
public:
    bool FlushToDisk(std::FILE* file) override {
        if (std::fflush(file) != 0) return false;
        HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
        return handle != INVALID_HANDLE_VALUE && FlushFileBuffers(handle);
    }
    bool MoveOver(const std::string& from, const std::string& to) override {
        // A read-only file is not to be rewritten, as an in-place write would refuse.
        const DWORD attributes = GetFileAttributesA(to.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
        return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    }
    void PauseBeforeRetry(int milliseconds) override { Sleep(static_cast<DWORD>(milliseconds)); }
};

}  // namespace

FileCommitSteps& SystemFileCommitSteps() {
    static Win32CommitSteps steps;
    return steps;
}
