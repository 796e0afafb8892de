#pragma once
// The lessons' videos as written in content/sources/course/videos.txt: per
// video the view it is drawn in, its tempo and its script of timed steps,
// from which both its frames and its MIDI accompaniment are made. Also the
// fretting-hand fingerings of the chords the videos grip.
//
// File format (UTF-8, '#' starts a comment):
//   fingering: Am 1@h1 2@D2 3@g2     a chord's fingers (finger@string+fret);
//                                    must press exactly the chord's frets
//   [lesson 7 video 1]               one video; K counts the lesson's
//                                    "video:" lines of the outline in order
//   view: fretboard                  fretboard, strum, picking or tuner
//   tempo: 72                        beats per minute
//   pulse: 1/2                       strum view: the pendulum's stroke grid
//   mute: yes                        strum view: the palm damps every stroke
//   string: A                        tuner view: the string being tuned
//   play: ...                        steps, several lines run on; '|' is
//                                    only a visual bar line
//
// Steps, separated by blanks; each may end in ":2", ":1/2" … (beats, 1 by
// default; a change lasts 0 beats by default):
//   -        rest; in the strum view the hand swings past the strings
//   #        the palm lies on the strings and damps them
//   E0 g2    a string plucked (string E A D g h e, fret); '+' joins notes;
//            a trailing '^' is a pick's up-stroke (strum view)
//   2@A2     fretting finger 2 lands on the A string's 2nd fret, which sounds
//   p@E3     picking finger p, i, m or a plays the note
//   [Em]     the chord strummed down; [Em]^ up (the four highest strings);
//            in the picking view i, m and a brush the three high strings
//   >Am      the fretting hand changes to the chord's fingering (>- lifts
//            every finger); in the fretboard view it moves during the step

#include "content/generator/course_outline.h"

#include <map>
#include <string>
#include <vector>

namespace video {

using content::kUnitsPerBeat;

enum class View { Fretboard, Strum, Picking, Tuner };

// A fretting finger (1 index .. 4 little finger) on a string (0 low E ..
// 5 high e) and fret.
struct Placement {
    int finger = 0;
    int string = 0;
    int fret = 0;
    bool operator==(const Placement&) const = default;
};

struct Fingering {
    std::string chord;
    std::vector<Placement> fingers;
};

struct Step {
    enum class Kind { Rest, Damp, Notes, Place, Strum, Change };
    Kind kind = Kind::Rest;
    std::vector<std::pair<int, int>> notes; // (string, fret) for Notes and Place
    int finger = 0;      // Place: the fretting finger
    char picker = 0;     // Notes: 'p', 'i', 'm', 'a', or 0 for the string's own finger
    std::string chord;   // Strum, Change ("-" lifts every finger)
    bool up = false;     // Strum, Notes: an up-stroke
    int units = kUnitsPerBeat;
    int line = 0;
};

struct Script {
    int lesson = -1;
    int number = 0; // 1..3
    int line = 0;   // where its section starts
    View view = View::Fretboard;
    int tempo = 0;
    int pulse = kUnitsPerBeat / 2;
    bool mute = false;
    int tuneString = -1; // tuner view
    std::vector<Step> steps;
};

struct Book {
    std::map<std::string, Fingering> fingerings;
    std::vector<Script> videos; // in file order
    // The script of lesson `lesson`'s video `number`, or nullptr.
    const Script* Find(int lesson, int number) const;
};

// Reads the file; every problem goes to `errors` as "videos.txt:line: message".
Book ParseBook(const std::string& path, const std::string& name, std::vector<std::string>& errors);

// Checks the book against the outline: every fingering presses its chord's
// frets, every lesson's "video:" lines have their script and every script its
// line, and each script makes sense in its view (fingers where a chord is
// strummed, strokes on the pendulum's grid, a known chord and string).
void ValidateBook(const Book& book, const content::Outline& outline, std::vector<std::string>& errors);

// How many "video:" lines the lesson has in all its slide windows.
int VideoCount(const content::Lesson& lesson);

// Reads and checks "videos.txt" of the sources folder against the outline.
bool LoadBook(const std::string& folder, const content::Outline& outline, Book& book,
              std::vector<std::string>& errors);

// "lektionN/VideoK", without extension, relative to the program folder.
std::string VideoBaseName(int lesson, int number);

} // namespace video
