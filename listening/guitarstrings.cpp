#include "listening/guitarstrings.h"

#include <cmath>

namespace listening {

namespace {

constexpr int kOpenNotes[kGuitarStrings] = {40, 45, 50, 55, 59, 64};
constexpr const char* kGermanNames[12] = {"C",  "Cis", "D",  "Dis", "E",  "F",
                                          "Fis", "G",  "Gis", "A",  "B",  "H"};
constexpr const char* kEnglishNames[12] = {"C",  "C#", "D",  "D#", "E",  "F",
                                           "F#", "G",  "G#", "A",  "Bb", "B"};

} // namespace

int OpenStringNote(int string) {
    return string >= 0 && string < kGuitarStrings ? kOpenNotes[string] : kOpenNotes[LowE];
}

double NoteFrequency(double midiNote) {
    return 440.0 * std::pow(2.0, (midiNote - 69.0) / 12.0);
}

double OpenStringFrequency(int string) {
    return NoteFrequency(OpenStringNote(string));
}

double CentsBetween(double frequency, double reference) {
    if (frequency <= 0 || reference <= 0) return 0;
    return 1200.0 * std::log2(frequency / reference);
}

int NearestString(double frequency) {
    int best = LowE;
    double bestDistance = 1e9;
    for (int string = 0; string < kGuitarStrings; ++string) {
        const double distance = std::fabs(CentsBetween(frequency, OpenStringFrequency(string)));
        if (distance < bestDistance) {
            bestDistance = distance;
            best = string;
        }
    }
    return best;
}

int NearestNote(double frequency) {
    if (frequency <= 0) return 0;
    return int(std::lround(69.0 + 12.0 * std::log2(frequency / 440.0)));
}

std::string NoteName(int midiNote, int language) {
    const int pitchClass = ((midiNote % 12) + 12) % 12;
    const int octave = midiNote / 12 - 1 - (midiNote < 0 && pitchClass != 0 ? 1 : 0);
    const char* name = language == 0 ? kGermanNames[pitchClass] : kEnglishNames[pitchClass];
    return std::string(name) + std::to_string(octave);
}

FrequencyRange StringRange(int string, double halfWidthCents) {
    const double centre = OpenStringFrequency(string);
    const double factor = std::pow(2.0, halfWidthCents / 1200.0);
    return {centre / factor, centre * factor};
}

FrequencyRange AllStringsRange(double halfWidthCents) {
    return {StringRange(LowE, halfWidthCents).low, StringRange(HighE, halfWidthCents).high};
}

} // namespace listening
