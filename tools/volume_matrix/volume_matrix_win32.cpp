// The volume-safety matrix: the real program beside the simulated client, one
// scenario per way the listener could be left muted or louder, each judged by
// the client's own record of the volume during the track after the advert.
// Prints a table; exits 0 only when every scenario ends at the listener's
// exact volume and every advert whose knob could be seen was silenced.
//   volume_matrix [--program EXE] [--only TEXT] [--console]
// --only runs the scenarios whose name holds TEXT; --console opens the
// program's debug console, whose log then shows where Wine shows consoles.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "base/command_ids.h"
#include "child_process.h"
#include "sim_rig.h"

namespace {

constexpr DWORD kDeadline = 30000;
constexpr long long kSilencedAudibleMs = 700;  // a silenced advert is audible for at most this long

std::string programPath;
bool showConsole = false;  // the program's debug console, to see its log

struct Outcome {
    std::string audible;   // each advert's audible milliseconds
    std::string volume;    // the next track's volume against the listener's
    std::string offMs;     // how long the next track played at another volume
    bool ok = false;
    std::string note;
};

// What a scenario is judged by: the track after the advert (its volume
// against the listener's), or where nothing is left to play after it, what
// the client kept as its volume.
enum class Judged { ByNextTrack, ByKeptVolume };

// Something done to the program while the playlist runs; returns what went
// wrong, or empty text.
using Action = std::function<std::string(SimRig&, std::unique_ptr<ChildProcess>&)>;

struct Scenario {
    const char* name;
    const char* script;
    bool knobVisible;          // the advert can and must be silenced
    std::string options = "";  // Options.ini before the program starts, if any
    Action during = nullptr;
    int listenerVolume = -1;   // when the client cannot know it: the volume the record holds
    Judged judged = Judged::ByNextTrack;
    bool endsSpotify = false;  // the client is ended by the scenario: no end of playlist to wait for
    const char* expected = nullptr;  // what the kept volume stands for, when not the listener's
};

std::string WorkFolder() {
    return ExeFolder() + "matrix-work";
}

std::unique_ptr<ChildProcess> StartProgram() {
    return std::make_unique<ChildProcess>(programPath, "", WorkFolder());
}

HWND ProgramWindow(DWORD deadlineMs) {
    return WaitForWindow("Adquell", "Adquell Lite 0.4", deadlineMs);
}

// Each scenario starts with nothing owed from the one before.
void ForgetProgramUserState() {
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Adquell Lite");
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Adquell Lite");
}

// Knob moves made by clicks (the client records its own and the listener's
// with a reason), from event line `from` on.
int ClickedKnobMoves(SimRig& rig, size_t from) {
    const auto events = rig.Events();
    int n = 0;
    for (size_t i = from; i < events.size(); ++i)
        n += events[i].text.rfind("knob x=", 0) == 0 && events[i].text.find("reason=") == std::string::npos;
    return n;
}

// The track after the last advert, from the summary: its volume and the
// listener's, and whether they are the same knob pixel.
bool NextTrackVolume(const std::string& summary, int listenerVolume, std::string& text, std::string& offMs) {
    std::istringstream in(summary);
    std::string last;
    for (std::string line; std::getline(in, line);)
        if (line.rfind("track ", 0) == 0 && FieldOf(line, "after_advert") == 1) last = line;
    if (last.empty()) {
        text = "no track after an advert";
        return false;
    }
    const long long listener = listenerVolume >= 0 ? listenerVolume : FieldOf(last, "user_volume");
    text = std::to_string(FieldOf(last, "volume")) + " % (listener " + std::to_string(listener) + " %)";
    offMs = std::to_string(FieldOf(last, "off_volume_ms"));
    if (listenerVolume >= 0) return FieldOf(last, "volume") == listenerVolume;
    return FieldOf(last, "restored") == 1;
}

Outcome Judge(const Scenario& s, SimRig& rig, const std::string& actionNote) {
    Outcome o;
    o.note = actionNote;
    const std::string summary = rig.Summary();
    const AdvertFigures figures = ReadAdvertFigures(summary);
    bool silenced = true;
    for (size_t i = 0; i < figures.audibleMs.size(); ++i) {
        o.audible += (i ? " " : "") + std::to_string(figures.audibleMs[i]);
        silenced = silenced && figures.audibleMs[i] <= kSilencedAudibleMs;
    }
    bool restored = false;
    if (s.judged == Judged::ByNextTrack) {
        restored = NextTrackVolume(summary, s.listenerVolume, o.volume, o.offMs);
    } else {
        const long long kept = std::atoll(ReadTextFile(rig.Folder() + "volume.txt").c_str());
        o.volume = "kept " + std::to_string(kept) + " % (" + (s.expected ? s.expected : "listener " + std::to_string(s.listenerVolume) + " %") + ")";
        restored = kept == s.listenerVolume;
    }
    int splashClicks = 0;
    for (const auto& e : rig.Events()) splashClicks += e.text.find(" on splash") != std::string::npos;
    o.ok = restored && (!s.knobVisible || silenced) && splashClicks == 0 && actionNote.empty();
    if (!restored) o.note += "volume not back; ";
    if (s.knobVisible && !silenced) o.note += "advert not silenced; ";
    if (splashClicks) o.note += std::to_string(splashClicks) + " clicks into the splash window; ";
    return o;
}

Outcome Run(const Scenario& s) {
    RemoveTree(WorkFolder());
    CreateDirectoryA(WorkFolder().c_str(), nullptr);
    ForgetProgramUserState();
    if (!s.options.empty()) std::ofstream(WorkFolder() + "\\Options.ini", std::ios::binary) << s.options;
    SimRig rig("matrix");
    Outcome failed;
    if (!rig.Start(s.script)) {
        failed.note = "the simulated client did not start";
        return failed;
    }
    std::unique_ptr<ChildProcess> program = StartProgram();
    HWND main = ProgramWindow(kDeadline);
    if (!main) {
        failed.note = "the program did not start";
        return failed;
    }
    if (showConsole) PostMessageA(main, WM_COMMAND, kDebugConsoleCommand, 0);
    const std::string actionNote = s.during ? s.during(rig, program) : std::string();
    if (!s.endsSpotify) rig.WaitForEvent(" end", 120000);
    if (HWND main = ProgramWindow(0)) {
        PostMessageA(main, WM_COMMAND, kExitCommand, 0);  // File, Exit
        program->Wait(kDeadline);
    }
    program.reset();
    rig.Close();
    return Judge(s, rig, actionNote);
}

// Waits until the advert is silenced and plays on (a kill before that leaves
// Spotify paused, which is no volume fault).
std::string WaitUntilSilencedAndPlaying(SimRig& rig) {
    const size_t from = rig.EventCount();
    if (rig.WaitForEvent("knob x=124", kDeadline).ms < 0) return "never silenced; ";
    if (rig.WaitForEvent("play state=playing reason=click", kDeadline, from).ms < 0) return "never resumed; ";
    return "";
}

// The program is killed while the advert is silenced, then started again.
std::string KillAndRestart(SimRig& rig, std::unique_ptr<ChildProcess>& program) {
    const std::string silenced = WaitUntilSilencedAndPlaying(rig);
    if (!silenced.empty()) return silenced;
    program->Kill();
    program.reset();
    Sleep(300);
    program = StartProgram();
    return ProgramWindow(kDeadline) ? "" : "did not start again; ";
}

// The program is killed mid-advert; while it is not running the listener sets
// a volume of their own, then the program starts again: the volume stays.
std::string ListenerChoosesWhileEnded(SimRig& rig, std::unique_ptr<ChildProcess>& program) {
    const std::string silenced = WaitUntilSilencedAndPlaying(rig);
    if (!silenced.empty()) return silenced;
    program->Kill();
    program.reset();
    const SimEventLine chosen = rig.WaitForEvent("reason=listener", kDeadline);
    if (chosen.ms < 0) return "the listener's volume never came; ";
    const size_t from = rig.EventCount();
    program = StartProgram();
    if (!ProgramWindow(kDeadline)) return "did not start again; ";
    // The advert still playing is silenced again, and given back the
    // listener's new volume; the one from before is never clicked back.
    if (rig.WaitForEvent("entry index=2", kDeadline, from).ms < 0) return "the track never came; ";
    const auto events = rig.Events();
    for (size_t i = from; i < events.size(); ++i)
        if (events[i].text.rfind("knob x=", 0) == 0 && events[i].text.find(" volume=64") != std::string::npos)
            return "the volume from before was clicked back over the listener's; ";
    return "";
}

// A restore is owed (a record from the last run) while the knob cannot be
// seen; the listener sets a volume, then the knob is drawn: it stays.
std::string ListenerChoosesWhilePending(SimRig& rig, std::unique_ptr<ChildProcess>&) {
    if (rig.WaitForEvent("reason=listener", kDeadline).ms < 0) return "the listener's volume never came; ";
    const size_t from = rig.EventCount();
    if (rig.WaitForEvent("entry index=1", kDeadline, from).ms < 0) return "the advert never came; ";
    // Up to the advert, nothing clicked the knob away from the listener's volume.
    const auto events = rig.Events();
    size_t advert = from;
    while (advert < events.size() && events[advert].text.find("entry index=1") == std::string::npos) ++advert;
    return ClickedKnobMoves(rig, from) - ClickedKnobMoves(rig, advert) == 0
               ? ""
               : "the knob was clicked back over the listener's volume; ";
}

// A restore is owed, but the knob stays out of sight for a minute: nothing is
// clicked, and the listener is told once what to set.
std::string KnobUnseenWhilePending(SimRig& rig, std::unique_ptr<ChildProcess>&) {
    if (rig.WaitForEvent(" end", 90000).ms < 0) return "the playlist did not end; ";
    HWND main = ProgramWindow(kDeadline);
    DWORD_PTR notices = 0;
    SendMessageTimeoutA(main, kNoticesShownMessage, 0, 0, SMTO_NORMAL, kDeadline, &notices);
    std::string note;
    if (ClickedKnobMoves(rig, 0) != 0) note += "the unseen knob was clicked; ";
    if (notices != 1) note += std::to_string(notices) + " messages to the listener; ";
    return note;
}

// Zelmor mid-advert: Spotify is given its volume back before it is ended, so
// the volume it keeps for its next start is the listener's.
std::string ZelmorMidAdvert(SimRig& rig, std::unique_ptr<ChildProcess>& program) {
    const std::string silenced = WaitUntilSilencedAndPlaying(rig);
    if (!silenced.empty()) return silenced;
    PostMessageA(ProgramWindow(kDeadline), WM_COMMAND, kZelmorCommand, 0);
    if (program->Wait(kDeadline) == STILL_ACTIVE) return "the program did not end; ";
    if (!WaitUntil([] { return FindWindowA("SpotifyMainWindow", nullptr) == nullptr; }, kDeadline))
        return "Spotify was not ended; ";
    return "";
}

// Windows logs off while the mute sequence is still under way (the client is
// slow to react): the sequence stops and the volume comes back.
std::string LogOffDuringMuteSequence(SimRig& rig, std::unique_ptr<ChildProcess>& program) {
    if (rig.WaitForEvent("click x=120", kDeadline).ms < 0) return "never clicked to silence; ";
    HWND main = ProgramWindow(kDeadline);
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, kDeadline, &answer);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, 2000, &ignored);
    if (answer != TRUE) return "refused the end of the session; ";
    return program->Wait(kDeadline) == STILL_ACTIVE ? "did not end; " : "";
}

