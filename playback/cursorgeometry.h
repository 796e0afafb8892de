#pragma once
// The play cursor's geometry and its pure arithmetic: where on the notation
// the point stands for a given beat. Kept free of widgets so that the content
// generator places the notation with exactly the arithmetic the program's
// play cursor uses.

namespace playback {

// The 18 slots a lesson hands to the play cursor, by name. The defaults are
// those of the cursor before the first lesson opens.
struct CursorGeometry {
    int Spare0 = 1;        // carried, not used
    int OriginY = 1;       // baseline (bottom edge of the point) of the first line
    int LineSpacing = 1;   // distance from one line to the next
    float BeatWidth = 32.0f; // horizontal distance per beat, pixels
    int OriginX = 40;      // left edge of the point at the first beat of a line
    int BeatsPerBar = 4;   // also the step of Forward and Rewind
    int InitialBeat = 1;   // position set when the slots are loaded
    int BeatCount = 0;     // beats the cursor follows
    int WrapLength = 0;    // beats of notation; positions beyond fold back (repeats)
    int BeatsPerLine = 1;  // beats per line of notation
    int Spare10 = 120;     // carried, not used
    int Spare11 = 0;       // not read
    int JumpFrom1 = -1;    // first position at which JumpBy1 beats are skipped; -1: none
    int JumpBy1 = 0;
    int JumpFrom2 = -1;    // position from which JumpBy1 + JumpBy2 beats are skipped; -1: none
    int JumpBy2 = 0;
    int HoldFrom = -100;   // first position of a range in which the point stays
    int HoldTo = -100;     // last position of that range

    bool operator==(const CursorGeometry&) const = default;
};

// Where the point goes for one position.
struct CursorStep {
    bool Held = false;  // the position lies in the hold range: the point stays put
    int SkipApplied = 0; // beats skipped by the jumps
    int Position = 0;   // the reduced position: the notation beat shown (0-based)
    int Row = 0;        // line of notation
    int Column = 0;     // beat within the line
    int PointX = 0;     // left edge of the point
    int PointY = 0;     // baseline of the point
};

// The point's place for `position`: hold range, jumps, one fold by the wrap
// length (followed by the first jump once more), then line and column. The
// column's x is computed with the real BeatWidth and truncated toward zero.
// A geometry with no beats per line lays every beat on one line.
CursorStep ComputeCursorStep(const CursorGeometry& geometry, int position);

// The notation beat shown for `position`, or -1 inside the hold range.
int CursorNotationBeat(const CursorGeometry& geometry, int position);

} // namespace playback
