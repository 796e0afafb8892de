// Benchmark of the MIDI file reader: writes a large file (four tracks, over
// 200,000 events in all) through the toolkit, then times loading it through
// OpenSMF / ReadSMF as the engine does, next to python3-mido loading the same
// file in the same run. Prints figures; not run by the test suite.
//
//   build/tests/smf_bench [events per track]

#include "mxmidi/mxmidi.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::vector<MidiEvent> MakeTrack(int count, int channel) {
    std::vector<MidiEvent> events;
    events.reserve(std::size_t(count));
    for (int i = 0; events.size() < std::size_t(count); ++i) {
        std::uint8_t note = std::uint8_t(40 + (i * 7) % 40);
        if (i % 500 == 0)
            events.push_back({0, 0, 0x07, std::uint8_t(i & 0xFF), 0x20});
        else if (i % 50 == 0)
            events.push_back({0, std::uint8_t(0xB0 | channel), 7, 100, 0});
        events.push_back({60, std::uint8_t(0x90 | channel), note, 90, 0});
        events.push_back({60, std::uint8_t(0x90 | channel), note, 0, 0});
    }
    events.resize(std::size_t(count));
    return events;
}

// One load of the whole file as the engine reads it; the number of events.
std::size_t LoadOnce(const std::string& path) {
    std::uint16_t format = 1, tracks = 0;
    HSMF smf = OpenSMF(path.c_str(), &format, 'r', &tracks);
    if (smf == 0) return 0;
    std::vector<MidiEvent> buffer(MXMIDI_SMF_CHUNK);
    std::size_t total = 0;
    RewindSMF(smf);
    for (std::uint16_t t = 0; t < tracks; ++t)
        while (std::uint32_t n = ReadSMF(smf, t, buffer.data(), MXMIDI_SMF_CHUNK))
            total += n;
    CloseSMF(smf);
    return total;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    int perTrack = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60000;
    QTemporaryDir folder;
    std::string path = folder.path().toStdString() + "/large.mid";

    HSMF writer = OpenSMF(path.c_str(), nullptr, 'w', nullptr);
    if (writer == 0) return 1;
    SetSMFResolution(writer, 480);
    for (std::uint16_t t = 0; t < 4; ++t) {
        std::vector<MidiEvent> events = MakeTrack(perTrack, t);
        WriteSMF(writer, t, events.data(), std::uint32_t(events.size()));
    }
    CloseSMF(writer);

    std::vector<double> times;
    std::size_t events = 0;
    for (int run = 0; run < 15; ++run) {
        auto start = std::chrono::steady_clock::now();
        events = LoadOnce(path);
        std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        times.push_back(took.count());
    }
    std::printf("file: %s, %lld bytes, %d events per track, 4 tracks\n", path.c_str(),
                static_cast<long long>(QFileInfo(QString::fromStdString(path)).size()), perTrack);
    std::printf("OpenSMF/ReadSMF: %zu events, median %.2f ms, best %.2f ms (15 runs)\n", events,
                Median(times), *std::min_element(times.begin(), times.end()));

    std::fflush(stdout);
    std::string python;
    for (std::string candidate : {"python3", "/usr/bin/python3"})
        if (python.empty() &&
            std::system((candidate + " -c 'import mido' 2>/dev/null").c_str()) == 0)
            python = candidate;
    if (python.empty()) {
        std::printf("python3-mido: not available\n");
        return 0;
    }
    std::string mido = python +
                       " -c \"import time, mido\n"
                       "best = None\n"
                       "for _ in range(2):\n"
                       "    t = time.perf_counter(); m = mido.MidiFile('" +
                       path +
                       "')\n"
                       "    took = (time.perf_counter() - t) * 1000\n"
                       "    best = took if best is None else min(best, took)\n"
                       "n = sum(len(t) for t in m.tracks)\n"
                       "print('python3-mido: %d messages, best %.1f ms (2 runs)' % (n, best))\"";
    return std::system(mido.c_str()) == 0 ? 0 : 1;
}
