// How well each pitch method reads guitar strings, and what the tuner's
// analysis costs. Run by hand, not part of the suite:
//
//   build/tests/listening_benchmark [--live]
//
// Sounds: synthetic plucked strings (all six, detuned -20, -7, 0, +13 and
// +35 cents, stiff partials, weak low fundamentals, the pick's noise) and
// the synthesizer's own guitar notes (FluidSynth with the program's General
// MIDI sound font, nylon and steel guitar, the same detunings by pitch
// bend).
//
// The truth. A synthetic string's is its first partial, known exactly. A
// synthesizer note's is the sound's own steady pitch, not the note asked
// for: its first partial measured over 1.5 s of its sustain (from 0.3 s
// after the pluck, Blackman-Harris, 2^20-point spectrum, a parabola through
// the peak), which the second partial confirms within a tenth of a cent.
// The sound font's samples are tuned a few cents off their notes; that is
// the sound's fact, printed beside (the note asked for against the sound's
// pitch), and so is the way a sample's attack drifts before it settles
// (the median of its first six partials over 0.1-0.3 s after the pluck,
// against its steady pitch).
//
// Per method: median and worst error in cents over the readings every 50 ms
// from 0.25 s to 2 s after each pluck, readings off by more than 600 cents
// (octave errors), and readings missing. aubio's methods search every period
// (4096-frame window, 480-frame hop; yinfft also at 2048); "aubio yinfft,
// folded" moves aubio's reading by octaves into the chosen string's range.
// Ours: the period alone, the period with the partial fit (the estimator),
// and the tuner as it shows the reading (the analyzer: median of three,
// onset handling, automatic string).
//
// Then the time from the pluck to the first reading that stays within 3
// cents, and the analysis's CPU per second of sound. With --live, 10 s of
// the real capture path (private PulseAudio, paplay into a remapped source)
// and the whole process's CPU meanwhile.
#include "listening/frameclock.h"
#include "listening/guitarstrings.h"
#include "listening/pitchestimator.h"
#include "listening/tunerlistener.h"
#include "listening/tuninganalyzer.h"
#include "tests/listening/pluck.h"
#include "tests/support/realprogram.h"
#include "tests/support/testsupport.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>
#include <aubio/aubio.h>
#include <fluidsynth.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <map>
#include <sys/resource.h>

