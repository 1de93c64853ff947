// Remembers which hotkeys are registered, and every call in order.
#pragma once
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/hotkey_registrar.h"

class RecordingRegistrar : public HotkeyRegistrar {
public:
    std::map<int, std::pair<int, int>> registered;  // id -> modifiers, virtual key
    std::vector<std::string> calls;
    std::set<std::pair<int, int>> heldElsewhere;  // modifiers, virtual key another program holds
    bool Register(int id, int modifiers, int virtualKey) override {
        calls.push_back("register " + std::to_string(id) + " " + std::to_string(modifiers) + " " +
                        std::to_string(virtualKey));
        if (heldElsewhere.count({modifiers, virtualKey})) return false;
        // As Windows: a combination registered already, by any id, is refused.
        for (const auto& r : registered)
            if (r.second == std::make_pair(modifiers, virtualKey)) return false;
        registered[id] = {modifiers, virtualKey};
        return true;
    }
    void Unregister(int id) override {
        registered.erase(id);
        calls.push_back("unregister " + std::to_string(id));
    }
};
