// What keeps the program from doing its job, told the listener where a tray
// utility tells it: the tray icon's tip names it, the icon is drawn greyed,
// and one balloon says what to do. Each part reports when a cause starts to
// hold and when it ends; none of them knows how it is shown.
#pragma once
#include <string>

#include "base/application_state.h"
#include "base/platform.h"

// In the order in which they are shown: the first that holds names the state.
enum class Trouble {
    KnobUnseen,         // adverts are not silenced
    WindowUnreadable,   // Spotify's window cannot be read
    RestoreUnverified,  // a volume the listener must set by hand
    HotkeyHeld,         // another program holds a hotkey
    UpdateRefused,      // the last update was refused
    SpotifyMissing,     // neither running nor found where it is started from
};
static_assert(static_cast<std::size_t>(Trouble::SpotifyMissing) + 1 == kTroubleCount, "one text a cause");

// The cause holds, with what is wrong (its first sentence) and what to do. A
// balloon says it when the cause starts to hold (not again while it holds,
// whatever else holds or ends meanwhile), unless the user was just told in
// another way (saidAlready). The same text again changes nothing.
void ReportTrouble(ApplicationState& app, Platform& os, Trouble cause, const std::string& text,
                   bool saidAlready = false);

// The cause no longer holds; once none does, the tip and icon are good again
// at once, without a balloon.
void ClearTrouble(ApplicationState& app, Platform& os, Trouble cause);

// Whether the cause holds now.
bool TroubleHolds(const ApplicationState& app, Trouble cause);

// The tray tip for the state: "Adquell" and the version, then the first
// sentence (what is wrong) of the first cause that holds; at most
// kTrayTipMax bytes, never half a character.
std::string HealthTip(const ApplicationState& app);
inline constexpr std::size_t kTrayTipMax = 127;