namespace {

using namespace listening;

constexpr int kRate = 48000;
constexpr double kDetunes[] = {-20, -7, 0, 13, 35};
constexpr double kFrom = 0.25, kTo = 2.0, kStep = 0.05;

struct Note {
    std::string name;
    int string;
    double truth; // Hz
    double pluckAt; // seconds into the samples
    std::vector<float> samples;
};

// ------------------------------------------------------------ the sounds

std::vector<Note> SyntheticNotes() {
    std::vector<Note> notes;
    for (int string = LowE; string <= HighE; ++string)
        for (double detune : kDetunes) {
            const auto pluck = listentest::GuitarPluck(string, detune);
            notes.push_back({"synthetic", string, pluck.frequency, pluck.leadSeconds,
                             listentest::Render(pluck, kRate)});
        }
    return notes;
}

// The first partial's frequency over a long stretch: the peak of a
// Blackman-Harris spectrum, 8 times zero-padded, near `around`.
double LongWindowFrequency(const std::vector<float>& samples, std::size_t from, std::size_t length, double around) {
    const uint_t size = 1u << 20;
    aubio_fft_t* fft = new_aubio_fft(size);
    fvec_t* in = new_fvec(size);
    cvec_t* spectrum = new_cvec(size);
    const double pi = 3.14159265358979323846;
    for (std::size_t i = 0; i < length; ++i) {
        const double x = 2 * pi * double(i) / double(length);
        const double w = 0.35875 - 0.48829 * std::cos(x) + 0.14128 * std::cos(2 * x) - 0.01168 * std::cos(3 * x);
        in->data[i] = smpl_t(samples[from + i] * w);
    }
    aubio_fft_do(fft, in, spectrum);
    const double bin = double(kRate) / size;
    int best = int(around * 0.97 / bin);
    for (int b = best; b <= int(around * 1.03 / bin); ++b)
        if (spectrum->norm[b] > spectrum->norm[best]) best = b;
    const double l = std::log(spectrum->norm[best - 1]), c = std::log(spectrum->norm[best]),
                 r = std::log(spectrum->norm[best + 1]);
    const double frequency = (best + 0.5 * (l - r) / (l - 2 * c + r)) * bin;
    del_cvec(spectrum);
    del_fvec(in);
    del_aubio_fft(fft);
    return frequency;
}

// The sound's pitch over a stretch, robust against one disturbed partial:
// the median of its first six partials' readings of the fundamental, in
// cents against `truth`.
double MedianPartialCents(const std::vector<float>& samples, std::size_t from, std::size_t length, double truth) {
    std::vector<double> cents;
    for (int k = 1; k <= 6; ++k)
        cents.push_back(CentsBetween(LongWindowFrequency(samples, from, length, k * truth) / k, truth));
    std::sort(cents.begin(), cents.end());
    return 0.5 * (cents[2] + cents[3]);
}

struct SoundFacts {
    std::vector<double> fontOffsets;  // the sound's steady pitch against the note asked for
    std::vector<double> steadyDrifts; // second half of the sustain against the first
    std::vector<double> attackOffsets; // 0.1-0.3 s after the pluck against the steady pitch
};

std::vector<Note> SynthesizerNotes(SoundFacts* facts) {
    std::vector<Note> notes;
    fluid_settings_t* settings = new_fluid_settings();
    fluid_settings_setnum(settings, "synth.sample-rate", kRate);
    fluid_synth_t* synth = new_fluid_synth(settings);
    const char* named = std::getenv("ZUPFARI_SOUNDFONT");
    const std::string font = named != nullptr ? named : "/usr/share/sounds/sf2/default-GM.sf2";
    if (fluid_synth_sfload(synth, font.c_str(), 1) == FLUID_FAILED) {
        std::printf("no sound font at %s: synthesizer notes left out\n", font.c_str());
        delete_fluid_synth(synth);
        delete_fluid_settings(settings);
        return notes;
    }
    const double lead = 0.2;
    for (int program : {24, 25}) { // nylon, steel
        fluid_synth_program_change(synth, 0, program);
        for (int string = LowE; string <= HighE; ++string)
            for (double detune : kDetunes) {
                fluid_synth_pitch_bend(synth, 0, 8192 + int(std::lround(detune / 200.0 * 8192)));
                std::vector<float> left(std::size_t(kRate * 2.8)), right(left.size());
                const std::size_t start = std::size_t(lead * kRate);
                fluid_synth_write_float(synth, int(start), left.data(), 0, 1, right.data(), 0, 1);
                fluid_synth_noteon(synth, 0, OpenStringNote(string), 100);
                fluid_synth_write_float(synth, int(left.size() - start), left.data(), int(start), 1,
                                        right.data(), int(start), 1);
                fluid_synth_noteoff(synth, 0, OpenStringNote(string));
                std::vector<float> mono(left.size());
                for (std::size_t i = 0; i < mono.size(); ++i) mono[i] = 0.5f * (left[i] + right[i]);
                // Let the note die before the next one.
                std::vector<float> rest(static_cast<std::size_t>(kRate)), rest2(rest.size());
                fluid_synth_write_float(synth, int(rest.size()), rest.data(), 0, 1, rest2.data(), 0, 1);
                const double nominal = OpenStringFrequency(string) * std::pow(2.0, detune / 1200.0);
                const double truth = LongWindowFrequency(mono, start + std::size_t(0.3 * kRate),
                                                         std::size_t(1.5 * kRate), nominal);
                facts->fontOffsets.push_back(CentsBetween(truth, nominal));
                facts->steadyDrifts.push_back(
                    CentsBetween(LongWindowFrequency(mono, start + std::size_t(1.05 * kRate), std::size_t(0.75 * kRate), truth),
                                 LongWindowFrequency(mono, start + std::size_t(0.3 * kRate), std::size_t(0.75 * kRate), truth)));
                facts->attackOffsets.push_back(
                    MedianPartialCents(mono, start + std::size_t(0.1 * kRate), std::size_t(0.2 * kRate), truth));
                notes.push_back({program == 24 ? "synth nylon" : "synth steel", string, truth, lead, mono});
            }
    }
    delete_fluid_synth(synth);
    delete_fluid_settings(settings);
    return notes;
}

// ------------------------------------------------------------ the methods

// A method reads a whole note and gives a frequency (0: none) at each of the
// times asked for (seconds into the samples).
using Method = std::function<std::vector<double>(const Note&, const std::vector<double>&)>;

Method Aubio(const char* name, uint_t buffer, bool fold) {
    return [=](const Note& note, const std::vector<double>& times) {
        const uint_t hop = 480;
        aubio_pitch_t* pitch = new_aubio_pitch(name, buffer, hop, kRate);
        aubio_pitch_set_unit(pitch, "Hz");
        aubio_pitch_set_silence(pitch, -90);
        fvec_t* in = new_fvec(hop);
        fvec_t* out = new_fvec(1);
        std::vector<double> readings;
        std::size_t next = 0, fed = 0;
        while (next < times.size() && fed + hop <= note.samples.size()) {
            std::memcpy(in->data, note.samples.data() + fed, hop * sizeof(float));
            aubio_pitch_do(pitch, in, out);
            fed += hop;
            while (next < times.size() && double(fed) / kRate >= times[next] - 1e-9) {
                double f = out->data[0];
                if (fold && f > 0) {
                    const FrequencyRange range = StringRange(note.string, 600);
                    while (f > range.high) f /= 2;
                    while (f < range.low) f *= 2;
                }
                readings.push_back(f);
                ++next;
            }
        }
        del_fvec(out);
        del_fvec(in);
        del_aubio_pitch(pitch);
        return readings;
    };
}

Method Ours(bool fitPartials) {
    return [=](const Note& note, const std::vector<double>& times) {
        PitchEstimator estimator(kRate, PitchEstimator::WindowFor(kRate), fitPartials);
        std::vector<double> readings;
        for (double t : times) {
            const auto end = std::size_t(std::lround(t * kRate));
            readings.push_back(
                estimator.Analyse(note.samples.data() + end - std::size_t(estimator.WindowFrames()),
                                  StringRange(note.string))
                    .frequency);
        }
        return readings;
    };
}

Method Tuner(int mode) {
    return [=](const Note& note, const std::vector<double>& times) {
        TuningAnalyzer analyzer(kRate);
        analyzer.SetString(mode == kAutoString ? kAutoString : note.string);
        std::vector<double> readings;
        std::size_t fed = 0;
        for (double t : times) {
            const auto end = std::size_t(std::lround(t * kRate));
            analyzer.Feed(note.samples.data() + fed, end - fed);
            fed = end;
            const TuningReading& reading = analyzer.Latest();
            // A reading that names another string counts with its
            // frequency: an octave below is an octave error, not a gap.
            readings.push_back(reading.heard ? reading.frequency : 0.0);
        }
        return readings;
    };
}

struct Figures {
    std::vector<double> errors; // |cents|
    int octave = 0, missing = 0;
};

void Measure(const Method& method, const std::vector<Note>& notes, Figures& figures) {
    for (const Note& note : notes) {
        std::vector<double> times;
        for (double t = kFrom; t <= kTo + 1e-9; t += kStep) times.push_back(note.pluckAt + t);
        const std::vector<double> readings = method(note, times);
        for (double f : readings) {
            if (f <= 0) {
                ++figures.missing;
                continue;
            }
            const double cents = std::fabs(CentsBetween(f, note.truth));
            if (cents > 600) ++figures.octave;
            else figures.errors.push_back(cents);
        }
    }
}

void Print(const char* name, Figures figures) {
    std::sort(figures.errors.begin(), figures.errors.end());
    if (figures.errors.empty()) {
        std::printf("  %-30s no readings\n", name);
        return;
    }
    std::printf("  %-30s median %7.2f  worst %8.2f cents   octave errors %4d   missing %4d\n", name,
                figures.errors[figures.errors.size() / 2], figures.errors.back(), figures.octave,
                figures.missing);
}

// Seconds from the pluck to the first reading of the tuner that stays
// within 3 cents until 2 s.
double TimeToStable(const Note& note, int mode) {
    TuningAnalyzer analyzer(kRate);
    analyzer.SetString(mode);
    std::vector<TuningReading> readings;
    const auto end = std::size_t((note.pluckAt + kTo) * kRate);
    analyzer.Feed(note.samples.data(), std::min(end, note.samples.size()), &readings);
    double stableSince = -1;
    for (const TuningReading& reading : readings) {
        const double t = double(reading.frame) / kRate - note.pluckAt;
        if (t < 0) continue;
        const bool good = reading.heard && std::fabs(CentsBetween(reading.frequency, note.truth)) <= 3;
        if (!good) stableSince = -1;
        else if (stableSince < 0) stableSince = t;
    }
    return stableSince;
}

double ThreadCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

double ProcessCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void LiveCapture() {
    if (QStandardPaths::findExecutable("pulseaudio").isEmpty()) {
        std::printf("live: PulseAudio is not installed\n");
        return;
    }
    testsupport::TempFolder runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.Path().c_str());
    QProcess::execute("pulseaudio", {"-n", "--daemonize=yes", "--exit-idle-time=-1",
                                     "--load=module-null-sink sink_name=bench_null",
                                     "--load=module-native-protocol-unix",
                                     "--load=module-remap-source source_name=bench_mic master=bench_null.monitor"});
    std::vector<float> take;
    for (int i = 0; i < 12; ++i) {
        auto pluck = listentest::GuitarPluck(i % 6, 5);
        pluck.leadSeconds = 0;
        pluck.seconds = 1.0;
        listentest::MixInto(take, listentest::Render(pluck, kRate), take.size());
    }
    const std::string file = runtime.Write("take.wav", listentest::WaveFile16(take, kRate));
    {
        MicrophoneTuner tuner;
        const std::string input = tuner.Start("");
        testsupport::WaitFor([&] { QCoreApplication::processEvents(); return tuner.CurrentStatus() == TunerListening::Status::Listening; }, 5000);
        QProcess player;
        player.start("paplay", {"--device=bench_null", QString::fromStdString(file)});
        const double cpu0 = ProcessCpuSeconds();
        const std::int64_t wall0 = listening::ClockMicros();
        int heard = 0, polls = 0;
        testsupport::WaitFor([&] {
            QCoreApplication::processEvents();
            ++polls;
            heard += tuner.Latest().heard ? 1 : 0;
            return false;
        }, 10000);
        const double cpu = ProcessCpuSeconds() - cpu0;
        const double wall = double(listening::ClockMicros() - wall0) / 1e6;
        std::printf("live: input %s, %.1f s, process CPU %.2f %% of a core (capture, analysis, polling), "
                    "heard in %d of %d polls\n",
                    input.c_str(), wall, 100 * cpu / wall, heard, polls);
        player.kill();
        player.waitForFinished();
    }
    QProcess::execute("pulseaudio", {"-k"});
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const bool live = argc > 1 && std::strcmp(argv[1], "--live") == 0;
    std::printf("rendering the sounds ...\n");
    const std::vector<Note> synthetic = SyntheticNotes();
    SoundFacts facts;
    const std::vector<Note> synthesizer = SynthesizerNotes(&facts);
    auto printRange = [](const char* what, std::vector<double> values) {
        if (values.empty()) return;
        std::sort(values.begin(), values.end());
        std::printf("%s: %+.2f .. %+.2f cents\n", what, values.front(), values.back());
    };
    printRange("the synthesizer's notes, their steady pitch against the note asked for (the sound font's tuning)",
               facts.fontOffsets);
    printRange("  their steady pitch, second half of the sustain against the first", facts.steadyDrifts);
    printRange("  their attack (0.1-0.3 s after the pluck) against their steady pitch", facts.attackOffsets);

