// The volume-safety matrix: the real program beside the simulated client, one
// scenario per way the listener could be left muted or louder, each judged by
// the client's own record of the volume during the track after the advert.
// Prints a table; exits 0 only when every scenario ends at the listener's
// exact volume and every advert whose knob could be seen was silenced. The
// table also shows the longest the program's window took to answer, from its
// start until the scenario ends it on purpose; that figure judges nothing.
//   volume_matrix [--program EXE] [--only TEXT] [--console]
// --only runs the scenarios whose name holds TEXT; --console opens the
// program's debug console, whose log then shows where Wine shows consoles.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "answer_probe.h"
#include "base/application_state.h"
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
    std::string reading;   // what a scenario's action read on the way, for the table
    std::string longestWait = "-";  // ms the window took at most to answer
};

// What a scenario is judged by: the track after the advert (its volume
// against the listener's), or where nothing is left to play after it, what
// the client kept as its volume.
enum class Judged { ByNextTrack, ByKeptVolume };

// Set by a scenario's action: a figure it read, shown beside the result.
std::string actionReading;

// Whether the program's window answers, asked from its start until the
// scenario ends it on purpose: an end may block while Spotify is given back.
// A scenario that runs other copies watches each of them the same way.
std::unique_ptr<AnswerProbe> answerProbe;
double longestWaitMs = 0;
long long answersAsked = 0;

void StopWatchingAnswers() {
    if (!answerProbe) return;
    answerProbe->Stop();
    longestWaitMs = std::max(longestWaitMs, answerProbe->LongestMs());
    answersAsked += answerProbe->Asked();
    answerProbe.reset();
}

void WatchAnswers(const std::string& title) {
    StopWatchingAnswers();
    answerProbe = std::make_unique<AnswerProbe>("Adquell", title);
}

std::string LongestWaitText() {
    char text[32];
    std::snprintf(text, sizeof text, "%.0f", longestWaitMs);
    return answersAsked ? text : "-";
}

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

std::string MatrixMp3Folder() {
    return WorkFolder() + "\\mp3";
}

// Two of the test tones in the work folder's MP3 folder.
void CopyFillerTones() {
    CreateDirectoryA(MatrixMp3Folder().c_str(), nullptr);
    for (const char* name : {"tone-a.mp3", "tone-c.mp3"})
        CopyFileA((ExeFolder() + "media\\" + name).c_str(), (MatrixMp3Folder() + "\\" + name).c_str(), FALSE);
}

std::unique_ptr<ChildProcess> StartProgram() {
    return std::make_unique<ChildProcess>(programPath, "", WorkFolder());
}

HWND ProgramWindow(DWORD deadlineMs) {
    return WaitForWindow("Adquell", ProgramTitleOf(programPath).c_str(), deadlineMs);
}

// Each scenario starts with nothing owed from the one before.
void ForgetProgramUserState() {
    RegDeleteTreeA(HKEY_CURRENT_USER, kProgramUserKey);
    RegDeleteKeyA(HKEY_CURRENT_USER, kProgramUserKey);
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
    // Measured against the listener's volume as the client saw it; where the
    // client cannot know it (a record from before), not measured.
    offMs = listenerVolume >= 0 ? "-" : std::to_string(FieldOf(last, "off_volume_ms"));
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
    if (s.options.find(" MP3=") != std::string::npos) CopyFillerTones();
    SimRig rig("matrix");
    Outcome failed;
    if (!rig.Start(s.script)) {
        failed.note = "the simulated client did not start";
        return failed;
    }
    longestWaitMs = 0;
    answersAsked = 0;
    std::unique_ptr<ChildProcess> program = StartProgram();
    WatchAnswers(ProgramTitleOf(programPath));
    HWND main = ProgramWindow(kDeadline);
    if (!main) {
        StopWatchingAnswers();
        failed.note = "the program did not start";
        return failed;
    }
    if (showConsole) PostMessageA(main, WM_COMMAND, kDebugConsoleCommand, 0);
    actionReading.clear();
    const std::string actionNote = s.during ? s.during(rig, program) : std::string();
    if (!s.endsSpotify) rig.WaitForEvent(" end", 120000);
    StopWatchingAnswers();
    if (HWND main = ProgramWindow(0)) {
        PostMessageA(main, WM_COMMAND, kExitCommand, 0);  // File, Exit
        program->Wait(kDeadline);
    }
    program.reset();
    rig.Close();
    Outcome o = Judge(s, rig, actionNote);
    o.reading = actionReading;
    o.longestWait = LongestWaitText();
    return o;
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
    StopWatchingAnswers();
    PostMessageA(ProgramWindow(kDeadline), WM_COMMAND, kZelmorCommand, 0);
    if (program->Wait(kDeadline) == STILL_ACTIVE) return "the program did not end; ";
    if (!WaitUntil([] { return FindWindowA("SpotifyMainWindow", nullptr) == nullptr; }, kDeadline))
        return "Spotify was not ended; ";
    return "";
}


