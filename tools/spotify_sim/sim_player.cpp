#include "sim_player.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "client/spotify_contract.h"
#include "platform/ansi_text.h"

namespace {

constexpr int kHit = 6;  // how near a click must land to a button's point
constexpr int kVkApps = 0x5D;
constexpr int kLoggedOutWidth = 400;
constexpr int kLoggedOutHeight = 300;

void Record(SimPlayer& p, const std::string& what) {
    p.events.emplace_back(p.now, what);
}

bool Near(int a, int b) {
    return std::abs(a - b) <= kHit;
}

const SimEntry* Current(const SimPlayer& p) {
    if (p.entry < 0 || p.entry >= static_cast<int>(p.entries.size()) || p.finished) return nullptr;
    return &p.entries[p.entry];
}

bool AdvertCurrent(const SimPlayer& p) {
    const SimEntry* e = Current(p);
    return e && e->advert;
}

bool Audible(const SimPlayer& p) {
    return p.playing && p.mainOpen && p.knobLeft > spotify::kKnobMutedX;
}

void SyncTitle(SimPlayer& p) {
    std::string title = spotify::kIdleTitle;
    const SimEntry* e = Current(p);
    if (e && p.playing && p.loggedIn && p.mainOpen)
        title = std::string(spotify::kTitlePrefix) + e->artist + " " + Utf8FromWide(std::wstring(1, spotify::kEnDash)) +
                " " + e->title;
    if (title == p.title) return;
    p.title = title;
    Record(p, "title " + title);
}

// Time passes without any change of entry: accounting only.
void Account(SimPlayer& p, std::int64_t ms) {
    if (ms <= 0) return;
    if (AdvertCurrent(p) && Audible(p) && !p.adverts.empty()) p.adverts.back().audibleMs += ms;
    const SimEntry* e = Current(p);
    if (e && !e->advert && p.playing && !p.tracks.empty()) {
        SimTrackRecord& t = p.tracks.back();
        if (t.afterAdvert && p.knobLeft != t.userKnob) t.offVolumeMs += ms;
    }
    if (p.playing) p.positionMs += static_cast<double>(ms) * p.settings.timeScale;
    p.now += ms;
}

void LeaveEntry(SimPlayer& p) {
    const SimEntry* e = Current(p);
    if (e && !e->advert && !p.tracks.empty()) p.tracks.back().knob = p.knobLeft;
}

void FireEvents(SimPlayer& p, const SimEntry& e) {
    for (const SimEvent& ev : e.events) {
        switch (ev.kind) {
        case SimEvent::BannerRight:
        case SimEvent::BannerBottom:
            p.effects.push_back({SimEffect::CreateBanner, ev.width, ev.height});
            break;
        case SimEvent::FullScreen:
            p.effects.push_back({SimEffect::CreateFullScreen, ev.width, ev.height});
            break;
        case SimEvent::Reopen:
            p.effects.push_back({SimEffect::CloseMain, 0, 0});
            p.mainOpen = false;
            p.playing = false;
            p.reopenAtMs = p.now + ev.delayMs;
            p.reopenWidth = ev.width;
            p.reopenHeight = ev.height;
            Record(p, "mainwindow closed");
            break;
        case SimEvent::VolumeBack:
            p.volumeBackAtMs = p.now + ev.delayMs;
            break;
        case SimEvent::Restart:
            p.restartAtMs = p.now + ev.delayMs;
            break;
        case SimEvent::ListenerVolume:
            p.listenerAtMs = p.now + ev.delayMs;
            p.listenerVolume = ev.percent;
            break;
        case SimEvent::KnobShown:
            p.knobShownAtMs = p.now + ev.delayMs;
            break;
        }
    }
}

void StartEntry(SimPlayer& p, int index) {
    LeaveEntry(p);
    const bool afterAdvert = AdvertCurrent(p);
    p.entry = index;
    p.finished = false;
    p.positionMs = 0;
    // With repaint-delay the title changes first and the player bar later.
    if (p.settings.repaintDelayMs > 0) p.repaintAtMs = p.now + p.settings.repaintDelayMs;
    else p.paintedEntry = index;
    const SimEntry& e = p.entries[index];
    if (e.advert) {
        if (!afterAdvert) p.userKnob = p.knobLeft;
        p.adverts.push_back({index, 0});
    } else {
        p.tracks.push_back({index, afterAdvert, p.userKnob, p.knobLeft, 0});
    }
    Record(p, "entry index=" + std::to_string(index) + (e.advert ? " kind=advert " : " kind=track ") + e.artist +
                  " | " + e.title);
    FireEvents(p, e);
}

void Finish(SimPlayer& p) {
    LeaveEntry(p);
    p.finished = true;
    p.playing = false;
    Record(p, "end");
    if (p.settings.exitAtEnd) p.effects.push_back({SimEffect::Exit, 0, 0});
}

void NextEntry(SimPlayer& p) {
    if (p.entry + 1 < static_cast<int>(p.entries.size())) StartEntry(p, p.entry + 1);
    else Finish(p);
}

void SetPlaying(SimPlayer& p, bool playing, const char* reason) {
    if (p.playing == playing) return;
    p.playing = playing;
    Record(p, std::string("play state=") + (playing ? "playing" : "paused") + " reason=" + reason);
}

void MoveKnob(SimPlayer& p, int x) {
    int left = std::clamp(x - 1, spotify::kKnobMutedX, spotify::kKnobFullX);
    if (p.settings.knobOffByOne) left = left < spotify::kKnobFullX ? left + 1 : left - 1;
    p.knobLeft = left;
    Record(p, "knob x=" + std::to_string(left) + " volume=" + std::to_string(SimVolume(p)));
    if (left == spotify::kKnobMutedX && AdvertCurrent(p) && p.playing && p.settings.mutePauses)
        SetPlaying(p, false, "muted");
}

bool OnSliderRow(const SimPlayer& p, int y) {
    for (int up : spotify::kSliderClickRowsUp)
        if (y == p.height - up) return true;
    return false;
}

// What a click at (x, y) means, or null.
const char* ClickAction(const SimPlayer& p, int x, int y) {
    if (OnSliderRow(p, y) && x >= spotify::kSliderClickFirstX && x <= spotify::kSliderClickLastX) return "knob";
    if (Near(x, spotify::kStarTargetX) && Near(y, p.height - spotify::kStarTargetUp)) return "star-target";
    if (!Near(y, p.height - spotify::kBarClickUp)) return nullptr;
    if (Near(x, spotify::kPreviousX)) return "previous";
    if (Near(x, spotify::kPlayPauseX)) return "play-pause";
    if (Near(x, spotify::kNextX)) return "next";
    if (Near(x, p.width - spotify::kShuffleFromRight)) return "shuffle";
    if (Near(x, p.width - spotify::kRepeatFromRight)) return "repeat";
    return nullptr;
}

void PlayPause(SimPlayer& p) {
    if (p.finished || p.entry < 0) {
        if (p.entries.empty()) return;
        StartEntry(p, 0);
        SetPlaying(p, true, "click");
        return;
    }
    SetPlaying(p, !p.playing, "click");
}

void Skip(SimPlayer& p, int direction) {
    if (AdvertCurrent(p)) {
        Record(p, "skip refused reason=advert");
        return;
    }
    if (direction > 0) NextEntry(p);
    else if (p.entry > 0) StartEntry(p, p.entry - 1);
    else p.positionMs = 0;
}

void ApplyClick(SimPlayer& p, int x, int y) {
    const char* action = ClickAction(p, x, y);
    const std::string what = action ? action : "none";
    if (what != "star-target") p.starStage = 0;
    if (what == "knob") MoveKnob(p, x);
    else if (what == "star-target") p.starStage = 1;
    else if (what == "play-pause") PlayPause(p);
    else if (what == "next") Skip(p, +1);
    else if (what == "previous") Skip(p, -1);
    else if (what == "shuffle") {
        p.shuffle = !p.shuffle;
        Record(p, std::string("shuffle ") + (p.shuffle ? "on" : "off"));
    } else if (what == "repeat") {
        p.repeat = !p.repeat;
        Record(p, std::string("repeat ") + (p.repeat ? "on" : "off"));
    }
}

// Runs time up to 'until' without passing an entry's end unnoticed.
void RunUntil(SimPlayer& p, std::int64_t until) {
    while (p.now < until) {
        std::int64_t step = until - p.now;
        const SimEntry* e = Current(p);
        if (e && p.playing) {
            const double left = (static_cast<double>(e->durationMs) - p.positionMs) / p.settings.timeScale;
            step = std::min<std::int64_t>(step, std::max<std::int64_t>(1, static_cast<std::int64_t>(std::ceil(left))));
        }
        Account(p, step);
        if (e && p.playing && p.positionMs >= static_cast<double>(e->durationMs)) NextEntry(p);
        SyncTitle(p);
    }
}

void Login(SimPlayer& p) {
    p.loggedIn = true;
    p.loginAtMs = -1;
    p.width = p.settings.width;
    p.height = p.settings.height;
    p.effects.push_back({SimEffect::Resize, p.width, p.height});
    Record(p, "login width=" + std::to_string(p.width) + " height=" + std::to_string(p.height));
    if (p.settings.autoplay && !p.entries.empty()) {
        if (p.entry < 0) StartEntry(p, 0);
        SetPlaying(p, true, "login");
    }
}

void Reopen(SimPlayer& p) {
    p.reopenAtMs = -1;
    if (p.splash) {
        p.effects.push_back({SimEffect::CloseMain, 0, 0});
        p.splash = false;
        Record(p, "splash closed");
    }
    p.mainOpen = true;
    p.width = p.reopenWidth;
    p.height = p.reopenHeight;
    p.loggedIn = p.width > spotify::kLoggedInMinWidthExclusive && p.height > spotify::kLoggedInMinHeightExclusive;
    p.effects.push_back({SimEffect::OpenMain, p.width, p.height});
    Record(p, "mainwindow opened width=" + std::to_string(p.width) + " height=" + std::to_string(p.height));
    if (p.loggedIn && p.settings.autoplay) {
        if (p.entry < 0 && !p.entries.empty()) StartEntry(p, 0);
        SetPlaying(p, true, "reopen");
    }
}

// Ends like a killed client: the window goes, and the client comes back a
// second later with the volume it had.
void Restart(SimPlayer& p) {
    p.restartAtMs = -1;
    p.effects.push_back({SimEffect::CloseMain, 0, 0});
    p.mainOpen = false;
    p.playing = false;
    p.reopenAtMs = p.now + 1000;
    p.reopenWidth = p.width;
    p.reopenHeight = p.height;
    Record(p, "mainwindow closed reason=restart");
}

// The listener's own choice of volume: what the track after an advert must
// play at from now on.
void ListenerSetsVolume(SimPlayer& p) {
    p.listenerAtMs = -1;
    p.knobLeft = KnobLeftForVolume(p.listenerVolume);
    p.userKnob = p.knobLeft;
    if (!p.tracks.empty() && Current(p) && !Current(p)->advert) p.tracks.back().userKnob = p.knobLeft;
    Record(p, "knob x=" + std::to_string(p.knobLeft) + " volume=" + std::to_string(SimVolume(p)) +
                  " reason=listener");
}

// The next timed thing (delayed click, login, reopen) due by nowMs, or -1.
std::int64_t NextDue(const SimPlayer& p, std::int64_t nowMs) {
    std::int64_t due = -1;
    auto consider = [&](std::int64_t t) {
        if (t >= 0 && t <= nowMs && (due < 0 || t < due)) due = t;
    };
    for (const auto& c : p.delayed) consider(c.dueMs);
    consider(p.loginAtMs);
    consider(p.reopenAtMs);
    consider(p.repaintAtMs);
    consider(p.volumeBackAtMs);
    consider(p.restartAtMs);
    consider(p.listenerAtMs);
    consider(p.knobShownAtMs);
    return due;
}

void RunDue(SimPlayer& p, std::int64_t due) {
    if (p.loginAtMs == due) {
        Login(p);
        return;
    }
    if (p.reopenAtMs == due) {
        Reopen(p);
        return;
    }
    if (p.repaintAtMs == due) {
        p.repaintAtMs = -1;
        p.paintedEntry = p.entry;
        Record(p, "repainted entry=" + std::to_string(p.entry));
        return;
    }
    if (p.volumeBackAtMs == due) {
        p.volumeBackAtMs = -1;
        p.knobLeft = p.userKnob;
        Record(p, "knob x=" + std::to_string(p.knobLeft) + " volume=" + std::to_string(SimVolume(p)) +
                      " reason=client");
        return;
    }
    if (p.restartAtMs == due) {
        Restart(p);
        return;
    }
    if (p.listenerAtMs == due) {
        ListenerSetsVolume(p);
        return;
    }
    if (p.knobShownAtMs == due) {
        p.knobShownAtMs = -1;
        p.settings.knobHidden = false;
        Record(p, "knob shown");
        return;
    }
    for (size_t i = 0; i < p.delayed.size(); ++i) {
        if (p.delayed[i].dueMs != due) continue;
        const SimDelayedClick c = p.delayed[i];
        p.delayed.erase(p.delayed.begin() + static_cast<std::ptrdiff_t>(i));
        Record(p, "click acts x=" + std::to_string(c.x) + " y=" + std::to_string(c.y));
        ApplyClick(p, c.x, c.y);
        return;
    }
}

}  // namespace

