#include "platform/media_graph_win32.h"

namespace {

template <typename T>
void ReleaseOne(T*& p) {
    if (p) p->Release();
    p = nullptr;
}

}  // namespace

bool DirectShowGraph::Create() {
    if (FAILED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                reinterpret_cast<void**>(&graph_))) ||
        !graph_) {
        graph_ = nullptr;
        return false;
    }
    // A missing part stays null; the operations that need it then do nothing.
    graph_->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&control_));
    graph_->QueryInterface(IID_IMediaEventEx, reinterpret_cast<void**>(&events_));
    graph_->QueryInterface(IID_IBasicAudio, reinterpret_cast<void**>(&audio_));
    graph_->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(&seeking_));
    return true;
}

bool DirectShowGraph::Render(const std::wstring& path) {
    return graph_ && SUCCEEDED(graph_->RenderFile(path.c_str(), nullptr));
}

bool DirectShowGraph::Run() {
    return control_ && SUCCEEDED(control_->Run());
}

void DirectShowGraph::Pause() {
    if (control_) control_->Pause();
}

void DirectShowGraph::Stop() {
    if (control_) control_->Stop();
}

bool DirectShowGraph::PutVolume(std::int32_t volume) {
    return audio_ && SUCCEEDED(audio_->put_Volume(volume));
}

bool DirectShowGraph::ReadDuration(std::int64_t& duration) {
    if (!seeking_) return false;
    seeking_->SetTimeFormat(&TIME_FORMAT_MEDIA_TIME);
    LONGLONG value = 0;
    if (FAILED(seeking_->GetDuration(&value))) return false;
    duration = value;
    return true;
}

bool DirectShowGraph::ReadPosition(std::int64_t& position) {
    LONGLONG value = 0;
    if (!seeking_ || FAILED(seeking_->GetCurrentPosition(&value))) return false;
    position = value;
    return true;
}

bool DirectShowGraph::Completed() {
    long code = 0;
    LONG_PTR first = 0, second = 0;
    while (events_ && !completed_ && SUCCEEDED(events_->GetEvent(&code, &first, &second, 0))) {
        events_->FreeEventParams(code, first, second);
        if (code == EC_COMPLETE) completed_ = true;
    }
    return completed_;
}

void DirectShowGraph::Release() {
    completed_ = false;
    if (control_) control_->Stop();
    ReleaseOne(graph_);
    ReleaseOne(control_);
    ReleaseOne(events_);
    ReleaseOne(audio_);
    ReleaseOne(seeking_);
}
