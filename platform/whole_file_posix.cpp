#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "platform/whole_file.h"

namespace {

class PosixCommitSteps : public FileCommitSteps {
public:
    bool FlushToDisk(std::FILE* file) override {
        return std::fflush(file) == 0 && fsync(fileno(file)) == 0;
    }
    bool MoveOver(const std::string& from, const std::string& to) override {
        // A read-only file is not to be rewritten, as an in-place write would refuse.
        struct stat target;
        if (stat(to.c_str(), &target) == 0 && (target.st_mode & S_IWUSR) == 0) return false;
        return std::rename(from.c_str(), to.c_str()) == 0;
    }
    void PauseBeforeRetry(int milliseconds) override { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }
};

}  // namespace

FileCommitSteps& SystemFileCommitSteps() {
    static PosixCommitSteps steps;
    return steps;
}
