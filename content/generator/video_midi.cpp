#include "content/generator/video_midi.h"

#include "content/generator/course_midi.h"
#include "mxmidi/smfwriter.h"

#include <algorithm>
#include <cmath>

namespace video {

namespace {

struct TimedEvent {
    int tick;
    int order; // at one tick: note-offs first, then set-up, then note-ons
    ::MidiEvent event;
};

::MidiEvent Channel(int status, int data1, int data2) {
    return {0, static_cast<std::uint8_t>(status), static_cast<std::uint8_t>(data1),
            static_cast<std::uint8_t>(data2), 0};
}

::MidiEvent Bend(int channel, int cents) {
    const int value = std::clamp(8192 + static_cast<int>(std::lround(cents * 8192.0 / kBendRangeCents)), 0, 16383);
    return Channel(0xE0 | channel, value & 0x7F, value >> 7);
}

// The pitch of the tuned string, sent every few ticks while it changes.
void AddBends(const Timeline& timeline, std::vector<TimedEvent>& events) {
    if (timeline.pitch.empty()) return;
    const int step = kTicksPerBeat / 24;
    int last = 1 << 30;
    for (int tick = 0; tick < timeline.endTick; tick += step) {
        const int cents = timeline.CentsAt(tick);
        if (cents == last) continue;
        events.push_back({tick, 1, Bend(0, cents)});
        last = cents;
    }
}

mxmidi::smf::SmfTrack Conductor(const Timeline& timeline) {
    mxmidi::smf::SmfTrack track;
    const int micros = timeline.microsPerBeat;
    ::MidiEvent tempo{0, 0, static_cast<std::uint8_t>(micros >> 16), static_cast<std::uint8_t>(micros >> 8),
                      static_cast<std::uint8_t>(micros)};
    track.metas.push_back({0x03, "Tempo"});
    track.metas.push_back({0x58, std::string{char(4), 2, 24, 8}});
    track.events.push_back(tempo);
    ::MidiEvent end = tempo; // the tempo again at the last tick ends the track there
    end.time = static_cast<std::uint32_t>(timeline.endTick);
    track.events.push_back(end);
    return track;
}

mxmidi::smf::SmfTrack Guitar(const Timeline& timeline) {
    std::vector<TimedEvent> events;
    const int program = timeline.steel ? content::kSteelGuitar : content::kNylonGuitar;
    for (int channel : {0, 1}) {
        events.push_back({0, 1, Channel(0xC0 | channel, program, 0)});
        events.push_back({0, 1, Channel(0xB0 | channel, 7, 110)});
    }
    AddBends(timeline, events);
    for (const Sound& sound : timeline.sounds) {
        const int off = std::min(sound.endTick, timeline.endTick);
        events.push_back({sound.tick, 2, Channel(0x90 | sound.channel, sound.note, sound.velocity)});
        events.push_back({off, 0, Channel(0x80 | sound.channel, sound.note, 0)});
    }
    std::stable_sort(events.begin(), events.end(), [](const TimedEvent& a, const TimedEvent& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    mxmidi::smf::SmfTrack track;
    track.metas.push_back({0x03, "Gitarre"});
    int now = 0;
    for (TimedEvent& e : events) {
        e.event.time = static_cast<std::uint32_t>(e.tick - now);
        now = e.tick;
        track.events.push_back(e.event);
    }
    for (int channel : {0, 1}) { // every note closed, the pitch back in place
        ::MidiEvent allOff = Channel(0xB0 | channel, 123, 0);
        allOff.time = static_cast<std::uint32_t>(channel == 0 ? timeline.endTick - now : 0);
        track.events.push_back(allOff);
    }
    if (!timeline.pitch.empty()) track.events.push_back(Bend(0, 0));
    return track;
}

} // namespace

std::string AccompanimentFile(const Timeline& timeline) {
    return mxmidi::smf::EncodeSmf(kTicksPerBeat, {Conductor(timeline), Guitar(timeline)});
}

} // namespace video