// A second copy is started: it must end and leave the first one working.
std::string SecondCopy(SimRig&, std::unique_ptr<ChildProcess>& first) {
    ChildProcess second(programPath, "", WorkFolder());
    const DWORD code = second.Wait(kDeadline);
    if (code == STILL_ACTIVE) return "the second copy did not end; ";
    if (first->Wait(0) != STILL_ACTIVE) return "the first copy ended; ";
    return code == 420 ? "" : "the second copy ended with " + std::to_string(code) + "; ";
}

// Windows logs off while the advert is silenced; the program leaves Spotify as found.
std::string LogOff(SimRig& rig, std::unique_ptr<ChildProcess>& program) {
    if (rig.WaitForEvent("knob x=124", kDeadline).ms < 0) return "never silenced; ";
    HWND main = ProgramWindow(kDeadline);
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, kDeadline, &answer);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, 2000, &ignored);
    if (answer != TRUE) return "refused the end of the session; ";
    return program->Wait(kDeadline) == STILL_ACTIVE ? "did not end; " : "";
}

const char* const kPlain = "set volume 64\n"
                           "track  | One   | First  | 2500\n"
                           "advert | Brand | Ad one | 2500\n"
                           "track  | Two   | Second | 2500\n";

std::vector<Scenario> Scenarios() {
    return {
        {"clean advert", kPlain, true},
        {"two adverts back to back",
         "set volume 64\ntrack | One | First | 2500\nadvert | Brand | Ad one | 2000\nadvert | Brand | Ad two | 2000\n"
         "track | Two | Second | 2500\n",
         true},
        {"title before the player bar (150 ms)", "set repaint-delay 150\nset volume 64\n"
         "track | One | First | 2500\nadvert | Brand | Ad one | 2500\ntrack | Two | Second | 2500\n",
         true},
        {"knob not drawn", "set knob-hidden on\nset volume 64\n"
         "track | One | First | 2500\nadvert | Brand | Ad one | 2500\ntrack | Two | Second | 2500\n",
         false},
        {"knob in another colour", "set knob-colour C8C8C8\nset volume 64\n"
         "track | One | First | 2500\nadvert | Brand | Ad one | 2500\ntrack | Two | Second | 2500\n",
         false},
        {"volume set back mid-advert", "set volume 64\n"
         "track | One | First | 2500\nadvert | Brand | Ad one | 3000 | volume-back=1200\ntrack | Two | Second | 2500\n",
         true},
        {"Spotify restarted mid-advert", "set volume 64\n"
         "track | One | First | 2500\nadvert | Brand | Ad one | 3000 | restart=1000\ntrack | Two | Second | 6000\n",
         true},
        // The login watcher looks again within about 4 s of the splash closing.
        {"splash window, restore pending", "set volume 0\nset splash 2500\nadvert | Brand | Ad one | 1500\n"
         "track | Two | Second | 8000\n",
         true, " [Options]\r\n Restore=173\r\n Mute=True\r\n", nullptr, 64},
        {"program killed mid-advert, started again", "set volume 64\n"
         "track | One | First | 2500\nadvert | Brand | Ad one | 5000\ntrack | Two | Second | 3000\n",
         true, "", KillAndRestart},
        {"second copy started", kPlain, true, "", SecondCopy},
        {"Windows logs off mid-advert", "set volume 64\n"
         "track | One | First | 2500\nadvert | Brand | Ad one | 3000\ntrack | Two | Second | 2500\n",
         false, "", LogOff},
        {"log-off during the mute sequence", "set volume 64\nset reaction-delay 300\n"
         "track | One | First | 2500\nadvert | Brand | Ad one | 4000\ntrack | Two | Second | 3000\n",
         false, "", LogOffDuringMuteSequence},
        {"listener sets a volume while ended mid-advert", "set volume 64\n"
         "track | One | First | 2500\nadvert | Brand | Ad one | 6000 | listener-volume=8@2500\n"
         "track | Two | Second | 3000\n",
         true, "", ListenerChoosesWhileEnded},
        {"listener moves the knob, restore pending", "set volume 0\nset knob-hidden on\n"
         "track | One | First | 6000 | listener-volume=30@1500 knob-shown=3000\n"
         "advert | Brand | Ad one | 2500\ntrack | Two | Second | 3000\n",
         true, " [Options]\r\n Restore=173\r\n Mute=True\r\n", ListenerChoosesWhilePending},
        {"knob unseen 60 s, restore pending", "set volume 0\nset knob-hidden on\n"
         "track | One | First | 62000\n",
         false, " [Options]\r\n Restore=173\r\n Mute=True\r\n", KnobUnseenWhilePending, 0,
         Judged::ByKeptVolume, false, "not clicked, told once"},
        {"Zelmor mid-advert", kPlain, true, "", ZelmorMidAdvert, 64, Judged::ByKeptVolume, true},
    };
}

}  // namespace

