#pragma once
// The six open strings of a guitar in standard tuning and the arithmetic of
// pitches around them: frequencies from MIDI note numbers (A4 = 440 Hz),
// cents between two frequencies, the string nearest to a heard frequency,
// and note names as each edition of the course writes them (German "H",
// "Cis"; English "B", "C#").

#include <string>

namespace listening {

// The strings from the lowest (E2) to the highest (E4); the tuner's own
// order (high e at the top) is the reverse.
enum GuitarString { LowE, StringA, StringD, StringG, StringB, HighE, kGuitarStrings };
// The tuner's "automatisch": the string nearest to what is heard.
inline constexpr int kAutoString = -1;

// MIDI note of an open string: 40, 45, 50, 55, 59, 64.
int OpenStringNote(int string);
// Frequency in Hz of a MIDI note number (fractional notes allowed).
double NoteFrequency(double midiNote);
// The frequency of an open string in standard tuning.
double OpenStringFrequency(int string);
// How far `frequency` lies above `reference`, in cents (negative below).
double CentsBetween(double frequency, double reference);
// The open string whose frequency is nearest to `frequency` (in cents).
int NearestString(double frequency);

// The name of a MIDI note with its octave in the edition's convention:
// language 0 (German) "E2", "H3", "Cis4"; any other "E2", "B3", "C#4".
std::string NoteName(int midiNote, int language);
// The nearest MIDI note to a frequency.
int NearestNote(double frequency);

// The search range for a string: `halfWidthCents` either side of its open
// frequency. The tuner uses 500 cents, which keeps the octaves above and
// below (1200 cents away) out of reach.
struct FrequencyRange {
    double low = 0;
    double high = 0;
};
FrequencyRange StringRange(int string, double halfWidthCents = 500);
// Every string's range joined: what "automatisch" searches.
FrequencyRange AllStringsRange(double halfWidthCents = 500);

} // namespace listening
