// DirectShow playback through COM. COM must be initialised on the calling
// thread (single-threaded apartment) before Create.
#pragma once
#include <dshow.h>

#include "platform/handles_win32.h"
#include "platform/media_graph.h"

class DirectShowGraph : public MediaGraph {
public:
    ~DirectShowGraph() override { Release(); }
    bool Create() override;
    bool Render(const std::wstring& path) override;
    bool Run() override;
    void Pause() override;
    void Stop() override;
    bool PutVolume(std::int32_t volume) override;
    bool ReadDuration(std::int64_t& duration) override;
    bool ReadPosition(std::int64_t& position) override;
    bool Completed() override;
    void Release() override;

private:
    OwnedCom<IGraphBuilder> graph_;
    OwnedCom<IMediaControl> control_;
    OwnedCom<IMediaEventEx> events_;
    bool completed_ = false;  // the completion event has come
    OwnedCom<IBasicAudio> audio_;
    OwnedCom<IMediaSeeking> seeking_;
};
