// Figures of the play-along check, run by hand (not part of the test suite):
//
//   build/tests/playalong_benchmark [LESSON]
//
// - the processor time of checking, as a share of one core over the length
//   of the pass, and beside it the synthesizer's (FluidSynth rendering the
//   exercise with its guitar part muted, as while checking), and the two
//   together;
// - the delay from a played note to its mark: from the moment the note is
//   played to the moment the check has decided it, fed in 20 ms blocks as
//   the microphone delivers them; the program's marks timer (40 ms) and the
//   capture block (20 ms) come on top at worst.
#include "listening/playalongcheck.h"
#include "tests/listening/learnertake.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace {

using namespace listening;
using namespace listentest;

double CpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

double Percentile(std::vector<double> values, double share) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, std::size_t(share * double(values.size())))];
}

} // namespace

int main(int argc, char** argv) {
    const int lesson = argc > 1 ? std::atoi(argv[1]) : 20;
    for (int level : {10, 1}) {
        ExercisePart part;
        std::string error;
        if (!ReadExercisePart(ExerciseFileOf(lesson, level), part, error)) {
            std::fprintf(stderr, "playalong_benchmark: %s\n", error.c_str());
            return 1;
        }
        const double seconds = double(part.endMicros) / 1e6 + 1.5;
        const std::vector<float> take = RenderTake(AsWritten(part), seconds);

        double before = CpuSeconds();
        const std::vector<float> bleed = RenderExercise(ExerciseFileOf(lesson, level), part, true, 1.0);
        const double synthCpu = CpuSeconds() - before;

        constexpr std::size_t kBlock = kTakeRate / 50; // 20 ms
        PlayAlongCheck check(part, level, kTakeRate, 0);
        std::vector<double> delays;
        before = CpuSeconds();
        for (std::size_t at = 0; at < take.size(); at += kBlock) {
            const std::size_t decided = check.Results().size();
            check.Feed(take.data() + at, std::min(kBlock, take.size() - at));
            const double heardMs = double(at + kBlock) * 1000 / kTakeRate;
            for (std::size_t i = decided; i < check.Results().size(); ++i)
                delays.push_back(heardMs - double(part.strikes[i].micros) / 1000);
        }
        check.Finish();
        const double checkCpu = CpuSeconds() - before;
        int onTime = 0;
        std::vector<double> singles, chords;
        for (const NoteResult& result : check.Results()) {
            onTime += result.verdict == Verdict::OnTime;
            if (result.strike < delays.size())
                (part.strikes[result.strike].Chord() ? chords : singles).push_back(delays[result.strike]);
        }
        std::printf("lesson %d level %d: %zu notes over %.1f s, %d on time\n", lesson, level, part.strikes.size(),
                    seconds, onTime);
        std::printf("  CPU: checking %.2f %% of a core, synthesizer %.2f %%, together %.2f %%\n",
                    100 * checkCpu / seconds, 100 * synthCpu / seconds, 100 * (checkCpu + synthCpu) / seconds);
        if (!singles.empty())
            std::printf("  note to decision, single notes: median %.0f ms, p95 %.0f ms, max %.0f ms\n",
                        Percentile(singles, 0.5), Percentile(singles, 0.95), Percentile(singles, 1.0));
        if (!chords.empty())
            std::printf("  note to decision, chords:       median %.0f ms, p95 %.0f ms, max %.0f ms\n",
                        Percentile(chords, 0.5), Percentile(chords, 0.95), Percentile(chords, 1.0));
        std::printf("  (the mark follows within the 40 ms marks timer; a capture block adds up to 20 ms)\n");
    }
    return 0;
}