// A second copy is started: it must end and leave the first one working.
std::string SecondCopy(SimRig&, std::unique_ptr<ChildProcess>& first) {
    ChildProcess second(programPath, "", WorkFolder());
    const DWORD code = second.Wait(kDeadline);
    if (code == STILL_ACTIVE) return "the second copy did not end; ";
    if (first->Wait(0) != STILL_ACTIVE) return "the first copy ended; ";
    return code == 420 ? "" : "the second copy ended with " + std::to_string(code) + "; ";
}

// Windows logs off once the client has recorded `moment`; the program leaves
// Spotify as found and ends.
std::string LogOffAt(const char* moment, SimRig& rig, std::unique_ptr<ChildProcess>& program) {
    if (rig.WaitForEvent(moment, kDeadline).ms < 0) return std::string("never came: ") + moment + "; ";
    HWND main = ProgramWindow(kDeadline);
    StopWatchingAnswers();
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, kDeadline, &answer);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, 2000, &ignored);
    if (answer != TRUE) return "refused the end of the session; ";
    return program->Wait(kDeadline) == STILL_ACTIVE ? "did not end; " : "";
}

// ... while the advert is silenced.
std::string LogOff(SimRig& rig, std::unique_ptr<ChildProcess>& program) {
    return LogOffAt("knob x=124", rig, program);
}

// ... while the mute sequence is still under way (the client is slow to
// react): the sequence stops and the volume comes back.
std::string LogOffDuringMuteSequence(SimRig& rig, std::unique_ptr<ChildProcess>& program) {
    return LogOffAt("click x=120", rig, program);
}

// The main window's volume slider, read from this process; -1 when it cannot be.
int ProgramSliderPosition(HWND main) {
    HWND slider = FindWindowExA(main, nullptr, "msctls_trackbar32", nullptr);
    DWORD_PTR position = 0;
    if (!slider || !SendMessageTimeoutA(slider, TBM_GETPOS, 0, 0, SMTO_NORMAL, 2000, &position)) return -1;
    return static_cast<int>(position);
}

// The first child static of the main window: the status line, which names
// the MP3 the filler plays.
std::string ProgramStatus(HWND main) {
    return WindowTitle(FindWindowExA(main, nullptr, "Static", nullptr));
}

// During the advert the filler plays no louder than Spotify did: the slider
// it plays at is read while it plays, and never above the listener's 30 %.
std::string FillerNoLouderThanSpotify(SimRig& rig, std::unique_ptr<ChildProcess>&) {
    if (rig.WaitForEvent("knob x=124", kDeadline).ms < 0) return "never silenced; ";
    HWND main = ProgramWindow(kDeadline);
    bool playing = false;
    int highest = -1, lowest = 101;
    const DWORD start = GetTickCount();
    // Read every 100 ms for two seconds of the advert while the filler plays.
    while (GetTickCount() - start < 2000) {
        const std::string status = ProgramStatus(main);
        if (status.size() > 4 && status.compare(status.size() - 4, 4, ".mp3") == 0) {
            playing = true;
            const int position = ProgramSliderPosition(main);
            if (position > highest) highest = position;
            if (position < lowest) lowest = position;
        }
        Sleep(100);
    }
    actionReading = "filler slider " + std::to_string(highest);
    if (!playing) return "the filler never played; ";
    // At Spotify's level: never louder, and not silenced either.
    return lowest == 30 && highest == 30 ? "" : "the filler did not play at Spotify's 30 %; ";
}

const char* const kPlain = "set volume 64\n"
                           "track  | One   | First  | 2500\n"
                           "advert | Brand | Ad one | 2500\n"
                           "track  | Two   | Second | 2500\n";

