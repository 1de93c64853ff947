// Whole-file reads and rewrites. A rewrite never leaves a truncated or empty
// file behind: the bytes go to a temporary file beside the target, which is
// flushed to disk and then put in the target's place in one step.
#pragma once
#include <cstdio>
#include <string>

// False when the file cannot be opened.
bool ReadWholeFile(const std::string& path, std::string& bytes);

// False, with the old file left as it was, when any step fails; the final move
// is tried again for about half a second first.
bool ReplaceWholeFile(const std::string& path, const std::string& bytes);

// The platform's part of a rewrite: the system's by default; tests put in
// steps that fail.
class FileCommitSteps {
public:
    virtual ~FileCommitSteps() = default;
    // Flushes the written temporary file's buffers to the disk.
    virtual bool FlushToDisk(std::FILE* file) = 0;
    // Moves the temporary file over the target in one step.
    virtual bool MoveOver(const std::string& from, const std::string& to) = 0;
    // Waits before the move is tried again (another program may hold the
    // target for a moment: an indexer, a scanner, a backup).
    virtual void PauseBeforeRetry(int milliseconds) = 0;
};

FileCommitSteps& SystemFileCommitSteps();
// Installs steps for every later rewrite (null: the system's again); returns
// the steps that were in use.
FileCommitSteps* UseFileCommitSteps(FileCommitSteps* steps);
