#pragma once
// The course outline: the 30 lessons as written in content/sources/course/
// (one file "lektionNN.txt" per lesson, the chord shapes in "akkorde.txt" and
// the closing video's explorer entry in "abschluss.txt"), parsed into plain
// data and checked against the lesson registry.
//
// Lesson file format (UTF-8, '#' starts a comment line):
//   key: value lines; [slide A], [slide B], [slide C], [exercise],
//   [exercise language1], [question 1] .. [question 3] open sections.
//   Registry keys: Header, CountInBeats, BeatDisplayOffset (number or
//   "unchanged"), CursorActive (yes/no), PlayCountPreset, AnswerKey,
//   TempoTable, TempoTableOther, CursorGeometry, CursorGeometryLanguage1, Hold.
//   Lesson keys: title (may hold "$n"), explorer, teaches, notation.
//   Slide keys: heading, text (one paragraph each), picture (its caption),
//   draw (the drawing of the picture line before it: a name and arguments,
//   German file only), sample (a chord), video (what one of the lesson's
//   videos shows; its script is in videos.txt).
//   Exercise keys: description, then bar lines "| ev ev | ev ev |", order
//   (bar numbers and ranges, e.g. "1-8 1-8"; default all bars once),
//   counting ("quarters", the default, or "eighths": every beat is an eighth
//   note, counted "1 + 2 +", and a 4/4 bar spans two bars of the outline),
//   fermata (numbers of the bars held longer than written).
//   Question keys: question, choice (a wrong answer), right (the right one).
//
// Score events, separated by blanks inside a bar:
//   -            a rest: the strings are damped, nothing sounds
//   E0 A3 g2+h1  notes: string (E A D g h e, low to high) and fret; '+' joins
//   [Em] [G]^    a strummed chord from akkorde.txt; '^' marks an up-stroke
//   [Am]3 [G]^4  a strum over the three (four) highest strings of the chord only
//   ~ ~^         a missed strum: the hand swings past the strings (down or up)
//                without touching them, and what sounded before rings on
//   any event may end in ":2", ":3", ":4", ":1/2", ":3/2", ":1/4" (beats; 1 by default)

#include "content/generator/course_registry.h"

#include <array>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace content {

constexpr int kUnitsPerBeat = 8; // durations in eighths of a beat, as the MIDI engine counts

struct ScoreEvent {
    enum class Kind { Rest, Notes, Chord, Ghost };
    Kind kind = Kind::Rest;
    std::vector<std::pair<int, int>> notes; // (string 0 = low E .. 5 = high e, fret)
    std::string chord;
    bool upStroke = false;
    int strings = 6; // a chord: struck on this many of the highest strings
    int units = kUnitsPerBeat;
    // A stroke of the hand that sounds (a chord or notes), as opposed to a
    // rest or a missed strum.
    bool Sounds() const { return kind == Kind::Notes || kind == Kind::Chord; }
};

struct Bar {
    std::vector<ScoreEvent> events;
    int units() const;
};

struct Exercise {
    std::string description;
    std::vector<Bar> bars;  // the notation, bar 1 first
    std::vector<int> order; // bar indices (0-based) in the order they are played
    std::vector<std::pair<int, int>> ranges; // the order as written: first and last bar (0-based)
    bool eighths = false;   // every beat is an eighth note; two bars make one 4/4 bar
    std::vector<int> fermataBars; // bar indices (0-based) held longer than written
    int line = 0;           // where the section starts, for messages
    int PlayedBeats(int beatsPerBar) const;
    bool HasFermata(int bar) const;
};

struct Slide {
    int line = 0; // where the section starts, for messages
    std::string heading;
    std::vector<std::string> paragraphs;
    std::vector<std::string> pictures;     // the captions
    std::vector<std::string> drawings;     // per picture: what is drawn ("" = nothing said)
    std::vector<int> pictureLines;         // per picture: its line in the file
    std::vector<std::string> samples;
    std::vector<std::string> videos; // what each of the lesson's videos shows, counted through A, B, C
};

struct Question {
    int line = 0; // where the section starts, 0 when the file has none
    std::string text;
    std::vector<std::string> choices;
    int right = 0; // 1-based box number of the right choice, 0 when none given
};

struct LessonValues {
    std::string header;
    int countInBeats = 0;
    int beatDisplayOffset = 0; // -1: unchanged
    bool cursorActive = false;
    int playCountPreset = -1;
    std::array<int, 3> answerKey{};
    std::array<int, 10> tempo{};
    std::vector<int> tempoOther;
    Geometry geometry{};
    std::vector<double> geometryLanguage1;
    std::array<int, 2> hold{-100, -100};
};

// The course comes in two editions: German, whose files lie in the program
// folder itself, and English, whose files that differ lie in the overlay
// folder "English/" beside them. The English edition's texts come from
// "en/lektionNN.txt" and "en/abschluss.txt"; its registry values, bars and
// answer keys from the German files, and for lessons 12, 17 and 27 its
// exercise, notation and tempo follow the language 1 rows.
enum class Edition { German, English };
inline constexpr Edition kEditions[] = {Edition::German, Edition::English};

// "" or "English/": the edition's folder inside the program folder.
std::string EditionFolder(Edition edition);

