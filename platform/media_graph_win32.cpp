#include "platform/media_graph_win32.h"

namespace {

// A missing part stays empty; the operations that need it then do nothing.
template <typename Interface>
void Query(IUnknown* from, REFIID id, OwnedCom<Interface>& to) {
    void* part = nullptr;
    if (SUCCEEDED(from->QueryInterface(id, &part)) && part) to.reset(static_cast<Interface*>(part));
}

}  // namespace

bool DirectShowGraph::Create() {
    void* graph = nullptr;
    if (FAILED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, &graph)) ||
        !graph)
        return false;
    graph_.reset(static_cast<IGraphBuilder*>(graph));
    Query(graph_.get(), IID_IMediaControl, control_);
    Query(graph_.get(), IID_IMediaEventEx, events_);
    Query(graph_.get(), IID_IBasicAudio, audio_);
    Query(graph_.get(), IID_IMediaSeeking, seeking_);
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
    graph_.reset();
    control_.reset();
    events_.reset();
    audio_.reset();
    seeking_.reset();
}
