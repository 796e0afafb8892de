#include "listening/clickcalibration.h"

#include "listening/playalongcheck.h"

#include <algorithm>
#include <cmath>

namespace listening {

namespace {

constexpr int kResolution = 480; // ticks a beat
constexpr int kClickTicks = 60;  // an eighth of a beat long
constexpr int kPercussionChannel = 9;
constexpr int kVelocity = 127;

// The onset envelope's hop: a millisecond.
constexpr double kHopSeconds = 0.001;

// Where a click's sound is looked for, from its heard time: from a little
// before (a delay can be negative when the synthesizer's latency is over-
// reported) to well after, never into the next click.
constexpr std::int64_t kLookBeforeMicros = 100000;
constexpr std::int64_t kLookAfterMicros = 400000;
// The peak must stand this far above the recording's quiet (as a ratio of
// levels: 12 dB), and rise this far above what sounded before it in the
// window (10 dB: a click's sound is gone before the next).
constexpr double kClearOfNoise = 4.0;
constexpr double kRise = 3.0;
// The attack is where the level has risen this share of the way from the
// floor before it to the peak.
constexpr double kAttackShare = 0.3;
// A hand scatters around the clicks; the clicks themselves agree.
constexpr double kClickAgreement = 10000, kStrikeAgreement = 45000;
// The recording's quiet: this share of its hops is quieter (the lead
// before the first click is quiet in any case).
constexpr double kQuietShare = 0.02;

void Put(std::string& out, std::uint32_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out += char((value >> (8 * i)) & 0xFF);
}

void PutVariable(std::string& out, std::uint32_t value) {
    std::string bytes(1, char(value & 0x7F));
    while ((value >>= 7) != 0) bytes.insert(bytes.begin(), char(0x80 | (value & 0x7F)));
    out += bytes;
}

// One level per hop: the root mean square of the samples of the `width`
// hops up to it.
std::vector<double> Envelope(const std::vector<float>& recording, std::size_t hop, std::size_t width) {
    std::vector<double> energy(recording.size() / hop);
    for (std::size_t h = 0; h < energy.size(); ++h) {
        double sum = 0;
        for (std::size_t i = h * hop; i < (h + 1) * hop; ++i) sum += double(recording[i]) * recording[i];
        energy[h] = sum;
    }
    std::vector<double> levels(energy.size());
    double sum = 0;
    for (std::size_t h = 0; h < energy.size(); ++h) {
        sum += energy[h];
        if (h >= width) sum -= energy[h - width];
        levels[h] = std::sqrt(std::max(0.0, sum) / double(hop * width));
    }
    return levels;
}

double Quantile(std::vector<double> values, double share) {
    if (values.empty()) return 0;
    const auto at = values.begin() + std::ptrdiff_t(double(values.size() - 1) * share);
    std::nth_element(values.begin(), at, values.end());
    return *at;
}

// The hop of the attack in [first, last), or -1 when nothing stands clear
// of the quiet and of what rang before: the peak, then back to where the
// level had risen a share of the way to it.
long FindAttack(const std::vector<double>& levels, long first, long last, double noise) {
    first = std::max(first, 0L);
    last = std::min(last, long(levels.size()));
    if (first >= last) return -1;
    long peak = first;
    for (long h = first; h < last; ++h)
        if (levels[std::size_t(h)] > levels[std::size_t(peak)]) peak = h;
    const double top = levels[std::size_t(peak)];
    const double floor = *std::min_element(levels.begin() + first, levels.begin() + peak + 1);
    if (top <= 0 || top < noise * kClearOfNoise || top < floor * kRise) return -1;
    const double attackLevel = floor + (top - floor) * kAttackShare;
    long attack = peak;
    while (attack > first && levels[std::size_t(attack - 1)] >= attackLevel) --attack;
    return attack;
}

} // namespace

std::vector<std::int64_t> CalibrationClickTimes() {
    std::vector<std::int64_t> times;
    for (int i = 1; i <= kCalibrationClicks; ++i) times.push_back(i * kClickSpacingMicros);
    return times;
}

std::int64_t CalibrationLengthMicros() {
    return (kCalibrationClicks + 2) * kClickSpacingMicros;
}

std::string CalibrationClickFile() {
    std::string track;
    PutVariable(track, 0); // tempo: the click spacing a beat
    track += "\xFF\x51\x03";
    Put(track, std::uint32_t(kClickSpacingMicros), 3);
    std::uint32_t wait = kResolution; // one beat of lead
    for (int i = 0; i < kCalibrationClicks; ++i) {
        PutVariable(track, wait);
        track += char(0x90 | kPercussionChannel);
        track += char(kClickNote);
        track += char(kVelocity);
        PutVariable(track, kClickTicks);
        track += char(0x80 | kPercussionChannel);
        track += char(kClickNote);
        track += char(0);
        wait = kResolution - kClickTicks;
    }
    PutVariable(track, wait + kResolution); // a beat to ring out
    track += "\xFF\x2F";
    track += char(0);
    std::string file = "MThd";
    Put(file, 6, 4);
    Put(file, 0, 2); // format 0
    Put(file, 1, 2); // one track
    Put(file, kResolution, 2);
    file += "MTrk";
    Put(file, std::uint32_t(track.size()), 4);
    return file + track;
}

namespace {

// Where each click was heard in the recording, against its time: the
// clicks' own sound, a sharp rise out of the quiet.
std::vector<double> ClickOffsets(const std::vector<float>& recording, int rate, std::int64_t recordingStartMicros) {
    const std::size_t hop = std::max<std::size_t>(1, std::size_t(rate * kHopSeconds));
    const std::vector<double> levels = Envelope(recording, hop, 2);
    const double noise = Quantile(levels, kQuietShare);
    const double hopMicros = double(hop) * 1e6 / rate;
    auto hopAt = [&](std::int64_t fileMicros) {
        return long(std::floor(double(fileMicros - recordingStartMicros) / hopMicros));
    };
    std::vector<double> offsets;
    for (const std::int64_t click : CalibrationClickTimes()) {
        const long attack = FindAttack(levels, hopAt(click - kLookBeforeMicros), hopAt(click + kLookAfterMicros), noise);
        if (attack >= 0) offsets.push_back(double(recordingStartMicros) + attack * hopMicros - double(click));
    }
    return offsets;
}

// The learner's strikes on the clicks, found as the play-along check finds
// a note (a string struck again while it still rings included), so that
// the delay measured is the one the check sees.
std::vector<double> StrikeOffsets(const std::vector<float>& recording, int rate, std::int64_t recordingStartMicros) {
    ExercisePart part;
    part.countInBeats = 1;
    part.tempo = {ExercisePart::TempoStep{0, 0, int(kClickSpacingMicros)}};
    for (const std::int64_t click : CalibrationClickTimes()) {
        ExpectedStrike strike;
        strike.micros = click;
        strike.beat = double(click) / double(kClickSpacingMicros) - 1;
        strike.notes = {40};
        part.strikes.push_back(strike);
    }
    part.endMicros = CalibrationLengthMicros();
    PlayAlongCheck check(part, 1, rate, recordingStartMicros);
    check.Feed(recording.data(), recording.size());
    check.Finish();
    std::vector<double> offsets;
    for (const NoteResult& result : check.Results())
        if (result.heard) offsets.push_back(result.offsetMs * 1000);
    return offsets;
}

} // namespace

CalibrationResult FindClicks(const std::vector<float>& recording, int rate, std::int64_t recordingStartMicros,
                             ClickSource source) {
    CalibrationResult result;
    if (rate <= 0) return result;
    const std::vector<double> offsets = source == ClickSource::Speakers
                                            ? ClickOffsets(recording, rate, recordingStartMicros)
                                            : StrikeOffsets(recording, rate, recordingStartMicros);
    if (offsets.empty()) return result;
    // The clicks agree on one delay; what lies far off it (a cough, a door,
    // a late hand) does not count.
    const double median = Quantile(offsets, 0.5);
    const double agreement = source == ClickSource::Speakers ? kClickAgreement : kStrikeAgreement;
    double sum = 0;
    for (const double offset : offsets)
        if (std::abs(offset - median) <= agreement) {
            sum += offset;
            ++result.found;
        }
    result.delayMicros = std::int64_t(std::llround(sum / result.found));
    return result;
}

std::int64_t DefaultMicrophoneDelay(std::int64_t reportedInputLatencyMicros) {
    constexpr std::int64_t kMost = 200000;
    if (reportedInputLatencyMicros <= 0 || reportedInputLatencyMicros > kMost) return kDefaultMicrophoneDelayMicros;
    return reportedInputLatencyMicros;
}

} // namespace listening
