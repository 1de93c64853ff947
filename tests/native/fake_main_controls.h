// Records what the program shows in its controls.
#pragma once
#include <string>
#include <vector>

#include "platform/main_controls.h"

class FakeMainControls : public MainControls {
public:
    std::string status = "^__^";
    std::string counter = "Adquelled: 0";
    std::string playCaption = "Play";
    int slider = 100;
    bool hotkeysBox = false;
    bool playBox = false;
    std::string workStatus;
    std::vector<std::string> statusHistory;
    std::vector<std::string> notices;

    void SetStatusLabel(const std::string& text) override {
        status = text;
        statusHistory.push_back(text);
    }
    void SetCounterLabel(const std::string& text) override { counter = text; }
    void SetPlayCaption(const std::string& text) override { playCaption = text; }
    int VolumeSliderPosition() override { return slider; }
    void SetVolumeSliderPosition(int position) override { slider = position < 0 ? 0 : position > 100 ? 100 : position; }
    void SetHotkeysBox(bool checked) override { hotkeysBox = checked; }
    void SetPlayBox(bool checked) override { playBox = checked; }
    bool PlayBoxChecked() override { return playBox; }
    void SetWorkStatus(const std::string& text) override { workStatus = text; }
    void ShowNotice(const std::string& text) override { notices.push_back(text); }
    std::string trayTip = "Adquell 0.4";
    bool trayGreyed = false;
    void ShowHealth(const std::string& tip, bool troubled) override {
        trayTip = tip;
        trayGreyed = troubled;
    }
};
