// zupfari-listen: the program's listening on the command line.
//
//   zupfari-listen tune [--string E|A|D|G|B|e|auto] FILE.wav
//   zupfari-listen tune [--string ...] [--input ID] [--seconds N] -
//   zupfari-listen onsets FILE.wav
//   zupfari-listen inputs
//
// "tune" prints what the tuner shows, one line per 50 ms: time, string,
// frequency and cents ("-" for nothing heard); "-" listens to the
// microphone instead of a file. "onsets" prints the time of every onset.
// "inputs" lists the microphones, the one used by default marked with "*".
// Times are seconds from the start of the recording (or of listening).
#include "listening/audiofile.h"
#include "listening/guitarstrings.h"
#include "listening/inputdevices.h"
#include "listening/microphone.h"
#include "listening/onsetdetector.h"
#include "listening/tuninganalyzer.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdint>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

namespace {

using namespace listening;

constexpr const char* kStringNames[kGuitarStrings] = {"E", "A", "D", "G", "B", "e"};
constexpr int kLineMs = 50;

int Usage() {
    std::fprintf(stderr,
                 "usage: zupfari-listen tune [--string E|A|D|G|B|e|auto] [--input ID] [--seconds N] FILE.wav|-\n"
                 "       zupfari-listen onsets FILE.wav\n"
                 "       zupfari-listen inputs\n");
    return 2;
}

// The string an option names; false for an unknown name.
bool ParseString(const std::string& name, int& string) {
    if (name == "auto") {
        string = kAutoString;
        return true;
    }
    for (int s = 0; s < kGuitarStrings; ++s)
        if (name == kStringNames[s]) {
            string = s;
            return true;
        }
    if (name == "H" || name == "h" || name == "b") { // the German name, the tuner's caption
        string = StringB;
        return true;
    }
    return false;
}

void PrintReading(double seconds, const TuningReading& reading) {
    if (!reading.heard) {
        std::printf("%8.3f  -\n", seconds);
    } else {
        std::printf("%8.3f  %s  %8.2f Hz  %+6.1f cents\n", seconds, kStringNames[reading.string],
                    reading.frequency, reading.cents);
    }
    std::fflush(stdout);
}

int TuneFile(const std::string& path, int string) {
    MonoRecording recording;
    std::string error;
    if (!ReadRecording(path, recording, error)) {
        std::fprintf(stderr, "zupfari-listen: %s\n", error.c_str());
        return 1;
    }
    TuningAnalyzer analyzer(recording.sampleRate);
    analyzer.SetString(string);
    const std::size_t step = std::size_t(recording.sampleRate) * kLineMs / 1000;
    for (std::size_t at = 0; at + step <= recording.samples.size(); at += step) {
        analyzer.Feed(recording.samples.data() + at, step);
        PrintReading(double(at + step) / recording.sampleRate, analyzer.Latest());
    }
    return 0;
}

volatile std::sig_atomic_t interrupted = 0;

int TuneMicrophone(int string, const std::string& wanted, double seconds) {
    const std::vector<InputDevice> inputs = InputDevices();
    const std::string input = ChooseInput(inputs, wanted, ServerDefaultSource());
    if (input.empty()) {
        std::fprintf(stderr, "zupfari-listen: no microphone found\n");
        return 1;
    }
    if (!wanted.empty() && input != wanted)
        std::fprintf(stderr, "zupfari-listen: no input %s; listening to %s\n", wanted.c_str(), input.c_str());

    std::mutex mutex;
    std::unique_ptr<TuningAnalyzer> analyzer;
    std::uint64_t nextLine = 0;
    Microphone microphone;
    microphone.Start(input, [&](const float* frames, std::size_t count, std::int64_t, int rate) {
        std::lock_guard lock(mutex);
        if (!analyzer) {
            analyzer = std::make_unique<TuningAnalyzer>(rate);
            analyzer->SetString(string);
            nextLine = std::uint64_t(rate) * kLineMs / 1000;
        }
        // Feed up to each 50 ms line and print it, up to the time asked for.
        const std::uint64_t limit = seconds > 0 ? std::uint64_t(seconds * rate) : UINT64_MAX;
        while (count > 0 && analyzer->FramesFed() < limit) {
            const std::size_t part = std::size_t(std::min<std::uint64_t>(count, nextLine - analyzer->FramesFed()));
            analyzer->Feed(frames, part);
            frames += part;
            count -= part;
            if (analyzer->FramesFed() == nextLine) {
                PrintReading(double(nextLine) / rate, analyzer->Latest());
                nextLine += std::uint64_t(rate) * kLineMs / 1000;
            }
        }
    });

    std::signal(SIGINT, [](int) { interrupted = 1; });
    std::signal(SIGTERM, [](int) { interrupted = 1; });
    QTimer watch;
    int status = 0;
    // --seconds counts the sound heard, not the time it took to open the input.
    auto heardSeconds = [&] {
        std::lock_guard lock(mutex);
        return analyzer ? double(analyzer->FramesFed()) / analyzer->SampleRate() : 0.0;
    };
    QObject::connect(&watch, &QTimer::timeout, [&] {
        const Microphone::State state = microphone.CurrentState();
        if (state == Microphone::State::Failed || state == Microphone::State::Lost) {
            std::fprintf(stderr, "zupfari-listen: the microphone %s\n",
                         state == Microphone::State::Failed ? "could not be opened" : "went away");
            status = 1;
            QCoreApplication::quit();
        } else if (interrupted || (seconds > 0 && heardSeconds() >= seconds)) {
            QCoreApplication::quit();
        }
    });
    watch.start(20);
    QCoreApplication::exec();
    microphone.Stop();
    return status;
}

int Onsets(const std::string& path) {
    MonoRecording recording;
    std::string error;
    if (!ReadRecording(path, recording, error)) {
        std::fprintf(stderr, "zupfari-listen: %s\n", error.c_str());
        return 1;
    }
    for (double seconds : FindOnsets(recording.samples, recording.sampleRate)) std::printf("%8.3f\n", seconds);
    return 0;
}

int Inputs() {
    const std::string chosen = ChooseInput(InputDevices(), {}, ServerDefaultSource());
    const std::vector<InputDevice> inputs = InputDevices();
    if (inputs.empty()) {
        std::fprintf(stderr, "zupfari-listen: no microphone found\n");
        return 1;
    }
    for (const InputDevice& input : inputs)
        std::printf("%s %s  (%s)\n", input.id == chosen ? "*" : " ", input.id.c_str(),
                    input.description.toUtf8().constData());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return Usage();
    const std::string command = args[0];
    if (command == "inputs" && args.size() == 1) return Inputs();
    if (command == "onsets" && args.size() == 2) return Onsets(args[1]);
    if (command != "tune") return Usage();

    int string = kAutoString;
    std::string input, source;
    double seconds = 0;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == "--string" && hasValue) {
            if (!ParseString(args[++i], string)) {
                std::fprintf(stderr, "zupfari-listen: unknown string %s (E, A, D, G, B, e or auto)\n",
                             args[i].c_str());
                return 2;
            }
        } else if (args[i] == "--input" && hasValue) {
            input = args[++i];
        } else if (args[i] == "--seconds" && hasValue) {
            char* end = nullptr;
            seconds = std::strtod(args[++i].c_str(), &end);
            if (end == args[i].c_str() || *end != '\0' || !(seconds > 0)) return Usage();
        } else if (source.empty() && (args[i] == "-" || args[i].rfind("--", 0) != 0)) {
            source = args[i];
        } else {
            return Usage();
        }
    }
    if (source.empty()) return Usage();
    return source == "-" ? TuneMicrophone(string, input, seconds) : TuneFile(source, string);
}