    const std::vector<std::pair<const char*, Method>> methods = {
        {"aubio yin", Aubio("yin", 4096, false)},
        {"aubio yinfast", Aubio("yinfast", 4096, false)},
        {"aubio yinfft", Aubio("yinfft", 4096, false)},
        {"aubio yinfft 2048", Aubio("yinfft", 2048, false)},
        {"aubio mcomb", Aubio("mcomb", 4096, false)},
        {"aubio fcomb", Aubio("fcomb", 4096, false)},
        {"aubio schmitt", Aubio("schmitt", 4096, false)},
        {"aubio specacf", Aubio("specacf", 4096, false)},
        {"aubio yin, folded", Aubio("yin", 4096, true)},
        {"aubio yinfft, folded", Aubio("yinfft", 4096, true)},
        {"ours: period only", Ours(false)},
        {"ours: period + partial fit", Ours(true)},
        {"tuner as shown, string chosen", Tuner(0)},
        {"tuner as shown, automatic", Tuner(kAutoString)},
    };
    for (const auto& [title, notes] : {std::pair{"synthetic plucked strings", &synthetic},
                                       std::pair{"the synthesizer's guitar notes", &synthesizer}}) {
        if (notes->empty()) continue;
        std::printf("\n%s (%zu notes, readings every 50 ms from 0.25 s to 2 s):\n", title, notes->size());
        for (const auto& [name, method] : methods) {
            Figures figures;
            Measure(method, *notes, figures);
            Print(name, figures);
        }
    }

