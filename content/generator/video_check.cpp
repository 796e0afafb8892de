#include "content/generator/video_check.h"

#include "content/generator/video_layout.h"
#include "mxmidi/smfreader.h"

#include <algorithm>
#include <cstdint>
#include <map>

namespace video {

namespace {

unsigned Le32(const std::string& bytes, std::size_t at) {
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data() + at);
    return b[0] | b[1] << 8 | b[2] << 16 | static_cast<unsigned>(b[3]) << 24;
}

struct Chunk {
    std::string id;
    std::size_t data = 0, size = 0;
};

// The chunks inside [from, to); false when one runs past the end.
bool Chunks(const std::string& bytes, std::size_t from, std::size_t to, std::vector<Chunk>& out) {
    while (from + 8 <= to) {
        Chunk chunk{bytes.substr(from, 4), from + 8, Le32(bytes, from + 4)};
        if (chunk.size > to - chunk.data) return false;
        out.push_back(chunk);
        from = chunk.data + chunk.size + (chunk.size & 1);
    }
    return true;
}

const Chunk* List(const std::string& bytes, const std::vector<Chunk>& chunks, const char* type) {
    for (const Chunk& c : chunks)
        if (c.id == "LIST" && c.size >= 4 && bytes.compare(c.data, 4, type) == 0) return &c;
    return nullptr;
}

// A tempo map: microseconds at any tick.
class TempoMap {
public:
    void Add(long long tick, int microsPerBeat) { changes_[tick] = microsPerBeat; }
    long long Micros(long long tick, int resolution) const {
        long long micros = 0, at = 0;
        int tempo = 500000; // 120 beats per minute until the file says otherwise
        for (const auto& [change, value] : changes_) {
            if (change >= tick) break;
            micros += (change - at) * tempo / resolution;
            at = change;
            tempo = value;
        }
        return micros + (tick - at) * tempo / resolution;
    }

private:
    std::map<long long, int> changes_;
};

std::string Name(const Timeline& timeline, const Sound& sound) {
    static const char* strings[] = {"E", "A", "D", "g", "h", "e"};
    if (sound.lamp.reference) return "the tuner's tone";
    std::string name = std::string("string ") + strings[sound.lamp.string];
    if (timeline.view == View::Fretboard) name += " fret " + std::to_string(sound.lamp.fret);
    return name;
}

// Frames where the lamp at `probe` turns from dark to lit.
std::vector<int> Lightings(const std::vector<QImage>& frames, QPointF probe, QColor lit) {
    std::vector<int> onsets;
    bool before = false;
    for (std::size_t f = 0; f < frames.size(); ++f) {
        const bool now = layout::LooksLit(frames[f], probe, lit);
        if (now && !before) onsets.push_back(static_cast<int>(f));
        before = now;
    }
    return onsets;
}

} // namespace

std::optional<AviVideo> ReadAvi(const std::string& bytes, std::string& error) {
    std::vector<Chunk> top;
    if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "AVI ") != 0 ||
        !Chunks(bytes, 12, std::min<std::size_t>(bytes.size(), 8 + Le32(bytes, 4)), top)) {
        error = "not a whole AVI file";
        return std::nullopt;
    }
    const Chunk* hdrl = List(bytes, top, "hdrl");
    const Chunk* movi = List(bytes, top, "movi");
    std::vector<Chunk> header, movie;
    if (!hdrl || !movi || !Chunks(bytes, hdrl->data + 4, hdrl->data + hdrl->size, header) ||
        !Chunks(bytes, movi->data + 4, movi->data + movi->size, movie) || header.empty() ||
        header[0].id != "avih" || header[0].size < 40) {
        error = "the AVI file has no header or no movie list";
        return std::nullopt;
    }
    AviVideo video;
    video.microsPerFrame = static_cast<int>(Le32(bytes, header[0].data));
    video.width = static_cast<int>(Le32(bytes, header[0].data + 32));
    video.height = static_cast<int>(Le32(bytes, header[0].data + 36));
    for (const Chunk& c : movie)
        if (c.id == "00dc" || c.id == "00db") video.frames.push_back(bytes.substr(c.data, c.size));
    return video;
}

std::vector<QImage> DecodeFrames(const AviVideo& video, std::string& error) {
    std::vector<QImage> pictures;
    QImage last;
    for (std::size_t f = 0; f < video.frames.size(); ++f) {
        const std::string& jpeg = video.frames[f];
        if (!jpeg.empty()) {
            last = QImage::fromData(reinterpret_cast<const uchar*>(jpeg.data()), static_cast<int>(jpeg.size()), "JPEG");
            if (last.isNull()) {
                error = "frame " + std::to_string(f) + " does not decode";
                return {};
            }
        } else if (last.isNull()) {
            error = "the first frame is a drop frame";
            return {};
        }
        pictures.push_back(last);
    }
    return pictures;
}