int KnobVolumePercent(int knobLeft) {
    return static_cast<int>(std::lround((knobLeft - spotify::kKnobMutedX) * 100.0 / 76.0));
}

int SimVolume(const SimPlayer& p) {
    return KnobVolumePercent(p.knobLeft);
}

int KnobLeftForVolume(int percent) {
    return spotify::kKnobMutedX + static_cast<int>(std::lround(percent * 76.0 / 100.0));
}

void StartSim(SimPlayer& p, const SimScript& script, std::int64_t nowMs) {
    p = SimPlayer();
    p.settings = script.settings;
    p.entries = script.entries;
    p.now = nowMs;
    p.knobLeft = KnobLeftForVolume(p.settings.startVolume);
    p.userKnob = p.knobLeft;
    p.clicksToIgnore = p.settings.ignoreClicks;
    p.width = p.settings.width;
    p.height = p.settings.height;
    p.title = spotify::kIdleTitle;
    Record(p, "start entries=" + std::to_string(p.entries.size()) + " volume=" + std::to_string(SimVolume(p)));
    if (p.settings.splashMs > 0) {
        // A small window first; the main window opens, logged in, after it.
        p.splash = true;
        p.mainOpen = false;
        p.width = kLoggedOutWidth - 100;
        p.height = kLoggedOutHeight - 100;
        p.reopenAtMs = nowMs + p.settings.splashMs;
        p.reopenWidth = p.settings.width;
        p.reopenHeight = p.settings.height;
        Record(p, "splash shown");
    } else if (p.settings.startLoggedOut) {
        p.loggedIn = false;
        p.width = kLoggedOutWidth;
        p.height = kLoggedOutHeight;
        if (p.settings.loginAfterMs >= 0) p.loginAtMs = nowMs + p.settings.loginAfterMs;
    } else if (!p.entries.empty()) {
        StartEntry(p, 0);
        if (p.settings.autoplay) SetPlaying(p, true, "start");
    }
    SyncTitle(p);
}

