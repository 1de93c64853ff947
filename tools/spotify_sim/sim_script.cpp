#include "sim_script.h"

#include <cstdlib>
#include <sstream>

namespace {

std::string Trim(const std::string& s) {
    const char* blanks = " \t\r";
    const auto first = s.find_first_not_of(blanks);
    if (first == std::string::npos) return std::string();
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

std::vector<std::string> Split(const std::string& s, char sep) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(s);
    while (std::getline(in, part, sep)) parts.push_back(Trim(part));
    if (!s.empty() && s.back() == sep) parts.push_back(std::string());
    return parts;
}

bool ParseInt(const std::string& s, std::int64_t& out) {
    if (s.empty()) return false;
    char* end = nullptr;
    const long long v = std::strtoll(s.c_str(), &end, 10);
    if (*end != '\0') return false;
    out = v;
    return true;
}

bool ParseSize(const std::string& s, int& w, int& h) {
    const auto x = s.find('x');
    std::int64_t a = 0, b = 0;
    if (x == std::string::npos || !ParseInt(s.substr(0, x), a) || !ParseInt(s.substr(x + 1), b)) return false;
    w = static_cast<int>(a);
    h = static_cast<int>(b);
    return w > 0 && h > 0;
}

bool ParseOnOff(const std::string& s, bool& out) {
    if (s == "on") out = true;
    else if (s == "off") out = false;
    else return false;
    return true;
}

// "name value" settings.
bool ParseSetting(const std::string& name, const std::string& value, SimSettings& s) {
    std::int64_t n = 0;
    if (name == "timescale") {
        char* end = nullptr;
        s.timeScale = std::strtod(value.c_str(), &end);
        return *end == '\0' && s.timeScale > 0;
    }
    if (name == "mute-pauses") return ParseOnOff(value, s.mutePauses);
    if (name == "knob-off-by-one") return ParseOnOff(value, s.knobOffByOne);
    if (name == "autoplay") return ParseOnOff(value, s.autoplay);
    if (name == "exit-at-end") return ParseOnOff(value, s.exitAtEnd);
    if (name == "start") {
        if (value == "logged-out") s.startLoggedOut = true;
        else if (value == "logged-in") s.startLoggedOut = false;
        else return false;
        return true;
    }
    if (name == "knob-hidden") return ParseOnOff(value, s.knobHidden);
    if (name == "knob-colour") {
        char* end = nullptr;
        const unsigned long rgb = std::strtoul(value.c_str(), &end, 16);
        if (value.size() != 6 || *end != '\0') return false;
        s.knobColour = static_cast<Colour>(rgb);
        return true;
    }
    if (name == "size") return ParseSize(value, s.width, s.height);
    if (name == "position") {
        const auto comma = value.find(',');
        std::int64_t x = 0, y = 0;
        if (comma == std::string::npos || !ParseInt(value.substr(0, comma), x) ||
            !ParseInt(value.substr(comma + 1), y))
            return false;
        s.left = static_cast<int>(x);
        s.top = static_cast<int>(y);
        return true;
    }
    if (!ParseInt(value, n) || n < 0) return false;
    if (name == "ignore-clicks") s.ignoreClicks = static_cast<int>(n);
    else if (name == "reaction-delay") s.reactionDelayMs = static_cast<int>(n);
    else if (name == "login-after") s.loginAfterMs = n;
    else if (name == "repaint-delay") s.repaintDelayMs = static_cast<int>(n);
    else if (name == "splash") s.splashMs = n;
    else if (name == "volume" && n <= 100) s.startVolume = static_cast<int>(n);
    else return false;
    return true;
}

// "name=MS" events: how long into the entry they happen.
bool ParseTimedEvent(const std::string& word, const char* name, SimEvent::Kind kind, SimEntry& entry) {
    const std::string prefix = std::string(name) + "=";
    std::int64_t ms = 0;
    if (!ParseInt(word.substr(prefix.size()), ms) || ms < 0) return false;
    entry.events.push_back({kind, 0, 0, ms});
    return true;
}

// listener-volume=PCT@MS: the listener drags the knob to PCT, MS into the entry.
bool ParseListenerVolume(const std::string& word, SimEntry& entry) {
    const std::string value = word.substr(word.find('=') + 1);
    const auto at = value.find('@');
    std::int64_t percent = 0, ms = 0;
    if (at == std::string::npos || !ParseInt(value.substr(0, at), percent) || percent < 0 || percent > 100 ||
        !ParseInt(value.substr(at + 1), ms) || ms < 0)
        return false;
    SimEvent e{SimEvent::ListenerVolume, 0, 0, ms};
    e.percent = static_cast<int>(percent);
    entry.events.push_back(e);
    return true;
}

// Events: banner-right, banner-bottom, fullscreen=HEIGHT, reopen=WxH@MS,
// volume-back=MS, restart=MS, listener-volume=PCT@MS, knob-shown=MS, grey.
bool ParseEventWord(const std::string& word, SimEntry& entry) {
    if (word.rfind("volume-back=", 0) == 0) return ParseTimedEvent(word, "volume-back", SimEvent::VolumeBack, entry);
    if (word.rfind("restart=", 0) == 0) return ParseTimedEvent(word, "restart", SimEvent::Restart, entry);
    if (word.rfind("knob-shown=", 0) == 0) return ParseTimedEvent(word, "knob-shown", SimEvent::KnobShown, entry);
    if (word.rfind("listener-volume=", 0) == 0) return ParseListenerVolume(word, entry);
    if (word == "banner-right") entry.events.push_back({SimEvent::BannerRight, 160, 300, 0});
    else if (word == "banner-bottom") entry.events.push_back({SimEvent::BannerBottom, 500, 90, 0});
    else if (word == "grey") entry.greyMusic = true;
    else if (word.rfind("fullscreen=", 0) == 0) {
        std::int64_t h = 0;
        if (!ParseInt(word.substr(11), h) || h <= 0) return false;
        entry.events.push_back({SimEvent::FullScreen, 800, static_cast<int>(h), 0});
    } else if (word.rfind("reopen=", 0) == 0) {
        const std::string size = word.substr(7);
        const auto at = size.find('@');
        SimEvent e{SimEvent::Reopen, 0, 0, 0};
        if (at == std::string::npos || !ParseSize(size.substr(0, at), e.width, e.height) ||
            !ParseInt(size.substr(at + 1), e.delayMs) || e.delayMs < 0)
            return false;
        entry.events.push_back(e);
    } else {
        return false;
    }
    return true;
}

std::string ParseEntry(const std::vector<std::string>& fields, SimEntry& entry) {
    if (fields.size() < 4) return "an entry needs kind | artist | title | milliseconds";
    if (fields[0] == "advert") entry.advert = true;
    else if (fields[0] != "track") return "unknown kind \"" + fields[0] + "\"";
    entry.artist = fields[1];
    entry.title = fields[2];
    if (!ParseInt(fields[3], entry.durationMs) || entry.durationMs <= 0) return "bad duration \"" + fields[3] + "\"";
    for (size_t i = 4; i < fields.size(); ++i) {
        std::istringstream words(fields[i]);
        for (std::string word; words >> word;)
            if (!ParseEventWord(word, entry)) return "unknown event \"" + word + "\"";
    }
    return std::string();
}

}  // namespace