std::optional<std::vector<NoteOn>> ReadNoteOns(const std::string& bytes, long long& endMicros, std::string& error) {
    const auto content = mxmidi::smf::ParseSmf(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    if (!content) {
        error = "not a MIDI file";
        return std::nullopt;
    }
    TempoMap tempo;
    struct At {
        long long tick;
        MidiEvent event;
    };
    std::vector<At> events;
    long long end = 0;
    for (const mxmidi::smf::SmfTrack& track : content->tracks) {
        long long tick = 0;
        for (const MidiEvent& e : track.events) {
            tick += e.time;
            if (e.status == 0) tempo.Add(tick, e.data1 << 16 | e.data2 << 8 | e.data3);
            events.push_back({tick, e});
        }
        end = std::max(end, tick);
    }
    std::vector<NoteOn> notes;
    for (const At& at : events)
        if ((at.event.status & 0xF0) == 0x90 && at.event.data2 > 0)
            notes.push_back({tempo.Micros(at.tick, content->resolution), at.event.data1, at.event.status & 0x0F});
    std::stable_sort(notes.begin(), notes.end(), [](const NoteOn& a, const NoteOn& b) {
        return a.micros != b.micros ? a.micros < b.micros : (a.note != b.note ? a.note < b.note : a.channel < b.channel);
    });
    endMicros = tempo.Micros(end, content->resolution);
    return notes;
}

std::vector<std::string> CheckAgreement(const Timeline& timeline, const std::string& avi, const std::string& midi,
                                        QColor lit, int toleranceFrames) {
    std::string error;
    const auto video = ReadAvi(avi, error);
    if (!video) return {"the video: " + error};
    const std::vector<QImage> frames = DecodeFrames(*video, error);
    if (frames.empty()) return {"the video: " + (error.empty() ? std::string("no frames") : error)};
    long long endMicros = 0;
    const auto notes = ReadNoteOns(midi, endMicros, error);
    if (!notes) return {"the accompaniment: " + error};
    std::vector<std::string> problems;
    const long long videoMicros = static_cast<long long>(frames.size()) * video->microsPerFrame;
    if (endMicros > videoMicros)
        problems.push_back("the accompaniment lasts " + std::to_string(endMicros / 1000) + " ms, the video " +
                           std::to_string(videoMicros / 1000) + " ms");
    std::vector<Sound> sounds = timeline.sounds;
    std::stable_sort(sounds.begin(), sounds.end(), [](const Sound& a, const Sound& b) {
        return a.tick != b.tick ? a.tick < b.tick : (a.note != b.note ? a.note < b.note : a.channel < b.channel);
    });
    if (sounds.size() != notes->size()) {
        problems.push_back("the accompaniment plays " + std::to_string(notes->size()) + " notes, the video shows " +
                           std::to_string(sounds.size()));
        return problems;
    }
    // Each lamp's lightings, each to be claimed by one note.
    std::map<std::pair<double, double>, std::vector<int>> lightings;
    std::map<std::pair<double, double>, std::vector<bool>> claimed;
    for (const Sound& sound : sounds) {
        const QPointF probe = layout::LampProbe(timeline.view, sound.lamp);
        const auto key = std::make_pair(probe.x(), probe.y());
        if (!lightings.count(key)) {
            lightings[key] = Lightings(frames, probe, lit);
            claimed[key].assign(lightings[key].size(), false);
        }
    }
    for (std::size_t i = 0; i < sounds.size(); ++i) {
        const Sound& sound = sounds[i];
        const NoteOn& note = (*notes)[i];
        if (note.note != sound.note) {
            problems.push_back("note " + std::to_string(i + 1) + ": the accompaniment plays key " + std::to_string(note.note) +
                               ", the video shows " + Name(timeline, sound) + " (key " + std::to_string(sound.note) + ")");
            continue;
        }
        const int frame = static_cast<int>(note.micros / video->microsPerFrame);
        const QPointF probe = layout::LampProbe(timeline.view, sound.lamp);
        const auto key = std::make_pair(probe.x(), probe.y());
        const std::vector<int>& onsets = lightings[key];
        int nearest = -1;
        for (std::size_t k = 0; k < onsets.size(); ++k)
            if (nearest < 0 || std::abs(onsets[k] - frame) < std::abs(onsets[static_cast<std::size_t>(nearest)] - frame))
                nearest = static_cast<int>(k);
        const std::string what = "key " + std::to_string(note.note) + " (" + Name(timeline, sound) + ") sounds in frame " +
                                 std::to_string(frame);
        if (nearest < 0) {
            problems.push_back(what + ", but its lamp never lights");
            continue;
        }
        const int lights = onsets[static_cast<std::size_t>(nearest)];
        if (std::abs(lights - frame) > toleranceFrames) {
            problems.push_back(what + ", its lamp lights in frame " + std::to_string(lights));
            continue;
        }
        claimed[key][static_cast<std::size_t>(nearest)] = true;
    }
    for (const auto& [key, onsets] : lightings)
        for (std::size_t k = 0; k < onsets.size(); ++k)
            if (!claimed[key][k])
                problems.push_back("a lamp at (" + std::to_string(static_cast<int>(key.first)) + ", " +
                                   std::to_string(static_cast<int>(key.second)) + ") lights in frame " +
                                   std::to_string(onsets[k]) + " without a note");
    return problems;
}

} // namespace video
