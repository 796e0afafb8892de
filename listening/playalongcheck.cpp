#include "listening/playalongcheck.h"

#include "listening/guitarstrings.h"
#include "listening/pitchestimator.h"

#include <aubio/aubio.h>

#include <algorithm>
#include <cmath>
#include <map>

namespace listening {

namespace {

// The onset function: spectra of 1024 frames every 256 (5.8 ms at 44.1
// kHz). Half that window resolves the low strings' partials too coarsely:
// their wobble then reads as rises, and false attacks come.
constexpr int kFluxWindow = 1024;
constexpr int kFluxHop = 256;
// Magnitudes are compressed as log(1 + kCompression |X|) before their rises
// are summed: a soft pluck over a loud ringing string still rises clearly.
constexpr double kCompression = 1;
// An attack must rise above the flux's recent median times kRelative plus
// kAbsolute (the absolute part keeps digital silence and a faint hiss from
// ever counting).
constexpr double kRelative = 2.5;
constexpr double kAbsolute = 0.5;
constexpr double kRecentSeconds = 1.5;
// Where in the first window that rises the attack lies, in ms from the
// window's start (measured on the synthesizer's guitar notes).
constexpr double kAttackInWindowMs = 4;
// A rise counts when it lasts two hops (a new sound rises above the
// spectrum of two windows back in both) or is this much above the
// threshold: a single hop just over it is the hiss or a ringing string's
// wobble.
constexpr double kStrongRise = 1.3;
// A strum's first strings, often softer than the rest and over the last
// chord's ringing, count from this share of the threshold.
constexpr double kStrumShare = 0.8;
// The pitch is read this long after the attack, past the pick's noise.
constexpr double kPitchDelayMs = 30;
constexpr double kPitchWindowMs = 46;
// A single note is searched within a fifth either side of the expected one
// and counts as right within a quarter tone.
constexpr double kPitchSearchCents = 700;
constexpr double kRightNoteCents = 50;
// A chord's spectrum: 8192 frames from kPitchDelayMs after the strum; a
// chord note is present when the spectrum has a peak within kChordCents of
// its fundamental no more than kChordRangeDb below the strongest of the
// chord's fundamentals. Measured on the synthesizer's strums: the strings
// struck lie within 13 dB of one another, a string left out reads 25 dB or
// more below (what leaks from its neighbours). A string left out whose note
// another string doubles an octave lower cannot be told: that string's
// second partial stands in for it. Half the length (93 ms, a mark 100 ms
// sooner) no longer told a missing A3 beside a D3.
constexpr int kChordFft = 8192;
constexpr double kChordCents = 40;
constexpr double kChordRangeDb = 19;
// A chord is first looked at sooner, in 4608 frames (104 ms) from 25 ms
// after the strum, zero-padded to the same length: there the strings struck
// read within 14 dB of the strongest and a string left out 16.6 dB or more
// below, too close to tell by one limit. So the short look decides only a
// chord whose every note stands within kChordSureDb (most chords played
// right, marked about 90 ms sooner); any doubt waits for the long spectrum.
constexpr int kEarlyChordWindow = 4608;
constexpr double kEarlyChordDelayMs = 25;
constexpr double kChordSureDb = 12;

double Median(std::vector<float> values) {
    if (values.empty()) return 0;
    const auto middle = values.begin() + std::ptrdiff_t(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

} // namespace

const char* VerdictWord(Verdict verdict) {
    switch (verdict) {
    case Verdict::OnTime: return "on time";
    case Verdict::Early: return "early";
    case Verdict::Late: return "late";
    case Verdict::Wrong: return "wrong";
    case Verdict::Missed: return "missed";
    }
    return "?";
}

CheckWindows WindowsForLevel(int level) {
    if (level >= 8) return {30, 200};
    if (level >= 5) return {40, 250};
    return {50, 300};
}

CheckSummary Summarize(const ExercisePart& part, const std::vector<NoteResult>& results) {
    CheckSummary summary;
    summary.notes = int(part.strikes.size());
    std::map<int, int> faultsByBar;
    for (const NoteResult& result : results) {
        if (result.verdict == Verdict::OnTime) {
            ++summary.onTime;
        } else {
            ++faultsByBar[part.strikes[result.strike].bar];
        }
    }
    for (const auto& [bar, faults] : faultsByBar)
        if (faults > summary.worstBarFaults) {
            summary.worstBar = bar;
            summary.worstBarFaults = faults;
        }
    return summary;
}

struct PlayAlongCheck::Spectra {
    explicit Spectra(int rate)
        : fluxFft(new_aubio_fft(kFluxWindow)), fluxIn(new_fvec(kFluxWindow)), fluxOut(new_cvec(kFluxWindow)),
          chordFft(new_aubio_fft(kChordFft)), chordIn(new_fvec(kChordFft)), chordOut(new_cvec(kChordFft)),
          pitch(rate, std::max(256, int(std::lround(rate * kPitchWindowMs / 1000)))),
          levels(3, std::vector<double>(kFluxWindow / 2 + 1, 0.0)) {
        for (int i = 0; i < kFluxWindow; ++i) fluxTaper.push_back(float(0.5 - 0.5 * std::cos(2 * M_PI * i / kFluxWindow)));
        for (int i = 0; i < kChordFft; ++i) chordTaper.push_back(float(0.5 - 0.5 * std::cos(2 * M_PI * i / kChordFft)));
        for (int i = 0; i < kEarlyChordWindow; ++i)
            earlyTaper.push_back(float(0.5 - 0.5 * std::cos(2 * M_PI * i / kEarlyChordWindow)));
    }
    ~Spectra() {
        del_aubio_fft(fluxFft);
        del_fvec(fluxIn);
        del_cvec(fluxOut);
        del_aubio_fft(chordFft);
        del_fvec(chordIn);
        del_cvec(chordOut);
    }
    // The flux of the window of kFluxWindow frames from `frames`: how far
    // each bin's level rises above the loudest of it and its two neighbours
    // two windows back. Comparing with the neighbours and further back keeps
    // a ringing string's slight wobble in pitch and loudness from counting
    // as a rise; a new note rises far above it.
    double Flux(const float* frames) {
        for (int i = 0; i < kFluxWindow; ++i) fluxIn->data[i] = frames[i] * fluxTaper[std::size_t(i)];
        aubio_fft_do(fluxFft, fluxIn, fluxOut);
        const std::size_t bins = levels[0].size();
        std::vector<double>& now = levels[2];
        for (std::size_t k = 0; k < bins; ++k) now[k] = std::log1p(kCompression * fluxOut->norm[k]);
        const std::vector<double>& back = levels[0];
        double flux = 0;
        for (std::size_t k = 1; k + 1 < bins; ++k)
            flux += std::max(0.0, now[k] - std::max({back[k - 1], back[k], back[k + 1]}));
        std::rotate(levels.begin(), levels.begin() + 1, levels.end());
        return flux;
    }
    aubio_fft_t* fluxFft;
    fvec_t* fluxIn;
    cvec_t* fluxOut;
    aubio_fft_t* chordFft;
    fvec_t* chordIn;
    cvec_t* chordOut;
    PitchEstimator pitch;
    std::vector<float> fluxTaper, chordTaper, earlyTaper;
    std::vector<std::vector<double>> levels; // two windows back, one back, now
};

PlayAlongCheck::PlayAlongCheck(const ExercisePart& part, int level, int sampleRate,
                               std::int64_t recordingStartMicros)
    : part_(part), windows_(WindowsForLevel(level)), rate_(std::max(sampleRate, 8000)),
      startMicros_(recordingStartMicros), spectra_(std::make_unique<Spectra>(rate_)) {}

PlayAlongCheck::~PlayAlongCheck() = default;

std::int64_t PlayAlongCheck::FileMicrosOfFrame(double frame) const {
    return startMicros_ + std::int64_t(std::llround(frame * 1e6 / rate_));
}

double PlayAlongCheck::FrameOfFileMicros(std::int64_t micros) const {
    return double(micros - startMicros_) * rate_ / 1e6;
}

// Half the distance to the nearer neighbour, so that no two strikes look at
// the same attack, and never more than the level's search window.
std::int64_t PlayAlongCheck::SearchHalfWidth(std::size_t strike) const {
    std::int64_t half = std::int64_t(windows_.searchMs) * 1000;
    const auto& strikes = part_.strikes;
    if (strike > 0) half = std::min(half, (strikes[strike].micros - strikes[strike - 1].micros) / 2);
    if (strike + 1 < strikes.size()) half = std::min(half, (strikes[strike + 1].micros - strikes[strike].micros) / 2);
    return half;
}

std::int64_t PlayAlongCheck::DecidedBy(std::size_t strike) const {
    const double afterAttackMs = kPitchDelayMs + double(kChordFft) * 1000 / rate_;
    return part_.strikes[strike].micros + SearchHalfWidth(strike) + std::int64_t(afterAttackMs * 1000) +
           std::int64_t(double(kFluxWindow) * 1e6 / rate_);
}

void PlayAlongCheck::Feed(const float* frames, std::size_t count) {
    samples_.insert(samples_.end(), frames, frames + count);
    AnalyseHops();
    DecideReady();
}

void PlayAlongCheck::Finish() {
    while (!Done()) results_.push_back(Decide(results_.size()));
}

void PlayAlongCheck::AnalyseHops() {
    while ((flux_.size() * kFluxHop) + kFluxWindow <= samples_.size())
        flux_.push_back(float(spectra_->Flux(samples_.data() + flux_.size() * kFluxHop)));
}

// A strike is decided as soon as its attack and the sound after it are
// in, or, when no attack comes, once its whole window has passed.
void PlayAlongCheck::DecideReady() {
    const std::int64_t heardUpTo = FileMicrosOfFrame(double(samples_.size()));
    while (!Done()) {
        const std::size_t strike = results_.size();
        const double attack = FindAttack(strike);
        const bool soundIn = attack >= 0 && attack + AnalysisFrames(strike) <= double(samples_.size()) &&
                             (!part_.strikes[strike].Chord() || ChordDecidable(strike, attack));
        if (!soundIn && DecidedBy(strike) > heardUpTo) return;
        results_.push_back(Decide(strike));
    }
}

// The frames after an attack that tell what was struck.
double PlayAlongCheck::AnalysisFrames(std::size_t strike) const {
    const double delay = kPitchDelayMs * rate_ / 1000;
    if (part_.strikes[strike].notes.size() == 1) return delay + spectra_->pitch.WindowFrames();
    return kEarlyChordDelayMs * rate_ / 1000 + kEarlyChordWindow;
}

double PlayAlongCheck::LongChordFrames() const {
    return kPitchDelayMs * rate_ / 1000 + kChordFft;
}

// A chord can be decided once its long spectrum is in, or sooner when the
// short one leaves no doubt.
bool PlayAlongCheck::ChordDecidable(std::size_t strike, double attackFrame) {
    if (attackFrame + LongChordFrames() <= double(samples_.size())) return true;
    const std::size_t from = std::size_t(attackFrame + kEarlyChordDelayMs * rate_ / 1000);
    const std::vector<double> levels = ChordLevels(strike, from, spectra_->earlyTaper);
    return std::all_of(levels.begin(), levels.end(), [](double db) { return db >= -kChordSureDb; });
}

// Each note's fundamental in the spectrum of the frames from `from` under
// `taper`, in dB below the strongest of them (-infinity for nothing).
std::vector<double> PlayAlongCheck::ChordLevels(std::size_t strike, std::size_t from, const std::vector<float>& taper) {
    const std::vector<int>& notes = part_.strikes[strike].notes;
    for (int i = 0; i < kChordFft; ++i)
        spectra_->chordIn->data[i] = std::size_t(i) < taper.size() ? samples_[from + std::size_t(i)] * taper[std::size_t(i)] : 0.0f;
    aubio_fft_do(spectra_->chordFft, spectra_->chordIn, spectra_->chordOut);
    const double bin = double(rate_) / kChordFft;
    std::vector<double> peaks;
    for (int note : notes) {
        const double factor = std::pow(2.0, kChordCents / 1200);
        const double frequency = NoteFrequency(note);
        const int low = std::max(1, int(std::floor(frequency / factor / bin)));
        const int high = std::min(kChordFft / 2, int(std::ceil(frequency * factor / bin)));
        double peak = 0;
        for (int k = low; k <= high; ++k) peak = std::max(peak, double(spectra_->chordOut->norm[k]));
        peaks.push_back(peak);
    }
    const double strongest = *std::max_element(peaks.begin(), peaks.end());
    std::vector<double> levels;
    for (const double peak : peaks)
        levels.push_back(strongest > 0 && peak > 0 ? 20 * std::log10(peak / strongest) : -INFINITY);
    return levels;
}

double PlayAlongCheck::Threshold(std::size_t hop) const {
    const std::size_t recent = std::size_t(kRecentSeconds * rate_ / kFluxHop);
    const std::size_t from = hop > recent ? hop - recent : 0;
    const std::vector<float> before(flux_.begin() + std::ptrdiff_t(from), flux_.begin() + std::ptrdiff_t(hop));
    return kRelative * Median(before) + kAbsolute;
}

// Hop h's window covers frames h*hop .. h*hop + window. The first rise
// within the strike's window that counts is its attack (so that a
// note played is marked as soon as its sound is in); a strum begins with its
// first string, often softer than the rest and over the last chord's
// ringing, so the attack is put where the rise leading to it began (within
// a strum's spread, down to kStrumShare of the threshold).
double PlayAlongCheck::FindAttack(std::size_t strike) const {
    const std::int64_t expected = part_.strikes[strike].micros;
    const std::int64_t half = SearchHalfWidth(strike);
    const double attackInWindow = kAttackInWindowMs * rate_ / 1000;
    const double firstFrame = FrameOfFileMicros(expected - half) - attackInWindow;
    const double lastFrame = FrameOfFileMicros(expected + half) - attackInWindow;
    const std::size_t first = std::size_t(std::max(2.0, std::ceil(firstFrame / kFluxHop)));
    const std::size_t last = std::size_t(std::max(0.0, std::floor(lastFrame / kFluxHop)));
    if (first > last || first >= flux_.size()) return -1;
    const double threshold = Threshold(first);
    std::size_t rise = 0;
    for (std::size_t hop = first; hop <= last && hop + 1 < flux_.size() && rise == 0; ++hop)
        if (flux_[hop] > threshold && (flux_[hop + 1] > threshold || flux_[hop] > kStrongRise * threshold))
            rise = hop;
    if (rise == 0) return -1;
    const auto spread = std::size_t(double(kStrumSpreadMicros) * rate_ / 1e6 / kFluxHop);
    const std::size_t earliest = std::max(first, rise > spread ? rise - spread : 0);
    while (rise > earliest && flux_[rise - 1] > kStrumShare * threshold) --rise;
    return double(rise * kFluxHop) + attackInWindow;
}

NoteResult PlayAlongCheck::Decide(std::size_t strike) {
    NoteResult result;
    result.strike = strike;
    const double attack = FindAttack(strike);
    if (attack < 0) return result; // missed
    result.heard = true;
    result.offsetMs = double(FileMicrosOfFrame(attack) - part_.strikes[strike].micros) / 1000;
    CheckPitch(strike, attack, result);
    if (!result.missingNotes.empty()) {
        result.verdict = Verdict::Wrong;
    } else if (std::abs(result.offsetMs) <= windows_.onTimeMs) {
        result.verdict = Verdict::OnTime;
    } else {
        result.verdict = result.offsetMs < 0 ? Verdict::Early : Verdict::Late;
    }
    return result;
}

// Fills missingNotes with the expected notes not heard (for a single note:
// the note, when another pitch or none was read).
void PlayAlongCheck::CheckPitch(std::size_t strike, double attackFrame, NoteResult& result) {
    const std::vector<int>& notes = part_.strikes[strike].notes;
    const std::size_t from = std::size_t(attackFrame + kPitchDelayMs * rate_ / 1000);
    if (notes.size() == 1) {
        PitchEstimator& pitch = spectra_->pitch;
        const double expected = NoteFrequency(notes[0]);
        if (from + std::size_t(pitch.WindowFrames()) <= samples_.size()) {
            const double factor = std::pow(2.0, kPitchSearchCents / 1200);
            const PitchEstimate estimate = pitch.Analyse(samples_.data() + from, {expected / factor, expected * factor});
            if (estimate.frequency > 0) {
                result.pitched = true;
                result.cents = CentsBetween(estimate.frequency, expected);
            }
        }
        if (!result.pitched || std::abs(result.cents) > kRightNoteCents) result.missingNotes = notes;
        return;
    }
    // The long spectrum where it is in; else (a chord decided early, or
    // the recording ended) the short one, where only a note standing well
    // clear counts.
    std::vector<double> levels;
    double range = kChordRangeDb;
    if (double(from) + kChordFft <= double(samples_.size())) {
        levels = ChordLevels(strike, from, spectra_->chordTaper);
    } else if (const auto early = std::size_t(attackFrame + kEarlyChordDelayMs * rate_ / 1000);
               early + kEarlyChordWindow <= samples_.size()) {
        levels = ChordLevels(strike, early, spectra_->earlyTaper);
        range = kChordSureDb;
    } else {
        result.missingNotes = notes;
        return;
    }
    for (std::size_t i = 0; i < notes.size(); ++i)
        if (!(levels[i] >= -range)) result.missingNotes.push_back(notes[i]);
}

} // namespace listening
