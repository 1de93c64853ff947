// Hotkeys registered for real, pressed from another process, and the Set
// Hotkeys window driven by messages.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>

#include "app/hotkey_window_win32.h"
#include "settings/hotkeys.h"
#include "settings/options.h"
#include "app/win32_platform.h"
#include "sim_rig.h"

namespace {

constexpr DWORD kDeadline = 10000;

HotkeyWindowControls* dialogControls = nullptr;
ApplicationState* dialogApp = nullptr;
Platform* dialogPlatform = nullptr;
int lastHotkey = -1;

// Stands in for the program's window procedure where these tests need one.
LRESULT CALLBACK TestProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_HOTKEY) {
        lastHotkey = static_cast<int>(wParam);
        return 0;
    }
    if (message == WM_COMMAND && dialogControls) {
        Win32HotkeyDialog dialog(*dialogControls);
        if (LOWORD(wParam) == kHotkeyFunctionListId && HIWORD(wParam) == CBN_SELCHANGE)
            OnHotkeyFunctionChosen(*dialogApp, dialog);
        else if (LOWORD(wParam) == kHotkeySetId)
            OnSetHotkey(*dialogApp, *dialogPlatform, dialog);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeWindow(const char* title) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = TestProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "AdquellHotkeyTest";
    RegisterClassA(&wc);
    return CreateWindowExA(0, wc.lpszClassName, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 270, 207, nullptr,
                           nullptr, wc.hInstance, nullptr);
}

bool PumpUntilHotkey(int id, DWORD deadlineMs) {
    const DWORD start = GetTickCount();
    while (lastHotkey != id) {
        if (GetTickCount() - start > deadlineMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    return true;
}

struct Registered : ::testing::Test {
    Win32Platform win;
    ApplicationState app;
    HWND window = nullptr;
    void SetUp() override {
        window = MakeWindow("Adquell Lite");
        win.registrar.window = window;
        lastHotkey = -1;
    }
    void TearDown() override {
        for (int id = 0; id <= 9; ++id) UnregisterHotKey(window, id);
        DestroyWindow(window);
    }
};

TEST_F(Registered, AnotherProcessPressingTheKeysFiresTheHotkey) {
    RegisterBinding(app, win.platform, 1, 1, 3);  // Alt+Right for Next
    ChildProcess presser("hotkey_helper.exe", "inject 0x12 0x27");
    ASSERT_TRUE(presser.Started());
    EXPECT_TRUE(PumpUntilHotkey(1, kDeadline));
    presser.Wait(kDeadline);
}

TEST_F(Registered, AnotherProcessCannotTakeACombinationTheProgramHolds) {
    RegisterBinding(app, win.platform, 8, 6, 52);  // Ctrl+Shift+F12
    ChildProcess taken("hotkey_helper.exe", "try 6 0x7B");
    EXPECT_EQ(taken.Wait(kDeadline), 1u);
    ChildProcess free("hotkey_helper.exe", "try 6 0x7A");  // Ctrl+Shift+F11 is free
    EXPECT_EQ(free.Wait(kDeadline), 0u);
}

TEST_F(Registered, AHotkeyAnotherProcessHoldsAtStartIsTakenOnceItLetsGo) {
    HANDLE held = CreateEventA(nullptr, TRUE, FALSE, "Adquell hotkey held");
    ChildProcess holder("hotkey_helper.exe", "hold 1 0x70 1500");  // Alt+F1 for a second and a half
    ASSERT_EQ(WaitForSingleObject(held, kDeadline), WAIT_OBJECT_0);
    CloseHandle(held);
    app.hotkeysEnabled = false;
    RegisterStartUpHotkeys(app, win.platform);
    EXPECT_FALSE(app.wantedHotkeys.at(0).held);
    // The program's half-second timer, pumped here.
    const DWORD start = GetTickCount();
    while (!app.wantedHotkeys.at(0).held && GetTickCount() - start < kDeadline) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 500, QS_ALLINPUT);
        RetryHotkeys(app, win.platform);
    }
    EXPECT_EQ(holder.Wait(kDeadline), 0u);
    ChildProcess taken("hotkey_helper.exe", "try 1 0x70");  // now the program's
    EXPECT_EQ(taken.Wait(kDeadline), 1u);
    ChildProcess presser("hotkey_helper.exe", "inject 0x12 0x70");
    EXPECT_TRUE(PumpUntilHotkey(kHotkeysOnOff, kDeadline));
    presser.Wait(kDeadline);
}