void AdvanceSim(SimPlayer& p, std::int64_t nowMs) {
    for (std::int64_t due = NextDue(p, nowMs); due >= 0; due = NextDue(p, nowMs)) {
        RunUntil(p, due);
        RunDue(p, due);
        SyncTitle(p);
    }
    RunUntil(p, nowMs);
}

void SimClick(SimPlayer& p, int x, int y, std::int64_t nowMs) {
    AdvanceSim(p, nowMs);
    std::string what = "click x=" + std::to_string(x) + " y=" + std::to_string(y);
    if (p.splash) {
        Record(p, what + " on splash");
        return;
    }
    const char* action = ClickAction(p, x, y);
    what += std::string(" target=") + (action ? action : "none");
    if (p.clicksToIgnore > 0) {
        --p.clicksToIgnore;
        Record(p, what + " ignored");
        return;
    }
    if (p.settings.reactionDelayMs > 0) {
        p.delayed.push_back({x, y, nowMs + p.settings.reactionDelayMs});
        Record(p, what + " delayed");
        return;
    }
    Record(p, what);
    ApplyClick(p, x, y);
    SyncTitle(p);
}

void SimKey(SimPlayer& p, int vk, std::int64_t nowMs) {
    AdvanceSim(p, nowMs);
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%02X", vk & 0xFF);
    Record(p, std::string("key vk=") + hex);
    const bool modifier = (vk >= 0x10 && vk <= 0x12) || (vk >= 0xA0 && vk <= 0xA5);
    if (modifier) return;
    if (vk == kVkApps && p.starStage == 1) {
        p.starStage = 2;
        return;
    }
    if (vk == 'T' && p.starStage == 2 && Current(p)) {
        ++p.stars;
        Record(p, "star entry=" + std::to_string(p.entry));
    }
    p.starStage = 0;
}

