#include "base/health.h"

#include "base/text_helpers.h"

namespace {

std::size_t Index(Trouble cause) {
    return static_cast<std::size_t>(cause);
}

bool AnyTrouble(const ApplicationState& app) {
    for (const std::string& text : app.troubles)
        if (!text.empty()) return true;
    return false;
}

// A cause's first sentence, what is wrong; what to do follows in the balloon.
std::string FirstSentence(const std::string& text) {
    for (std::size_t at = text.find('.'); at != std::string::npos; at = text.find('.', at + 1))
        if (at + 1 < text.size() && (text[at + 1] == ' ' || text[at + 1] == '\n')) return text.substr(0, at + 1);
    return text;
}

void ShowHealth(ApplicationState& app, Platform& os) {
    os.controls.ShowHealth(HealthTip(app), AnyTrouble(app));
}

}  // namespace

bool TroubleHolds(const ApplicationState& app, Trouble cause) {
    return !app.troubles[Index(cause)].empty();
}

std::string HealthTip(const ApplicationState& app) {
    std::string tip = std::string("Adquell ") + ProgramVersion;
    for (const std::string& text : app.troubles)
        if (!text.empty()) return CutText(tip + ": " + FirstSentence(text), kTrayTipMax);
    return tip;
}

void ReportTrouble(ApplicationState& app, Platform& os, Trouble cause, const std::string& text, bool saidAlready) {
    std::string& held = app.troubles[Index(cause)];
    if (held == text) return;
    const bool starts = held.empty();
    held = text;
    if (starts && !saidAlready) os.controls.ShowNotice(text);
    ShowHealth(app, os);
}

void ClearTrouble(ApplicationState& app, Platform& os, Trouble cause) {
    std::string& held = app.troubles[Index(cause)];
    if (held.empty()) return;
    held.clear();
    ShowHealth(app, os);
}
