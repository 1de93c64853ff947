#include "platform/main_controls_win32.h"

#include <commctrl.h>
#include <shellapi.h>

#include "base/text_helpers.h"
#include "platform/label_font_win32.h"

namespace {

void SetText(HWND control, const std::string& text) {
    if (control) SetWindowTextA(control, text.c_str());
}

// The label shows titles in any script: its font is fitted to each.
void SetLabelText(HWND label, const std::string& text) {
    if (!label) return;
    FitLabelFont(label, text);
    SetWindowTextA(label, text.c_str());
}

}  // namespace

void Win32MainControls::SetStatusLabel(const std::string& text) {
    statusText = text;
    if (workStatus.empty()) SetLabelText(statusLabel, text);
}

void Win32MainControls::SetWorkStatus(const std::string& text) {
    workStatus = text;
    SetLabelText(statusLabel, ShownStatus());
}

void Win32MainControls::SetCounterLabel(const std::string& text) {
    SetText(counterLabel, text);
}

void Win32MainControls::SetPlayCaption(const std::string& text) {
    SetText(playButton, text);
}

int Win32MainControls::VolumeSliderPosition() {
    return volumeSlider ? static_cast<int>(SendMessageA(volumeSlider, TBM_GETPOS, 0, 0)) : 100;
}

void Win32MainControls::SetVolumeSliderPosition(int position) {
    if (volumeSlider) SendMessageA(volumeSlider, TBM_SETPOS, TRUE, position);
}

void Win32MainControls::SetHotkeysBox(bool checked) {
    if (hotkeysBox) SendMessageA(hotkeysBox, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Win32MainControls::SetPlayBox(bool checked) {
    if (playBox) SendMessageA(playBox, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool Win32MainControls::PlayBoxChecked() {
    return playBox && SendMessageA(playBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

namespace {

void ShowBalloon(HWND trayWindow, UINT trayIconId, const std::string& text) {
    NOTIFYICONDATAA record = {};
    record.cbSize = sizeof record;
    record.hWnd = trayWindow;
    record.uID = trayIconId;
    record.uFlags = NIF_INFO;
    record.dwInfoFlags = NIIF_WARNING;
    lstrcpynA(record.szInfoTitle, "Adquell Lite", sizeof record.szInfoTitle);
    // Never half a character at the cut.
    lstrcpynA(record.szInfo, CutText(text, sizeof record.szInfo - 1).c_str(), sizeof record.szInfo);
    Shell_NotifyIconA(NIM_MODIFY, &record);
}

}  // namespace

void Win32MainControls::ShowNotice(const std::string& text) {
    ++noticesShown;
    if (!trayWindow || !trayIconShown) {
        pendingNotice = text;
        return;
    }
    ShowBalloon(trayWindow, trayIconId, text);
}

void Win32MainControls::ShowPendingNotice() {
    if (pendingNotice.empty() || !trayWindow || !trayIconShown) return;
    ShowBalloon(trayWindow, trayIconId, pendingNotice);
    pendingNotice.clear();
}

HICON TrayIcon(bool greyed) {
    // The tray's own size at the system's scale, drawn from the icon's own
    // sizes (16 to 256) rather than stretched.
    return static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(greyed ? 102 : 101), IMAGE_ICON,
                                         GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
}

void Win32MainControls::ShowHealth(const std::string& tip, bool troubled) {
    trayTip = tip;
    trayGreyed = troubled;
    if (!trayWindow) return;
    NOTIFYICONDATAA record = {};
    record.cbSize = sizeof record;
    record.hWnd = trayWindow;
    record.uID = trayIconId;
    record.uFlags = NIF_TIP | NIF_ICON;
    record.hIcon = TrayIcon(troubled);
    lstrcpynA(record.szTip, tip.c_str(), sizeof record.szTip);
    Shell_NotifyIconA(NIM_MODIFY, &record);
}
