// A simulated media framework: per file, whether it renders and starts, its
// duration, and the positions it reports.
#pragma once
#include <deque>
#include <map>
#include <string>

#include "platform/media_graph.h"

struct FakeMedia {
    bool renders = true;
    bool starts = true;
    bool durationReadable = true;
    std::int64_t duration = 20000000;
    std::deque<std::int64_t> positions;  // reported in turn; the last one stays
    bool completes = false;              // the graph reports the end of the file
};

inline FakeMedia Playable(std::int64_t duration = 20000000) {
    FakeMedia m;
    m.duration = duration;
    return m;
}

inline FakeMedia Unplayable() {
    FakeMedia m;
    m.renders = false;
    return m;
}

inline FakeMedia NeverStarts() {
    FakeMedia m;
    m.starts = false;
    return m;
}

class FakeMediaGraph : public MediaGraph {
public:
    std::map<std::wstring, FakeMedia> files;
    bool createFails = false;
    std::wstring current;
    bool created = false;
    bool running = false;
    int volume = 0;
    int releases = 0;
    int stops = 0;
    int pauses = 0;
    int runs = 0;
    std::map<std::wstring, int> loads;

    bool Create() override {
        if (createFails) return false;
        created = true;
        volume = 0;
        return true;
    }
    bool Render(const std::wstring& path) override {
        ++loads[path];
        current = path;
        auto it = files.find(path);
        return it != files.end() && it->second.renders;
    }
    bool Run() override {
        ++runs;
        running = files[current].starts;
        return running;
    }
    void Pause() override {
        ++pauses;
        running = false;
    }
    void Stop() override {
        ++stops;
        running = false;
    }
    bool PutVolume(std::int32_t v) override {
        volume = v;
        return true;
    }
    bool ReadDuration(std::int64_t& d) override {
        const FakeMedia& m = files[current];
        if (!m.durationReadable) return false;
        d = m.duration;
        return true;
    }
    bool ReadPosition(std::int64_t& p) override {
        FakeMedia& m = files[current];
        if (m.positions.empty()) return false;
        p = m.positions.front();
        if (m.positions.size() > 1) m.positions.pop_front();
        return true;
    }
    bool Completed() override { return created && files[current].completes; }
    void Release() override {
        ++releases;
        if (created) Stop();
        created = false;
        running = false;
    }
};