Scenario FillerAtSpotifysVolume() {
    return {"filler during an advert, Spotify at 30 %", "set volume 30\n"
            "track | One | First | 2500\nadvert | Brand | Ad one | 3000\ntrack | Two | Second | 5000\n",
            true, " [Options]\r\n Mute=True\r\n Play=True\r\n MP3=" + MatrixMp3Folder() + "\r\n",
            FillerNoLouderThanSpotify};
}

// An update mid-advert: the installed 0.4 copy (hotkeys on) is told Alt+D
// while an advert is silenced, finds 0.5 on a test server on 127.0.0.1,
// starts it and shows its message box. The new copy must then hold every
// hotkey and silence the next advert.
constexpr DWORD kHotkeyRetryWindowMs = 5000;  // how long a copy asks again for a held hotkey

struct HeldCombination {
    const char* name;
    UINT modifiers;
    UINT virtualKey;
};
const HeldCombination kUpdateHotkeys[] = {
    {"Alt+F1", MOD_ALT, VK_F1}, {"Alt+Right", MOD_ALT, VK_RIGHT}, {"Ctrl+Space", MOD_CONTROL, VK_SPACE}, {"Alt+D", MOD_ALT, 'D'}};

std::string ExpandedPath(const char* text) {
    char path[MAX_PATH] = {};
    ExpandEnvironmentStringsA(text, path, MAX_PATH);
    return path;
}

// The combinations some other program holds now (RegisterHotKey fails), by name.
std::string FreeUpdateHotkeys() {
    std::string free;
    for (const HeldCombination& h : kUpdateHotkeys) {
        if (!RegisterHotKey(nullptr, 0xB000, h.modifiers, h.virtualKey)) continue;
        UnregisterHotKey(nullptr, 0xB000);
        free += std::string(free.empty() ? "" : " ") + h.name;
    }
    return free;
}

BOOL CALLBACK FindUpdatedBox(HWND window, LPARAM found) {
    char cls[16] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (std::string(cls) != "#32770" || !FindWindowExA(window, nullptr, "Static", "Adquell has been updated."))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

HWND UpdatedBox() {
    HWND box = nullptr;
    EnumWindows(FindUpdatedBox, reinterpret_cast<LPARAM>(&box));
    return box;
}

void EndProgramWindow(HWND window) {
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id);
    PostMessageA(window, WM_COMMAND, kExitCommand, 0);
    if (process) {
        WaitForSingleObject(process, kDeadline);
        CloseHandle(process);
    }
}

void PressAltD() {
    keybd_event(VK_MENU, static_cast<BYTE>(MapVirtualKeyA(VK_MENU, 0)), 0, 0);
    Sleep(30);
    keybd_event('D', static_cast<BYTE>(MapVirtualKeyA('D', 0)), 0, 0);
    Sleep(30);
    keybd_event('D', static_cast<BYTE>(MapVirtualKeyA('D', 0)), KEYEVENTF_KEYUP, 0);
    Sleep(30);
    keybd_event(VK_MENU, static_cast<BYTE>(MapVirtualKeyA(VK_MENU, 0)), KEYEVENTF_KEYUP, 0);
}