int main(int argc, char** argv) {
    programPath = ExeFolder() + "tested\\Adquell Lite.exe";
    std::string only;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--program") == 0) programPath = argv[i + 1];
        if (std::strcmp(argv[i], "--only") == 0) only = argv[i + 1];
    }
    for (int i = 1; i < argc; ++i) showConsole = showConsole || std::strcmp(argv[i], "--console") == 0;
    std::printf("program: %s\n\n", programPath.c_str());
    std::printf("%-48s %-18s %-26s %-12s %s\n", "scenario", "advert audible ms", "next track volume",
                "off volume ms", "result");
    int failures = 0, run = 0;
    for (const Scenario& s : Scenarios()) {
        if (std::string(s.name).find(only) == std::string::npos) continue;
        ++run;
        const Outcome o = Run(s);
        failures += !o.ok;
        std::printf("%-48s %-18s %-26s %-12s %s%s%s\n", s.name, o.audible.c_str(), o.volume.c_str(),
                    o.offMs.c_str(), o.ok ? "ok" : "FAILED", o.note.empty() ? "" : ": ", o.note.c_str());
        std::fflush(stdout);
    }
    std::printf("\nvolume safety: %d scenarios, %d failed\n", run, failures);
    return failures == 0 ? 0 : 1;
}