struct Lesson {
    int number = -1;
    Edition edition = Edition::German;
    std::string file;
    std::string title;    // Windows-1252 safe text; "$n" is a line break
    std::string explorer; // the explorer's short description
    std::string teaches;
    std::string notation;
    LessonValues values;
    std::array<std::optional<Slide>, 3> slides; // A, B, C
    std::optional<Exercise> exercise;
    std::optional<Exercise> exerciseLanguage1;
    std::array<Question, 3> quiz;
};

struct ChordShape {
    std::string name;
    std::array<int, 6> frets{};   // low E .. high e; -1 = not played
    std::array<int, 6> fingers{}; // the fretting finger of each string (1 index .. 4 little; 0 none)
};

struct Outline {
    std::vector<Lesson> lessons; // 0..29 in order
    std::map<std::string, ChordShape> chords;
    std::string closingTitle, closingText; // explorer entry 30
};

// One lesson file. A text-only file (an English edition's) may hold no
// registry values, bars, order or [exercise language1]: those come from the
// German file. `name` is the file as messages name it.
Lesson ParseLessonFile(const std::string& path, const std::string& name, bool textOnly,
                       std::vector<std::string>& errors);
// The closing video's title and explorer text.
void ParseClosingFile(const std::string& path, const std::string& name, std::string& title,
                      std::string& text, std::vector<std::string>& errors);

// Reads the outline from `folder`. Every problem found is appended to `errors`
// as "file:line: message"; the outline is still returned as far as it parsed.
Outline LoadOutline(const std::string& folder, std::vector<std::string>& errors);

// The English edition from `folder` + "/en" over the German outline: the
// German lessons with the English texts, and for lessons with language 1
// rows their exercise, tempo and geometry. Checks that every English file
// matches its German file's structure (same slide windows, the same number
// of pictures and the same samples per window, the same number of choices
// and the right answer in the same box). A lesson whose English file is
// missing keeps its German texts, with a note in `notes`.
Outline LoadEnglishOutline(const std::string& folder, const Outline& german, std::vector<std::string>& errors,
                           std::vector<std::string>& notes);

// Both editions, German first, each read and checked; false with `errors`
// when either has problems.
bool LoadEditions(const std::string& folder, std::vector<Outline>& editions, std::vector<std::string>& errors,
                  std::vector<std::string>& notes);

// Checks the outline's completeness and its agreement with the lesson registry:
// registry values, slide windows, quiz answers, bar lengths, chord names, and
// that every exercise beat falls where the play cursor expects it.
void ValidateOutline(const Outline& outline, std::vector<std::string>& errors);

// The fastest a learner's hand has to strike at level 10 (strokes a second).
inline constexpr double kMostStrokesPerSecond = 5.0;

// Where the right answers of the course's quizzes lie: per box (1..6) how
// many questions have their right answer there, and how often the right
// answer is the last box or the longest answer of its question, the two
// give-aways of a quiz that can be passed by guessing.
struct QuizBalance {
    std::array<int, 7> perBox{}; // [1..6]
    int questions = 0;
    int last = 0;
    int longest = 0;
    std::string Summary() const; // "boxes 1-6: 16 21 22 27 3 1; last 30, longest 20 of 90"
};
QuizBalance MeasureQuizzes(const Outline& outline);

// At most a third of the right answers may sit in one box, in the last box
// of their question, or be its longest answer (with four answers a guesser
// hits a quarter), and at least an eighth must be last and longest: a quiz
// whose right answer is never the last or the longest gives itself away
// too. `edition` names the outline in the messages.
void CheckQuizBalance(const Outline& outline, const std::string& edition, std::vector<std::string>& errors);

// Checks every lesson's [exercise] against the lesson's own values (its
// edition's geometry, hold and cursor): bar lengths, chords, the notation's
// length and that every beat falls where the play cursor points.
void ValidateExercises(const Outline& outline, std::vector<std::string>& errors);

// The playing order as repeat signs can print it: runs of bars (first, last,
// 0-based) with how often each is played in a row, ascending and without
// overlap; empty when the order jumps back in a way repeat signs cannot show.
struct RepeatedRun {
    int first = 0;
    int last = 0;
    int times = 1;
};
std::vector<RepeatedRun> RepeatedRuns(const Exercise& exercise);

// MIDI note of a string and fret (standard tuning E2 A2 D3 G3 B3 E4).
int StringNote(int string, int fret);

// The strings a chord event strikes, low to high: the chord's played strings,
// only the event's highest `strings` of them.
std::vector<int> StruckStrings(const ScoreEvent& event, const ChordShape& shape);

// The fastest the hand strikes in the exercise at `tempo` beats per minute:
// strokes per second over the shortest gap between two sounding events in
// playing order (a chord is one stroke, however many strings it sounds).
double FastestStrokesPerSecond(const Exercise& exercise, int tempo);

// One note of an exercise as it is played: start and length in eighths of a
// beat from the first exercise beat (the count-in comes before it), the MIDI
// note, and for strummed chords the stroke direction and the note's place in
// the strum (0 = struck first), so that a player can spread the strum.
struct PlayedNote {
    int start = 0;
    int length = 0;
    int note = 0;
    bool upStroke = false;
    int strumIndex = 0;
};

// The exercise's notes in playing order: the bars in `order`, chords voiced
// from the outline's chord shapes, low string first on a down-stroke and high
// string first on an up-stroke. Unknown chords sound nothing. A missed strum
// lets the notes of the stroke before it ring on through its length.
std::vector<PlayedNote> PlayedNotes(const Exercise& exercise, const Outline& outline);

} // namespace content