void SimRecord(SimPlayer& p, std::int64_t nowMs, const std::string& what) {
    AdvanceSim(p, nowMs);
    Record(p, what);
}

namespace {

// The entry the player bar shows: it follows the title late with repaint-delay.
const SimEntry* Painted(const SimPlayer& p) {
    if (p.settings.repaintDelayMs == 0) return Current(p);
    if (p.finished || p.paintedEntry < 0 || p.paintedEntry >= static_cast<int>(p.entries.size())) return nullptr;
    return &p.entries[p.paintedEntry];
}

}  // namespace

Colour SimProbeAColour(const SimPlayer& p) {
    const SimEntry* e = Painted(p);
    if (e && (e->advert || e->greyMusic)) return spotify::kProbeAGrey;
    return 0xB3B3B3;
}

Colour SimProbeBColour(const SimPlayer& p) {
    const SimEntry* e = Painted(p);
    if (e && !e->advert && e->greyMusic) return spotify::kProbeBGreen;
    return Rgb(30, 215, 96);
}

std::string SimSummary(const SimPlayer& p, bool final) {
    std::string s = "adverts " + std::to_string(p.adverts.size()) + "\n";
    for (size_t i = 0; i < p.adverts.size(); ++i)
        s += "advert index=" + std::to_string(i) + " entry=" + std::to_string(p.adverts[i].entry) +
             " audible_ms=" + std::to_string(p.adverts[i].audibleMs) + "\n";
    for (size_t i = 0; i < p.tracks.size(); ++i) {
        const SimTrackRecord& t = p.tracks[i];
        const bool current = i + 1 == p.tracks.size() && Current(p) && p.entry == t.entry;
        const int knob = current ? p.knobLeft : t.knob;
        s += "track entry=" + std::to_string(t.entry) + " volume=" + std::to_string(KnobVolumePercent(knob)) +
             " after_advert=" + (t.afterAdvert ? "1" : "0") +
             " user_volume=" + std::to_string(KnobVolumePercent(t.userKnob)) + " knob=" + std::to_string(knob) +
             " user_knob=" + std::to_string(t.userKnob) +
             " restored=" + (!t.afterAdvert || knob == t.userKnob ? "1" : "0") +
             " off_volume_ms=" + std::to_string(t.offVolumeMs) + "\n";
    }
    s += "stars " + std::to_string(p.stars) + "\n";
    s += "volume " + std::to_string(SimVolume(p)) + "\n";
    s += std::string("final ") + (final ? "1" : "0") + "\n";
    return s;
}