SimScript ParseSimScript(const std::string& text) {
    SimScript script;
    std::istringstream in(text);
    int number = 0;
    for (std::string raw; std::getline(in, raw);) {
        ++number;
        const std::string line = Trim(raw);
        if (line.empty() || line[0] == '#') continue;
        std::string error;
        if (line.rfind("set ", 0) == 0) {
            std::istringstream words(line.substr(4));
            std::string name, value, extra;
            words >> name >> value;
            if (value.empty() || (words >> extra) || !ParseSetting(name, value, script.settings))
                error = "bad setting \"" + line + "\"";
        } else {
            SimEntry entry;
            error = ParseEntry(Split(line, '|'), entry);
            if (error.empty()) script.entries.push_back(entry);
        }
        if (!error.empty()) script.errors.push_back("line " + std::to_string(number) + ": " + error);
    }
    return script;
}

const char* DefaultSimScript() {
    return "# The demo playlist: tracks, audio adverts, a banner and a full-screen advert.\n"
           "set timescale 1\n"
           "set volume 70\n"
           "track  | Daft Punk    | Harder Better Faster | 8000\n"
           "advert | Spotify      | Advertisement        | 5000\n"
           "track  | Massive Attack | Teardrop           | 8000 | banner-right\n"
           "advert | Coffee Co    | Wake Up Sale         | 4000\n"
           "advert | Spotify      | Go Premium           | 4000\n"
           "track  | Nina Simone  | Feeling Good         | 8000 | grey fullscreen=435\n"
           "advert | Car Maker    | Drive Today          | 5000 | banner-bottom\n"
           "track  | Radiohead    | Reckoner             | 8000\n";
}
