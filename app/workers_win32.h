// What waits on the outside world runs off the window's thread: reading the
// MP3 folder and the update check. A worker gets a copy of what it needs,
// works on its own data and posts its result back; the window's thread takes
// the result over and does what follows it. The status label says what runs.
#pragma once
#include <windows.h>

#include <atomic>
#include <memory>
#include <string>

#include "music/mp3_index.h"

struct Program;

struct Workers {
    // Readings of the MP3 folder are numbered: only the latest one counts.
    unsigned mp3Readings = 0;
    bool readingMp3 = false;
    // The update check; one at a time.
    bool checkingUpdate = false;
    std::string updateFolder;
    std::string updateVersion;  // being downloaded, once the server named it
    HANDLE updateThread = nullptr;
    std::shared_ptr<std::atomic<bool>> stopUpdate;
};

// Reads the folder of a reading (none: nothing to do) off the window's thread.
void StartMp3Reading(Program& program, Mp3FolderReading reading);
// The installer's update check, unless one runs already.
void StartUpdateWorker(Program& program, const std::string& base, const std::string& installFolder);
// The main window's messages from the workers; false for any other message.
bool OnWorkerMessage(Program& program, UINT message, LPARAM lParam);
// As an end begins: a download under way is told to stop, so that it stops
// while Spotify is given back.
void AskWorkersToStop(Program& program);
// As the program ends: an update check is stopped (waited for only briefly)
// and what it left half-downloaded removed.
void StopWorkers(Program& program);
