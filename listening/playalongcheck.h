#pragma once
// PlayAlongCheck: hears a learner play along with an exercise and judges
// every note or chord the exercise expects: on time, early, late, a wrong
// note, or missed. It is fed the recording block by block while the pass
// runs (or a whole file at once) and decides each expected strike as soon
// as enough sound after it has come in, so that the screen can mark it
// while the pass goes on.
//
// Where a strike begins is found by a detector of our own (spectral flux of
// log-compressed magnitudes, each bin measured against the loudest of its
// neighbours two windows back) that knows where to look: only within a
// window around the strike's expected time, taking the strongest rise there
// that stands clear of the flux's recent median. aubio's blind detectors
// (Kullback-Liebler with whitening, complex domain) lost soft plucks over a
// ringing string and over a hissing microphone and found false onsets in
// the ringing; this one, on the synthesizer's takes of 48 single notes and
// 43 strums over a hiss at -66 dB, found every strike within -12 .. +8 ms
// and nothing where nothing was played.
//
// What was struck is then checked a little after the attack: a single note
// by its pitch (the tuner's estimator, within a fifth either side), a chord
// by the presence of each of its notes' fundamentals in the spectrum (a
// short one first, decisive when every note stands clear; else a long one).
//
// Times are microseconds of the exercise file (0 = its first count-in
// click); the recording's first frame lies at a file time the caller gives.

#include "listening/exercisepart.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace listening {

enum class Verdict { OnTime, Early, Late, Wrong, Missed };

// The English word of a verdict, as zupfari-listen prints it.
const char* VerdictWord(Verdict verdict);

// How far from its time a note still counts as on time, and how far either
// side of it an attack is looked for (at most; less where the neighbours
// are close).
struct CheckWindows {
    int onTimeMs = 30;
    int searchMs = 200;
};
// The slower the level, the longer the learner's notes and the harder it is
// to place a note exactly between slow beats: ±30 ms at levels 8 to 10, ±40
// at 5 to 7, ±50 at 1 to 4.
CheckWindows WindowsForLevel(int level);

struct NoteResult {
    std::size_t strike = 0; // index into the part's strikes
    Verdict verdict = Verdict::Missed;
    bool heard = false;     // an attack was found (offsetMs is meaningful)
    double offsetMs = 0;    // the attack against the expected time
    bool pitched = false;   // a single note's pitch was read (cents is meaningful)
    double cents = 0;       // the pitch read against the expected note
    std::vector<int> missingNotes; // a chord's notes not found
};

struct CheckSummary {
    int notes = 0;
    int onTime = 0;
    int worstBar = 0;      // the bar with the most notes not on time; 0 for none
    int worstBarFaults = 0;
};
CheckSummary Summarize(const ExercisePart& part, const std::vector<NoteResult>& results);

class PlayAlongCheck {
public:
    // `recordingStartMicros`: the file time of the first frame to be fed
    // (negative when the recording began before the count-in).
    PlayAlongCheck(const ExercisePart& part, int level, int sampleRate, std::int64_t recordingStartMicros);
    ~PlayAlongCheck();
    PlayAlongCheck(const PlayAlongCheck&) = delete;
    PlayAlongCheck& operator=(const PlayAlongCheck&) = delete;

    // Feeds the next `count` frames and decides every strike whose sound
    // has all come in.
    void Feed(const float* frames, std::size_t count);
    // The recording ended: decides every strike left (a strike that lies
    // beyond the recording is missed).
    void Finish();

    const std::vector<NoteResult>& Results() const { return results_; }
    bool Done() const { return results_.size() == part_.strikes.size(); }
    const ExercisePart& Part() const { return part_; }
    CheckWindows Windows() const { return windows_; }
    // The onset function so far, one value per 256 frames (for measurements).
    const std::vector<float>& Flux() const { return flux_; }
    // The file time by which a strike is decided at the latest (when no
    // attack comes; a note played is decided as soon as its sound is in).
    std::int64_t DecidedBy(std::size_t strike) const;

private:
    struct Spectra;
    std::int64_t FileMicrosOfFrame(double frame) const;
    double FrameOfFileMicros(std::int64_t micros) const;
    void AnalyseHops();
    void DecideReady();
    double AnalysisFrames(std::size_t strike) const;
    double LongChordFrames() const;
    bool ChordDecidable(std::size_t strike, double attackFrame);
    std::vector<double> ChordLevels(std::size_t strike, std::size_t from, const std::vector<float>& taper);
    NoteResult Decide(std::size_t strike);
    // The attack's frame within the strike's window, or -1 for none.
    double FindAttack(std::size_t strike) const;
    double Threshold(std::size_t hop) const;
    void CheckPitch(std::size_t strike, double attackFrame, NoteResult& result);
    std::int64_t SearchHalfWidth(std::size_t strike) const;

    ExercisePart part_;
    CheckWindows windows_;
    int rate_;
    std::int64_t startMicros_;
    std::vector<float> samples_;
    std::vector<float> flux_; // one value per hop
    std::vector<NoteResult> results_;
    std::unique_ptr<Spectra> spectra_;
};

} // namespace listening