// Held past the quick tries: named in the tray, one balloon, and taken at the
// slow pace once the other process lets go; the tray is good again.
TEST_F(Registered, AHotkeyHeldPastTheQuickTriesIsNamedInTheTrayUntilItIsTaken) {
    HANDLE held = CreateEventA(nullptr, TRUE, FALSE, "Adquell hotkey held");
    ChildProcess holder("hotkey_helper.exe", "hold 1 0x70 7000");  // Alt+F1 for seven seconds
    ASSERT_EQ(WaitForSingleObject(held, kDeadline), WAIT_OBJECT_0);
    CloseHandle(held);
    app.hotkeysEnabled = false;
    RegisterStartUpHotkeys(app, win.platform);
    const Win32MainControls& shown = win.controls;
    const DWORD start = GetTickCount();
    while (!shown.trayGreyed && GetTickCount() - start < kDeadline) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 500, QS_ALLINPUT);
        RetryHotkeys(app, win.platform);
    }
    EXPECT_EQ(shown.trayTip, "Adquell 0.4: Hotkey Alt+F1 (Hotkeys On\\Off) is held by another program.");
    EXPECT_EQ(shown.noticesShown, 1);
    while (!app.wantedHotkeys.at(0).held && GetTickCount() - start < 2 * kDeadline) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 500, QS_ALLINPUT);
        RetryHotkeys(app, win.platform);
    }
    EXPECT_TRUE(app.wantedHotkeys.at(0).held);
    EXPECT_FALSE(shown.trayGreyed);
    EXPECT_EQ(shown.noticesShown, 1);
    EXPECT_EQ(holder.Wait(kDeadline), 0u);
}

struct DialogWindow : Registered {
    HotkeyWindowControls controls;
    std::string options;
    void SetUp() override {
        Registered::SetUp();
        controls = CreateHotkeyWindowControls(window, GetModuleHandleA(nullptr), nullptr);
        dialogControls = &controls;
        dialogApp = &app;
        dialogPlatform = &win.platform;
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        options = std::string(temp) + "adquell-hotkeys-Options.ini";
        DeleteFileA(options.c_str());
        app.optionsPath = options;
    }
    void TearDown() override {
        dialogControls = nullptr;
        DeleteFileA(options.c_str());
        Registered::TearDown();
    }
    void Choose(HWND list, int id, int position) {
        SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    }
    std::string SelectedText(HWND list) {
        char text[64] = {};
        const LRESULT at = SendMessageA(list, CB_GETCURSEL, 0, 0);
        SendMessageA(list, CB_GETLBTEXT, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(text));
        return text;
    }
    bool Box(int i) { return SendMessageA(controls.boxes[i], BM_GETCHECK, 0, 0) == BST_CHECKED; }
};

TEST_F(DialogWindow, ListsHoldTheFunctionsAndKeysInOrder) {
    EXPECT_EQ(SendMessageA(controls.functionList, CB_GETCOUNT, 0, 0), 9);
    EXPECT_EQ(SendMessageA(controls.keyList, CB_GETCOUNT, 0, 0), 53);
    EXPECT_EQ(SendMessageA(controls.functionList, CB_GETCURSEL, 0, 0), CB_ERR);
    char name[64] = {};
    SendMessageA(controls.functionList, CB_GETLBTEXT, 7, reinterpret_cast<LPARAM>(name));
    EXPECT_STREQ(name, "Volume Down");
    SendMessageA(controls.keyList, CB_GETLBTEXT, 52, reinterpret_cast<LPARAM>(name));
    EXPECT_STREQ(name, "F12");
}

TEST_F(DialogWindow, AfterAFirstRunNextShowsRightAndAlt) {
    for (int f = 0; f < kHotkeyFunctionCount; ++f)
        app.hotkeys[f] = MakeBinding(f, kFirstRunHotkeys[f].modifiers, kFirstRunHotkeys[f].keyIndex);
    Choose(controls.functionList, kHotkeyFunctionListId, 1);
    EXPECT_EQ(SelectedText(controls.keyList), "Right");
    EXPECT_TRUE(Box(0));
    EXPECT_FALSE(Box(1) || Box(2) || Box(3));
}

TEST_F(DialogWindow, SetRegistersCtrlShiftF12ForVolumeUpAndStoresIt) {
    std::ofstream(options, std::ios::binary) << " [Options]\r\n Mute=True\r\n [Hotkeys]\r\n 0=1|41\r\n";
    Choose(controls.functionList, kHotkeyFunctionListId, 8);
    SendMessageA(controls.keyList, CB_SETCURSEL, 52, 0);
    SendMessageA(controls.boxes[1], BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(controls.boxes[2], BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(kHotkeySetId, BN_CLICKED), 0);
    EXPECT_EQ(ReadTextFile(options), " [Options]\r\n Mute=True\r\n [Hotkeys]\r\n 8=6|52\r\n 0=1|41\r\n");
    ChildProcess taken("hotkey_helper.exe", "try 6 0x7B");  // registered at once
    EXPECT_EQ(taken.Wait(kDeadline), 1u);
}

}  // namespace
