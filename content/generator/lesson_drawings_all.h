#pragma once
// Every drawing of the slide pictures, one function each (the catalogue in
// lesson_drawings.cpp names them), grouped by the file that draws them.

#include "content/generator/lesson_drawparts.h"

namespace art::drawing {

// The fretting hand and the fretboard (lesson_drawings_neck.cpp).
bool DrawChord(Context& ctx);          // chord NAME
bool DrawChords(Context& ctx);         // chords NAME NAME [NAME NAME]
bool DrawChart(Context& ctx);          // chart NAME x 5..12
bool DrawHandOnChord(Context& ctx);    // hand NAME
bool DrawChange(Context& ctx);         // change FROM TO
bool DrawFingering(Context& ctx);      // fingering e0 e1/1 e3/3 ...
bool DrawExerciseNotes(Context& ctx);  // fretboard
bool DrawTuningChart(Context& ctx);    // tuning
bool DrawBassNotes(Context& ctx);      // bass NAME... [alternating]
bool DrawTab(Context& ctx);            // tab BARS [fingers|pima]
bool DrawTabAndStrings(Context& ctx);  // tab-strings
bool DrawTuner(Context& ctx);          // tuner
bool DrawStopwatch(Context& ctx);      // stopwatch NAME NAME

// The hands at the strings (lesson_drawings_hands.cpp).
bool DrawThumbOnString(Context& ctx);  // thumb STRING
bool DrawDamping(Context& ctx);        // damp
bool DrawPalmMute(Context& ctx);       // palm-mute
bool DrawStrum(Context& ctx);          // strum down|up [from STRING]
bool DrawPendulum(Context& ctx);       // pendulum [ghost COUNT]
bool DrawWrist(Context& ctx);          // wrist
bool DrawPimaHand(Context& ctx);       // pima
bool DrawPimaStrings(Context& ctx);    // pima-strings
bool DrawFingerNumbers(Context& ctx);  // finger-numbers
bool DrawPickHold(Context& ctx);       // pick-hold
bool DrawPicks(Context& ctx);          // picks
bool DrawPeg(Context& ctx);            // peg
bool DrawCloth(Context& ctx);          // cloth

// The guitar and the learner (lesson_drawings_scenes.cpp).
bool DrawGuitarFront(Context& ctx);    // guitar
bool DrawGuitarParts(Context& ctx);    // guitar-parts
bool DrawStrings(Context& ctx);        // strings
bool DrawPosture(Context& ctx);        // posture side|front
bool DrawLearner(Context& ctx);        // learner
bool DrawStage(Context& ctx);          // stage
bool DrawCertificate(Context& ctx);    // certificate
bool DrawPracticePlan(Context& ctx);   // practice-plan
bool DrawSongSheet(Context& ctx);      // song-sheet
bool DrawForm(Context& ctx);           // form

// Counting and rhythm (lesson_drawings_music.cpp).
bool DrawNoteValues(Context& ctx);     // note-values
bool DrawBarCounts(Context& ctx);      // bar-counts 3|4
bool DrawPattern(Context& ctx);        // pattern BARS
bool DrawRepeats(Context& ctx);        // repeats
bool DrawFermata(Context& ctx);        // fermata NAME
bool DrawStrokeSigns(Context& ctx);    // stroke-signs
bool DrawSequence(Context& ctx);       // sequence

// How a learner counts the point `units` into bar `bar` (1-based) of the
// exercise: "1".."4", "+" on a half beat, "1 + 2 +" / "3 + 4 +" when the
// exercise counts in eighths; empty between.
QString CountLabel(const content::Exercise& exercise, int perBar, int bar, int units);

} // namespace art::drawing
