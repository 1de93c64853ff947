// What the probe target draws: the player-bar pixels the classifier reads.
#pragma once
#include <windows.h>

#include "client/spotify_contract.h"

struct ProbeScene {
    Colour probeA = spotify::kProbeAGrey;
    Colour probeB = 0x101010;
    int knobX = 150;
};

inline void PaintProbeScene(HDC dc, int width, int height, const ProbeScene& scene) {
    RECT all = {0, 0, width, height};
    HBRUSH dark = CreateSolidBrush(RGB(24, 24, 24));
    FillRect(dc, &all, dark);
    DeleteObject(dark);
    SetPixelV(dc, spotify::kProbeAX, height - spotify::kProbeAUp, scene.probeA);
    SetPixelV(dc, spotify::kProbeBX, height - spotify::kProbeBUp, scene.probeB);
    for (int i = 0; i < spotify::kKnobWidth; ++i)
        SetPixelV(dc, scene.knobX + i, height - spotify::kKnobRowUp, spotify::kKnobColour);
}
