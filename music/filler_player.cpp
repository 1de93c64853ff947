#include "music/filler_player.h"

#include <cmath>
#include <cstdlib>
#include <map>

#include "base/log.h"
#include "platform/ansi_text.h"

namespace {

// A file that loads but never starts is tried again, but not for ever: once
// every remaining file has failed to start this often, the filler gives up.
constexpr int kStartFailuresPerFile = 3;
// However the random picks fall, never more start failures than this per file.
constexpr int kStartFailuresCapPerFile = 10 * kStartFailuresPerFile;

bool EveryFileFailedToStart(const ApplicationState& app, const std::map<std::wstring, int>& failures) {
    for (const std::wstring& file : app.mp3Files) {
        auto it = failures.find(file);
        if (it == failures.end() || it->second < kStartFailuresPerFile) return false;
    }
    return true;
}

}  // namespace

void FillerPlayer::Release() {
    graph_.Release();
    loaded = false;
}

bool FillerPlayer::Load(const std::wstring& path) {
    Release();
    if (!graph_.Create()) return false;
    if (!graph_.Render(path)) return false;
    loaded = true;
    std::int64_t length = 0;
    if (graph_.ReadDuration(length)) duration = length;
    return true;
}

bool FillerPlayer::Run() {
    return loaded && graph_.Run();
}

void FillerPlayer::Pause() {
    if (loaded) graph_.Pause();
}

void FillerPlayer::Stop() {
    if (loaded) graph_.Stop();
}

bool FillerPlayer::SetVolume(std::int32_t volume) {
    return loaded && graph_.PutVolume(volume);
}

bool FillerPlayer::IsStillPlaying() {
    if (!loaded || graph_.Completed()) return false;
    std::int64_t position = -1;
    // A variable-bit-rate file's duration is an estimate: the completion
    // event, not the position, tells its end.
    if (!graph_.ReadPosition(position)) return false;
    return position != duration;
}

std::int32_t FillerVolumeFromSlider(int sliderPosition) {
    // 40 dB per decade of the slider, the loudness a percentage of Spotify's
    // own knob has, so that both sound alike at the same position.
    if (sliderPosition <= 0) return kFillerSilent;
    if (sliderPosition >= 100) return 0;
    const long hundredths = std::lround(4000.0 * std::log10(sliderPosition / 100.0));
    return static_cast<std::int32_t>(hundredths < kFillerSilent ? kFillerSilent : hundredths);
}

void ShowVolume(ApplicationState& app, FillerPlayer& filler, MainControls& controls, int percent) {
    app.volumeSlider = percent < 0 ? 0 : percent > 100 ? 100 : percent;
    controls.SetVolumeSliderPosition(app.volumeSlider);
    if (app.fillerPlaying) filler.SetVolume(FillerVolumeFromSlider(app.volumeSlider));
}

void SetFillerVolumeFromSlider(FillerPlayer& filler, MainControls& controls) {
    filler.SetVolume(FillerVolumeFromSlider(controls.VolumeSliderPosition()));
}

bool ReplayFillerFile(FillerPlayer& filler, MainControls& controls, const std::wstring& path) {
    // Each file is a new graph at full level: its volume is set before it runs.
    const bool loaded = filler.Load(path);
    if (loaded) SetFillerVolumeFromSlider(filler, controls);
    if (!loaded || !filler.Run()) {
        LogLine("Error:      " + Mp3Label(path));
        return false;
    }
    return true;
}

std::string Mp3Label(const std::wstring& path) {
    const auto slash = path.find_last_of(L'\\');
    return NarrowAnsi(slash == std::wstring::npos ? path : path.substr(slash + 1));
}

void PlayMp3(ApplicationState& app, FillerPlayer& filler, MainControls& controls, bool on) {
    app.fillerPlaying = on;
    if (!on) {
        LogLine("MP3:        Stopped");
        filler.Stop();
        return;
    }
    std::map<std::wstring, int> startFailures;
    std::size_t totalStartFailures = 0;
    while (app.mp3Count != 0 && !app.mp3Files.empty()) {
        const std::size_t i = static_cast<std::size_t>(std::rand()) % app.mp3Files.size();
        const std::wstring path = app.mp3Files[i];
        if (!filler.Load(path)) {
            LogLine("Error:      " + Mp3Label(path));
            app.mp3Files.erase(app.mp3Files.begin() + static_cast<std::ptrdiff_t>(i));
            --app.mp3Count;
            continue;
        }
        SetFillerVolumeFromSlider(filler, controls);
        if (filler.Run()) {
            app.currentMp3 = path;
            controls.SetStatusLabel(Mp3Label(path));
            LogLine("MP3:        " + Mp3Label(path));
            return;
        }
        ++startFailures[path];
        ++totalStartFailures;
        if (EveryFileFailedToStart(app, startFailures) ||
            totalStartFailures >= kStartFailuresCapPerFile * app.mp3Files.size())
            break;
    }
    LogLine("Error:      Unabled to load MP3s");
    app.fillerPlaying = false;
}
