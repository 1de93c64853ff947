// Installing the program into the user's folder with a start-menu shortcut,
// and, when it already runs from there, checking for and fetching a newer
// version.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "base/application_state.h"
#include "platform/installer_system.h"
#include "base/platform.h"

// The Alt+D command. Installs, or, run from the install folder, starts the
// update check off the window's thread (it ends in FinishUpdateCheck).
void InstallOrUpdate(ApplicationState& app, Platform& os, InstallerSystem& installer);

// Starts another copy of the program and ends this one (with 420) after
// showing message, if any. Before the start Spotify is left as found (no
// silence, no parked window, no further ticks) and every hotkey and the
// one-instance claim let go; when the start fails this copy takes them back,
// says so and keeps running.
void StartNewCopyAndEnd(ApplicationState& app, Platform& os, InstallerSystem& installer, const std::string& program,
                        const std::string& message);

// Writes an internet shortcut (URL, IconIndex, IconFile) to target; false
// when the target cannot be read or a key could not be written.
bool WriteUrlShortcut(InstallerSystem& installer, const std::string& target, const std::string& shortcut);

// Writes the shortcut into the all-users start menu, or where that needs
// rights the user lacks, into the user's own. Returns the file written, or
// empty text when neither could be.
std::string PlaceStartMenuShortcut(Platform& os, InstallerSystem& installer, const std::string& target,
                                   const std::string& version);

// Whether a file name is one the install and the updates give the program
// ("Adquell Lite*.exe").
bool IsProgramFile(const std::string& name);

// The two places a shortcut may go: all users' start menu, the user's own.
std::vector<std::string> StartMenuFolders(Platform& os);
// The installed copy: the running program when it runs from the install
// folder, else the copy of its name there; empty when there is none.
std::string InstalledProgram(Platform& os, InstallerSystem& installer);

// The update check: the tail of InstallOrUpdate for the installed copy.
void CheckForUpdate(Platform& os, InstallerSystem& installer, const std::string& installFolder);

// One update check, handed whole to the thread that runs it and back: what it
// needs (in), and what it found (out).
struct UpdateCheck {
    std::string base;           // the update server
    std::string installFolder;  // ends with a backslash
    std::string version;        // the version the server offers; empty when none was read
    std::string refusal;        // for the user: why that version was not installed
    std::string program;        // the new version, verified and in place; empty when none
};

// The check's waiting part: asks the server, downloads and verifies a newer
// version, with the log lines and pauses on the way. Touches no application
// state, so it runs on a thread of its own with files of its own; downloading
// hears the version whose download starts.
void RunUpdateCheck(UpdateCheck& check, InstallerSystem& installer, Clock& clock,
                    const std::function<void(const std::string& version)>& downloading);

// Back on the window's thread: the version remembered, a refusal told, a new
// version given its shortcut and entries and started, this copy ended.
void FinishUpdateCheck(ApplicationState& app, Platform& os, InstallerSystem& installer, const UpdateCheck& check);

// What a check stopped half-way may leave in the install folder.
std::vector<std::string> UnfinishedUpdateFiles(const std::string& installFolder, const std::string& version);

// The server's version text, accepted only when, without trailing blanks and
// line breaks, it is numbers between single dots; empty otherwise.
std::string AcceptVersionText(const std::string& text);

// A version without its trailing zero numbers, down to two ("0.4.0.0" is
// "0.4"), as a version resource states all four.
std::string ShortVersion(std::string version);

// Orders two versions number by number ("0.10" after "0.9"; "0.4" and
// "0.4.0" equal): below zero when a comes first, zero when equal.
int CompareVersions(const std::string& a, const std::string& b);

// An update base must be https, or plain http to this machine (tests, a
// local mirror); either way the signature check stands.
bool AcceptUpdateBase(const std::string& base);

// The base address of the update server: ADQUELL_UPDATE_BASE when set (for
// tests, e.g. http://127.0.0.1:8080, or a mirror), the built-in HTTPS address
// otherwise; empty when the variable names an address not accepted.
std::string UpdateServerBase(Platform& os);
