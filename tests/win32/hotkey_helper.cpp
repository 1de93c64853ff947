// Another process for the hotkey tests.
//   hotkey_helper inject VK...        presses the keys in order, releases them in reverse
//   hotkey_helper try MODIFIERS VK    exit 0 when it could register the combination, 1 when not
//   hotkey_helper hold MODIFIERS VK MS   holds the combination for MS ms, signalling the event
//                                        "Adquell hotkey held" once it does; exit 1 when it could not
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <vector>

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "inject") == 0) {
        std::vector<BYTE> keys;
        for (int i = 2; i < argc; ++i) keys.push_back(static_cast<BYTE>(std::strtoul(argv[i], nullptr, 0)));
        for (BYTE vk : keys) {
            keybd_event(vk, static_cast<BYTE>(MapVirtualKeyA(vk, 0)), 0, 0);
            Sleep(30);
        }
        for (auto it = keys.rbegin(); it != keys.rend(); ++it) {
            keybd_event(*it, static_cast<BYTE>(MapVirtualKeyA(*it, 0)), KEYEVENTF_KEYUP, 0);
            Sleep(30);
        }
        return 0;
    }
    if (argc >= 4 && std::strcmp(argv[1], "try") == 0) {
        const BOOL ok = RegisterHotKey(nullptr, 1, static_cast<UINT>(std::atoi(argv[2])),
                                       static_cast<UINT>(std::strtoul(argv[3], nullptr, 0)));
        if (ok) UnregisterHotKey(nullptr, 1);
        return ok ? 0 : 1;
    }
    if (argc >= 5 && std::strcmp(argv[1], "hold") == 0) {
        if (!RegisterHotKey(nullptr, 1, static_cast<UINT>(std::atoi(argv[2])),
                            static_cast<UINT>(std::strtoul(argv[3], nullptr, 0))))
            return 1;
        HANDLE held = CreateEventA(nullptr, TRUE, FALSE, "Adquell hotkey held");
        SetEvent(held);
        Sleep(static_cast<DWORD>(std::atoi(argv[4])));
        UnregisterHotKey(nullptr, 1);
        CloseHandle(held);
        return 0;
    }
    return 2;
}
