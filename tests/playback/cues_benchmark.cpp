// Prints what a click and a list round trip cost on this machine: the click
// is the existence test, reading and parsing the WAV, and the platform call.
// Run by hand: build/tests/playback_benchmark
#include "plan/liststore.h"
#include "platform/ui/sound.h"
#include "playback/soundcues.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Microseconds(Clock::duration d) {
    return std::chrono::duration<double, std::micro>(d).count();
}

template <typename Work> void Measure(const char* what, int rounds, Work work) {
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        auto start = Clock::now();
        work();
        times.push_back(Microseconds(Clock::now() - start));
    }
    std::sort(times.begin(), times.end());
    std::printf("%-44s median %8.1f us   p99 %8.1f us   (%d rounds)\n", what,
                times[times.size() / 2], times[times.size() * 99 / 100], rounds);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir temp;
    const std::string folder = temp.path().toStdString() + "/";
    QDir(temp.path()).mkpath("ClickSounds");
    QDir(temp.path()).mkpath("Listen");
    // A click of 0.3 s, 44.1 kHz, 16-bit stereo (about 53 KB).
    std::ofstream(folder + "ClickSounds/Fmaj7.wav", std::ios::binary)
        << platform::MakeWaveFile(2, 44100, 16, std::string(44100 * 4 * 3 / 10, '\0'));

    playback::SoundCues cues(folder);
    Measure("PlayClick (exists, read, parse, play)", 2000, [&] { cues.PlayClick(true, false); });
    Measure("PlayNamedCue refused while the click plays", 2000,
            [&] { cues.PlayNamedCue(folder + "ClickSounds\\Fmaj7.wav", true, false); });
    Measure("PlayClick with no ClickSounds file", 2000, [&] {
        playback::SoundCues missing("/nonexistent/");
        missing.PlayClick(true, false);
    });
    platform::PlaySound(nullptr, 0);

    plan::ListStore store;
    store.ResetLists();
    Measure("SaveLists (two lists, fsync'd)", 200, [&] { store.SaveLists(folder, false); });
    Measure("ReadStoredLists", 2000, [&] { store.ReadStoredLists(folder, folder); });
    return 0;
}
