// A tiny window of another process that paints known player-bar pixels.
// Arguments: knobX probeA probeB (colours as hexadecimal COLORREF).
// Its title turns "Probe Target ready" once it has painted.
#include <windows.h>

#include <cstdlib>

#include "probe_painting.h"

namespace {

ProbeScene scene;

void Paint(HWND window, HDC dc) {
    RECT r;
    GetWindowRect(window, &r);
    PaintProbeScene(dc, r.right - r.left, r.bottom - r.top, scene);
}

LRESULT CALLBACK TargetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        Paint(window, dc);
        EndPaint(window, &ps);
        SetWindowTextA(window, "Probe Target ready");
        return 0;
    }
    case WM_PRINT:
    case WM_PRINTCLIENT:
        Paint(window, reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (__argc >= 4) {
        scene.knobX = std::atoi(__argv[1]);
        scene.probeA = std::strtoul(__argv[2], nullptr, 16);
        scene.probeB = std::strtoul(__argv[3], nullptr, 16);
    }
    WNDCLASSA wc = {};
    wc.lpfnWndProc = TargetProc;
    wc.hInstance = instance;
    wc.lpszClassName = "AdquellProbeTarget";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "Probe Target", WS_POPUP | WS_VISIBLE, 40, 40,
                                  400, 300, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
