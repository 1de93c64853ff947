#include "platform/whole_file.h"

namespace {

constexpr int kMoveTries = 10;
constexpr int kMovePauseMs = 50;

FileCommitSteps* activeSteps = nullptr;

FileCommitSteps& Steps() {
    return activeSteps ? *activeSteps : SystemFileCommitSteps();
}

}  // namespace

FileCommitSteps* UseFileCommitSteps(FileCommitSteps* steps) {
    FileCommitSteps* previous = activeSteps;
    activeSteps = steps;
    return previous;
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    std::string text;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, n);
    const bool ok = !std::ferror(file);
    std::fclose(file);
    if (ok) bytes.swap(text);
    return ok;
}

bool ReplaceWholeFile(const std::string& path, const std::string& bytes) {
    const std::string temp = path + ".new";
    std::FILE* file = std::fopen(temp.c_str(), "wb");
    if (!file) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = ok && Steps().FlushToDisk(file);
    ok = (std::fclose(file) == 0) && ok;
    bool moved = false;
    for (int i = 0; ok && !moved && i < kMoveTries; ++i) {
        if (i > 0) Steps().PauseBeforeRetry(kMovePauseMs);
        moved = Steps().MoveOver(temp, path);
    }
    ok = ok && moved;
    if (!ok) std::remove(temp.c_str());
    return ok;
}
