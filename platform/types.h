// Plain types shared by the portable code and the Win32 side.
#pragma once
#include <cstdint>

// A window handle as the portable code sees it; the Win32 side casts HWND.
using WindowHandle = void*;

// A colour as COLORREF: 0x00BBGGRR.
using Colour = std::uint32_t;

constexpr Colour Rgb(int r, int g, int b) {
    return static_cast<Colour>(r) | (static_cast<Colour>(g) << 8) | (static_cast<Colour>(b) << 16);
}

// What a pixel read gives when the capture failed or the point lies outside
// the window (GetPixel's CLR_INVALID).
constexpr Colour kNoColour = 0xFFFFFFFF;

// The separator between a folder and a name in paths this build handles.
#ifdef _WIN32
constexpr char kPathSeparator = '\\';
constexpr wchar_t kWidePathSeparator = L'\\';
#else
constexpr char kPathSeparator = '/';
constexpr wchar_t kWidePathSeparator = L'/';
#endif
