// The seam to the main and About windows' controls that several parts write.
// Before the windows exist every write does nothing and reads give defaults.
#pragma once
#include <string>

class MainControls {
public:
    virtual ~MainControls() = default;
    virtual void SetStatusLabel(const std::string& text) = 0;
    virtual void SetCounterLabel(const std::string& text) = 0;
    virtual void SetPlayCaption(const std::string& text) = 0;
    virtual int VolumeSliderPosition() = 0;        // 0-100
    virtual void SetVolumeSliderPosition(int position) = 0;
    virtual void SetHotkeysBox(bool checked) = 0;
    // Tells the listener something they must act on (a tray balloon).
    virtual void ShowNotice(const std::string& text) = 0;
};