    std::printf("\nfirst reading that stays within 3 cents, after the pluck:\n");
    for (int mode : {0, kAutoString}) {
        for (const auto& [title, notes] : {std::pair{"synthetic", &synthetic}, std::pair{"synthesizer", &synthesizer}}) {
            std::vector<double> times;
            int never = 0;
            for (const Note& note : *notes) {
                const double t = TimeToStable(note, mode == 0 ? note.string : kAutoString);
                if (t < 0) ++never;
                else times.push_back(t * 1000);
            }
            if (times.empty()) continue;
            std::sort(times.begin(), times.end());
            std::printf("  %-12s %-10s median %5.0f ms  worst %5.0f ms  never %d\n", title,
                        mode == 0 ? "chosen" : "automatic", times[times.size() / 2], times.back(), never);
        }
    }

    // CPU of the analysis alone, per second of sound.
    double sound = 0;
    const double before = ThreadCpuSeconds();
    for (const Note& note : synthetic) {
        TuningAnalyzer analyzer(kRate);
        for (std::size_t at = 0; at + 960 <= note.samples.size(); at += 960) analyzer.Feed(note.samples.data() + at, 960);
        sound += double(note.samples.size()) / kRate;
    }
    std::printf("\nanalysis CPU: %.2f %% of a core (%.0f s of sound in 20 ms blocks)\n",
                100 * (ThreadCpuSeconds() - before) / sound, sound);
    if (live) LiveCapture();
    return 0;
}
