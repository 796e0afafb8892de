// zupfari-listen: the program's listening on the command line.
//
//   zupfari-listen tune [--string E|A|D|G|B|e|auto] FILE.wav
//   zupfari-listen tune [--string ...] [--input ID] [--seconds N] -
//   zupfari-listen onsets FILE.wav
//   zupfari-listen inputs
//   zupfari-listen check LESSON LEVEL FILE.wav [--language N] [--offset MS]
//
// "tune" prints what the tuner shows, one line per 50 ms: time, string,
// frequency and cents ("-" for nothing heard); "-" listens to the
// microphone instead of a file. "onsets" prints the time of every onset.
// "inputs" lists the microphones, the one used by default marked with "*".
// Times are seconds from the start of the recording (or of listening).
// "check" judges a recording of the learner playing along with the
// exercise of LESSON at LEVEL: one line per expected note or chord (bar,
// beat, notes, verdict, offset in ms, cents) and the summary. The
// recording's time 0 is the exercise file's time 0 (its first count-in
// click); --offset MS says the recording began MS later (negative: earlier).
// --language N other than 0 takes the English edition's exercise where it
// has one of its own.
#include "listening/audiofile.h"
#include "listening/exercisepart.h"
#include "listening/guitarstrings.h"
#include "listening/inputdevices.h"
#include "listening/microphone.h"
#include "listening/onsetdetector.h"
#include "listening/playalongcheck.h"
#include "listening/tuninganalyzer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
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
                 "       zupfari-listen inputs\n"
                 "       zupfari-listen check LESSON LEVEL FILE.wav [--language N] [--offset MS]\n");
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

// A whole number from an argument; false when it is not one.
bool ParseWhole(const std::string& text, long& value) {
    char* end = nullptr;
    value = std::strtol(text.c_str(), &end, 10);
    return !text.empty() && end != text.c_str() && *end == '\0';
}

// The exercise file of a lesson and level beside the program (the English
// edition's own file where it has one), as the program's lesson files name it.
std::string ExercisePath(long lesson, long level, long language) {
    const QString name = QString("Midi/uebung%1_%2.mid").arg(lesson).arg(level);
    const QDir folder(QCoreApplication::applicationDirPath());
    const QString english = folder.filePath("English/" + name);
    if (language != 0 && QFileInfo::exists(english)) return english.toStdString();
    return folder.filePath(name).toStdString();
}

std::string NotesText(const std::vector<int>& notes) {
    std::string text;
    for (int note : notes) text += (text.empty() ? "" : "+") + NoteName(note, 1);
    return text;
}

void PrintResult(const ExpectedStrike& strike, const NoteResult& result) {
    std::printf("bar %3d beat %-5g %-22s %-7s", strike.bar, strike.beatInBar, NotesText(strike.notes).c_str(),
                VerdictWord(result.verdict));
    if (result.heard) {
        std::printf(" %+7.1f ms", result.offsetMs);
    } else {
        std::printf("       - ms");
    }
    if (result.pitched) {
        std::printf(" %+7.1f cents", result.cents);
    } else {
        std::printf("       - cents");
    }
    if (strike.Chord() && !result.missingNotes.empty()) std::printf("  missing %s", NotesText(result.missingNotes).c_str());
    std::printf("\n");
}

int Check(const std::vector<std::string>& args) {
    long lesson = 0, level = 0, language = 0, offsetMs = 0;
    std::string path;
    std::vector<std::string> positional;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == "--language" && hasValue) {
            if (!ParseWhole(args[++i], language) || language < 0) return Usage();
        } else if (args[i] == "--offset" && hasValue) {
            if (!ParseWhole(args[++i], offsetMs)) return Usage();
        } else if (args[i].rfind("--", 0) == 0) {
            return Usage();
        } else {
            positional.push_back(args[i]);
        }
    }
    if (positional.size() != 3 || !ParseWhole(positional[0], lesson) || !ParseWhole(positional[1], level))
        return Usage();
    if (lesson < 0 || lesson > 29 || level < 1 || level > 10) {
        std::fprintf(stderr, "zupfari-listen: no lesson %ld at level %ld (lessons 0 to 29, levels 1 to 10)\n",
                     lesson, level);
        return 2;
    }
    ExercisePart part;
    std::string error;
    const std::string exercise = ExercisePath(lesson, level, language);
    if (!ReadExercisePart(exercise, part, error)) {
        std::fprintf(stderr, "zupfari-listen: %s: %s\n", exercise.c_str(), error.c_str());
        return 1;
    }
    MonoRecording recording;
    if (!ReadRecording(positional[2], recording, error)) {
        std::fprintf(stderr, "zupfari-listen: %s\n", error.c_str());
        return 1;
    }
    PlayAlongCheck check(part, int(level), recording.sampleRate, std::int64_t(offsetMs) * 1000);
    check.Feed(recording.samples.data(), recording.samples.size());
    check.Finish();
    for (const NoteResult& result : check.Results()) PrintResult(part.strikes[result.strike], result);
    const CheckSummary summary = Summarize(part, check.Results());
    std::printf("%d of %d notes on time", summary.onTime, summary.notes);
    if (summary.worstBar > 0) std::printf("; worst in bar %d", summary.worstBar);
    std::printf("\n");
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
    if (command == "check") return Check(args);
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
