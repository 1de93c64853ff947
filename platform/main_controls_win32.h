// The controls as real windows; a null handle makes its writes do nothing.
#pragma once
#include <windows.h>

#include "platform/main_controls.h"

class Win32MainControls : public MainControls {
public:
    HWND statusLabel = nullptr;
    HWND counterLabel = nullptr;
    HWND playButton = nullptr;
    HWND volumeSlider = nullptr;
    HWND hotkeysBox = nullptr;
    HWND playBox = nullptr;
    HWND trayWindow = nullptr;  // the window the tray icon belongs to
    UINT trayIconId = 0;
    int noticesShown = 0;       // tests ask the main window for it
    bool trayIconShown = false;  // added and not removed (a hand-over removes it)
    std::string pendingNotice;   // said while there was no tray icon
    // What the tray icon was last told to show: its tip and whether it is
    // greyed (nothing told yet: the good state).
    std::string trayTip;
    bool trayGreyed = false;
    std::string statusText = kIdleStatusText;  // the label's own text, under any work status
    std::string workStatus;

    void SetStatusLabel(const std::string& text) override;
    void SetCounterLabel(const std::string& text) override;
    void SetPlayCaption(const std::string& text) override;
    int VolumeSliderPosition() override;
    void SetVolumeSliderPosition(int position) override;
    void SetHotkeysBox(bool checked) override;
    void SetPlayBox(bool checked) override;
    bool PlayBoxChecked() override;
    void SetWorkStatus(const std::string& text) override;
    // What the label shows: the work under way, else its own text.
    const std::string& ShownStatus() const { return workStatus.empty() ? statusText : workStatus; }
    void ShowNotice(const std::string& text) override;
    void ShowHealth(const std::string& tip, bool troubled) override;
    // A notice said while there was no tray icon, once it is there again.
    void ShowPendingNotice();
};

// The tray icon at the tray's size: the program's own, or greyed.
HICON TrayIcon(bool greyed);
