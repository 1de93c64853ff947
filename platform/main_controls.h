// The seam to the main and About windows' controls that several parts write.
// Before the windows exist every write does nothing and reads give defaults.
#pragma once
#include <string>

// The status label while nothing plays.
inline constexpr char kIdleStatusText[] = "^__^";

class MainControls {
public:
    virtual ~MainControls() = default;
    virtual void SetStatusLabel(const std::string& text) = 0;
    virtual void SetCounterLabel(const std::string& text) = 0;
    virtual void SetPlayCaption(const std::string& text) = 0;
    virtual int VolumeSliderPosition() = 0;        // 0-100
    virtual void SetVolumeSliderPosition(int position) = 0;
    virtual void SetHotkeysBox(bool checked) = 0;
    virtual void SetPlayBox(bool checked) = 0;
    virtual bool PlayBoxChecked() = 0;
    // What runs off the window's thread meanwhile: while text is not empty
    // the status label shows it, and what the label is given meanwhile shows
    // once the text is cleared.
    virtual void SetWorkStatus(const std::string& text) = 0;
    // Tells the listener something they must act on (a tray balloon).
    virtual void ShowNotice(const std::string& text) = 0;
    // The tray icon's tip, and whether the icon is drawn greyed (something
    // keeps the program from its job).
    virtual void ShowHealth(const std::string& tip, bool troubled) = 0;
};
