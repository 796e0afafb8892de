// The engine's playback calls: start, stop, pause, tempo, mute, channel
// volume, transposition and single events.
#include "sequenzor/engine.h"

#include <cmath>
#include <limits>

namespace sequenzor {

namespace {

constexpr double kMicrosecondsPerMinute = 60000000.0;
constexpr double kDefaultBpm = 120.0;
constexpr std::uint8_t kMaxDataByte = 0x7F;

bool IsNoteOf(const MidiEvent& event, std::uint8_t channel) {
    return event.status == 0x80 + channel || event.status == 0x90 + channel;
}

bool IsNote(const MidiEvent& event) {
    return event.status >= 0x80 && event.status <= 0x9F;
}

} // namespace

int Engine::Start(int start, int length, double bpm) {
    if (bpm > 0) SetTempo(bpm);
    if (start < 0) start = 0;
    // Beats and end reports of an earlier run must not count for this one.
    sync_.DiscardPendingNotifications();
    // The run in progress ends, the new one is queued, and only then does the
    // timer start: the first events wait in the queue for their time, and a
    // busy machine that holds this thread up between the two cannot make
    // them late.
    sync_.Stop();
    sync_.beats = 0;
    sync_.status = 1;
    if (start > 0) {
        sync_.beats = static_cast<int>((static_cast<std::int64_t>(start) + 7) / 8);
        out_.Seek(start, length);
    } else if (length > 0) {
        out_.Seek(0, length);
    } else {
        out_.Rewind();
    }
    sync_.Start();
    return 1;
}

int Engine::Stop() {
    sync_.Stop();
    sync_.DiscardPendingNotifications();
    sync_.status = 2;
    return sync_.beats;
}

int Engine::Pause(int flag) {
    sync_.Pause(flag);
    sync_.status = 3;
    return sync_.beats;
}

int Engine::ReStart() {
    sync_.ReStart();
    sync_.status = 1;
    return 1;
}

void Engine::StartSync() {
    sync_.Start();
}

int Engine::SetTempo(double bpm) {
    // 0 stands for 120; a negative or unusable tempo is refused.
    if (!std::isfinite(bpm) || bpm < 0) return 0;
    if (bpm == 0) bpm = kDefaultBpm;
    const double microseconds = std::trunc(kMicrosecondsPerMinute / bpm);
    if (microseconds < 1 || microseconds > std::numeric_limits<std::uint32_t>::max()) return 0;
    if (!sync_.IsOpen()) return 0;
    return ::SetTempo(sync_.Handle(), static_cast<std::uint32_t>(microseconds)) == 0 ? 1 : 0;
}

double Engine::GetTempo() const {
    const std::uint32_t microseconds = sync_.IsOpen() ? ::GetTempo(sync_.Handle()) : 0;
    // A timer without a tempo plays at the default 120.
    if (microseconds == 0) return kDefaultBpm;
    return kMicrosecondsPerMinute / microseconds;
}

void Engine::SetTrackMute(int track, int mute) {
    const bool wasPlaying = sync_.status == 1;
    int restartBeat = 0;
    if (wasPlaying) restartBeat = Stop() + 1;
    if (ValidTrack(track) && sync_.running == 0) tracks_[track]->muteFlag = mute;
    // Play goes on from the next beat with the new setting, at the same tempo.
    if (wasPlaying) Start(restartBeat * 8, 0, 0.0);
}

int Engine::GetTrackMute(int track) const {
    return ValidTrack(track) ? tracks_[track]->muteFlag : 0;
}

void Engine::SetChannelVolume(std::uint8_t volume, std::uint8_t channel) {
    if (channel > 15) return;
    // A data byte keeps its top bit clear, or the device would read a status.
    if (volume > kMaxDataByte) volume = kMaxDataByte;
    out_.SendNow(MidiEvent{MXMIDI_NOW, static_cast<std::uint8_t>(0xB0 + channel), 7, volume, 0});
}

void Engine::ChannelMute(int channel, int mute) {
    if (channel < 0 || channel >= 16) return;
    SetChannelVolume(mute ? 0 : 127, static_cast<std::uint8_t>(channel));
}

void Engine::TransposeChannel(std::uint8_t amount, std::uint8_t channel) {
    if (channel > 15) return; // 0x80 + 16 would be a Note On of the first channel
    out_.NotesTransposed(channel, amount);
    for (const auto& track : tracks_) {
        for (std::uint32_t i = 0; i < track->Count(); ++i) {
            MidiEvent& event = track->Events()[i];
            if (IsNoteOf(event, channel))
                event.data1 = static_cast<std::uint8_t>(event.data1 + amount);
        }
    }
}

void Engine::TransposeAll(std::uint8_t amount) {
    for (int channel = 0; channel < 16; ++channel)
        out_.NotesTransposed(channel, amount);
    for (const auto& track : tracks_) {
        for (std::uint32_t i = 0; i < track->Count(); ++i) {
            MidiEvent& event = track->Events()[i];
            if (IsNote(event)) event.data1 = static_cast<std::uint8_t>(event.data1 + amount);
        }
    }
}

long long Engine::BeatTime(int beats) const {
    return sync_.BeatTime(beats);
}

int Engine::OutputLatency() const {
    if (!out_.IsOpen()) return 0;
    return static_cast<int>(GetMidiOutLatency(out_.Handle()));
}

int Engine::PutEvent(std::uint32_t time, std::uint8_t status, std::uint8_t data1,
                     std::uint8_t data2, std::uint8_t data3) {
    return out_.HandOver(MidiEvent{time, status, data1, data2, data3});
}

} // namespace sequenzor