std::string UpdateWhileSilenced(SimRig& rig, std::unique_ptr<ChildProcess>& tested) {
    StopWatchingAnswers();
    EndProgramWindow(ProgramWindow(kDeadline));  // this scenario runs the installed copies instead
    tested.reset();
    const std::string copies = ExeFolder() + "..\\update-copies\\";
    const std::string install = ExpandedPath("%appdata%\\Adquell");
    RemoveTree(install);
    CreateDirectoryA(install.c_str(), nullptr);
    const std::string installed = install + "\\Adquell Lite.exe";
    CopyFileA((copies + "0.4\\bin\\Adquell Lite.exe").c_str(), installed.c_str(), FALSE);
    std::ofstream(install + "\\Options.ini", std::ios::binary)
        << " [Options]\r\n Mute=True\r\n Hotkeys=True\r\n [Hotkeys]\r\n 0=1|41\r\n 1=1|3\r\n 2=2|0\r\n";
    const std::string web = WorkFolder() + "\\web";
    CreateDirectoryA(web.c_str(), nullptr);
    CreateDirectoryA((web + "\\Adquell").c_str(), nullptr);
    std::ofstream(web + "\\Adquell\\Update2.php@V=0.4", std::ios::binary) << "0.5";
    for (const char* ending : {"", ".sig"})
        CopyFileA((copies + "0.5\\bin\\Adquell Lite.exe" + ending).c_str(),
                  (web + "\\Adquell\\Adquell Lite 0.5.exe" + ending).c_str(), FALSE);
    const std::string port = std::to_string(20000 + GetCurrentProcessId() % 20000);
    ChildProcess server("tiny_http_server.exe", port + " \"" + web + "\"");
    if (!WaitUntil([&] { return GetFileAttributesA((web + "\\ready").c_str()) != INVALID_FILE_ATTRIBUTES; }, kDeadline))
        return "the test server did not start; ";
    SetEnvironmentVariableA("ADQUELL_UPDATE_BASE", ("http://127.0.0.1:" + port).c_str());
    ChildProcess old(installed, "", install);
    WatchAnswers("Adquell Lite 0.4");
    SetEnvironmentVariableA("ADQUELL_UPDATE_BASE", nullptr);
    std::string note;
    HWND newWindow = nullptr;
    if (!WaitForWindow("Adquell", "Adquell Lite 0.4", kDeadline)) return "the installed 0.4 did not start; ";
    if (rig.WaitForEvent("knob x=124", kDeadline).ms < 0) return "0.4 never silenced the first advert; ";
    StopWatchingAnswers();  // Alt+D ends 0.4 by handing over to 0.5
    PressAltD();
    HWND box = nullptr;
    WaitUntil([&] { return (box = UpdatedBox()) != nullptr; }, kDeadline);
    newWindow = WaitForWindow("Adquell", "Adquell Lite 0.5", kDeadline);
    if (newWindow) WatchAnswers("Adquell Lite 0.5");
    if (!box) note += "no \"Adquell has been updated.\" box; ";
    if (!newWindow) note += "0.5 did not start; ";
    // The listener reads the box for longer than a new copy tries for a
    // hotkey; once the old copy has ended, whatever is still held is the new one's.
    Sleep(kHotkeyRetryWindowMs + 1500);
    if (box) PostMessageA(box, WM_COMMAND, IDOK, 0);
    if (old.Wait(kDeadline) != 420) note += "the old copy did not end with 420; ";
    const std::string free = FreeUpdateHotkeys();
    if (newWindow && !free.empty()) note += "0.5 does not hold " + free + "; ";
    actionReading = newWindow && free.empty() ? "0.5 holds all 4 hotkeys" : "";
    if (newWindow) {
        const size_t from = rig.EventCount();
        const SimEventLine next = rig.WaitForEvent("kind=advert", 60000, from);
        size_t at = from;  // the next advert's own line: 0.5 may have silenced the first one since
        for (const std::vector<SimEventLine> events = rig.Events(); at < events.size() && events[at].text != next.text;)
            ++at;
        if (next.ms < 0) note += "no next advert; ";
        else if (rig.WaitForEvent("knob x=124", 3000, at).ms < 0) note += "0.5 did not silence the next advert; ";
        rig.WaitForEvent(" end", 120000);
        StopWatchingAnswers();
        EndProgramWindow(newWindow);
    }
    RemoveTree(install);
    return note;
}

Scenario UpdateMidAdvert() {
    // The first advert is left as found at the hand-over, so only the next is judged.
    return {"an update mid-advert", "set volume 64\n"
            "track | One | First | 4000\nadvert | Brand | Ad one | 12000\ntrack | Two | Second | 3000\n"
            "advert | Brand | Ad two | 3000\ntrack | Three | Third | 4000\n",
            false, "", UpdateWhileSilenced};
}

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
        FillerAtSpotifysVolume(),
        UpdateMidAdvert(),
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
    std::printf("%-48s %-18s %-26s %-12s %-16s %s\n", "scenario", "advert audible ms", "next track volume",
                "off volume ms", "longest wait ms", "result");
    int failures = 0, run = 0;
    for (const Scenario& s : Scenarios()) {
        if (std::string(s.name).find(only) == std::string::npos) continue;
        ++run;
        const Outcome o = Run(s);
        failures += !o.ok;
        std::printf("%-48s %-18s %-26s %-12s %-16s %s%s%s%s%s\n", s.name, o.audible.c_str(), o.volume.c_str(),
                    o.offMs.c_str(), o.longestWait.c_str(), o.ok ? "ok" : "FAILED", o.note.empty() ? "" : ": ", o.note.c_str(),
                    o.reading.empty() ? "" : "  ", o.reading.c_str());
        std::fflush(stdout);
    }
    std::printf("\nvolume safety: %d scenarios, %d failed\n", run, failures);
    return failures == 0 ? 0 : 1;
}
