// A keyboard that records every key event and pause in one stream, with a US
// ("00000409") or German ("00000407") layout, toggle states and keys the user
// is holding down.
#pragma once
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/keyboard.h"

class RecordingKeyboard : public Keyboard, public Clock {
public:
    std::string layout = "00000409";
    std::vector<std::string> stream;  // "D65/66" down, "U65/66x" up extended, "S5" pause
    std::set<int> down;               // keys down as this thread sees them
    std::set<int> held;               // keys the user is physically holding
    std::map<int, bool> toggled;      // CapsLock, NumLock, ScrollLock
    std::uint64_t now = 0;

    static std::uint8_t Scan(int vk) { return static_cast<std::uint8_t>(vk + 1); }

    void KeyEvent(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags) override {
        const bool up = flags & keyflag::kKeyUp;
        stream.push_back(std::string(up ? "U" : "D") + std::to_string(vk) + "/" + std::to_string(scan) +
                         ((flags & keyflag::kExtended) ? "x" : ""));
        if (up) {
            down.erase(vk);
            held.erase(vk);
        } else {
            if ((vk == 20 || vk == 144 || vk == 145) && !down.count(vk)) toggled[vk] = !toggled[vk];
            down.insert(vk);
        }
    }
    std::uint8_t ScanCode(std::uint8_t vk) override { return Scan(vk); }
    std::int16_t KeyState(int vk) override {
        return static_cast<std::int16_t>((down.count(vk) || held.count(vk) ? 0x8000 : 0) | (toggled[vk] ? 1 : 0));
    }
    std::int16_t AsyncKeyState(int vk) override { return static_cast<std::int16_t>(held.count(vk) ? 0x8000 : 0); }
    std::string LayoutName() override { return layout; }
    std::int16_t KeyForChar(char c) override {
        const unsigned char ch = static_cast<unsigned char>(c);
        if (ch >= 'a' && ch <= 'z') return static_cast<std::int16_t>(ch - 'a' + 'A');
        if (ch >= 'A' && ch <= 'Z') return static_cast<std::int16_t>(0x100 | ch);
        if (ch >= '0' && ch <= '9') return ch;
        if (ch == ' ') return 0x20;
        const std::map<unsigned char, int>& keys = layout == "00000407" ? German() : Us();
        auto it = keys.find(ch);
        return static_cast<std::int16_t>(it == keys.end() ? -1 : it->second);
    }

    void Sleep(int ms) override {
        stream.push_back("S" + std::to_string(ms));
        now += static_cast<std::uint64_t>(ms);
    }
    std::uint64_t NowMs() override { return now; }

private:
    static const std::map<unsigned char, int>& Us() {
        static const std::map<unsigned char, int> keys = {
            {'!', 0x131}, {'#', 0x133}, {'^', 0x136}, {'{', 0x1DB}, {'}', 0x1DD}, {'[', 0xDB}, {']', 0xDD},
            {'+', 0x1BB}, {'=', 0xBB}, {'~', 0x1C0}, {'`', 0xC0},  {'-', 0xBD},  {'.', 0xBE}};
        return keys;
    }
    static const std::map<unsigned char, int>& German() {
        static const std::map<unsigned char, int> keys = {
            {'!', 0x131}, {'#', 0xBF},  {'^', 0xDC},  {'{', 0x637}, {'}', 0x630}, {'+', 0xBB}, {'~', 0x6BB},
            {'`', 0x1DD}, {0xB4, 0xDD}, {0xA7, 0x133}, {'-', 0xBD}, {'.', 0xBE}};
        return keys;
    }
};
