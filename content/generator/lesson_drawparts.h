#pragma once
// The pieces the slide pictures' drawings are made of (lesson_drawings*.cpp):
// the drawing context with its arguments and language, arrows, labels,
// stylised limbs (hands and figures as strokes with an outline), chord
// diagrams with finger numbers, a fretboard seen as in tablature, the strings
// seen from the player, a staff with note heads and rests. All sizes are
// pixels of the 192 x 110 drawing area above a picture's caption.

#include "content/generator/lesson_drawings.h"

#include <QColor>
#include <QPainterPath>
#include <QPointF>
#include <QString>
#include <optional>
#include <string>
#include <vector>

namespace art::drawing {

// One drawing being made: where, from what, with which arguments.
struct Context {
    QPainter& p;
    QRectF area;
    const DrawingSource& source;
    std::vector<std::string> args; // the words after the drawing's name
    std::string& error;

    bool English() const { return source.lesson.edition == content::Edition::English; }
    // The German or the English words, by the lesson's edition.
    QString Say(const char* german, const char* english) const;
    // Sets the error and returns false, for `return Fail("...")`.
    bool Fail(const std::string& why) const;
    // The chord shape named `name`, or null (with the error set).
    const content::ChordShape* Chord(const std::string& name) const;
    // The exercise's bars `first`..`last` (1-based, "2" or "1-2" in args[index]);
    // false with the error set when they do not exist.
    bool Bars(std::size_t index, int& first, int& last) const;
    bool Has(const std::string& word) const; // an argument equal to `word`

    // Words drawn in `box` (Qt alignment `flags`, word wrap if asked), or
    // centred on `centre` on one line. Words that need more room than they
    // have, or leave the picture, are remembered in `overflow` and fail the
    // drawing: the English words are longer, and no word may be cut off.
    void Words(const QRectF& box, int flags, const QString& text, int pixels, bool bold, QColor colour);
    void Label(QPointF centre, const QString& text, int pixels, bool bold, QColor colour);
    QString overflow;
};

// One function per drawing name; each draws into ctx.area and returns false
// (with ctx.error) when its arguments do not fit.
using DrawingFunction = bool (*)(Context&);

// ---- Primitives.

// A straight arrow with a filled head at `to`.
void Arrow(QPainter& p, QPointF from, QPointF to, QColor colour, double width, double head = 5,
           bool dashed = false);
// A curved arrow from `from` over `via` (a quadratic control point) to `to`.
void CurvedArrow(QPainter& p, QPointF from, QPointF via, QPointF to, QColor colour, double width,
                 double head = 5, bool dashed = false);
// `text` centred on `centre` (or aligned in `box`) in Liberation Sans.
void Text(QPainter& p, QPointF centre, const QString& text, int pixels, bool bold, QColor colour);
void TextIn(QPainter& p, const QRectF& box, int flags, const QString& text, int pixels, bool bold, QColor colour);
// A round marker with a number or letter inside: a fingertip, a finger number.
void Marker(QPainter& p, QPointF centre, double radius, const QString& label, QColor fill,
            QColor ink = QColor());

// A limb: a stroke of `width` from `a` to `b` with round ends. Limbs drawn
// together with DrawLimbs merge into one silhouette with one outline.
struct Limb {
    QPointF a, b;
    double width;
};
void DrawLimbs(QPainter& p, const std::vector<Limb>& limbs, QColor fill, QColor outline, double line = 1.2);

// A fretting or picking hand seen from its back or its palm: a palm and
// fingers (index 0 = thumb .. 4 = little finger) ending at `tips`, each
// finger from its knuckle on the palm. Returns the fingertips.
struct HandPose {
    QPointF palm;      // centre of the palm
    double palmWidth;  // across the knuckles
    double angle;      // degrees; 0 = fingers pointing up, positive turns clockwise
    bool thumbRight;   // the thumb on the right of the palm (in the hand's own frame)
    std::vector<QPointF> tips; // 5 tips, thumb first; a tip at its knuckle curls the finger in
    double fingerWidth = 7;
};
void DrawHand(QPainter& p, const HandPose& hand);
// The knuckle on the palm where finger `finger` (0 thumb .. 4 little) starts.
QPointF Knuckle(const HandPose& hand, int finger);

// ---- The guitar.

// A chord diagram in `box` (strings top to bottom as frets, low E left):
// nut, `frets` frets, x and o above, dots with the finger number inside.
// Hollow dots (`hollow`) show a chord the fingers come from.
void ChordDiagram(QPainter& p, const QRectF& box, const content::ChordShape& shape, int frets = 4,
                  bool hollow = false);
// The dot centre of string `string` (0 low E) at fret `fret` in a diagram box.
QPointF DiagramPoint(const QRectF& box, int string, int fret, int frets = 4);

// A stretch of fretboard as tablature shows it: high e at the top, the nut
// at the left, frets 1..`frets`; strings named in the edition's language at
// the left edge.
struct Fretboard {
    QRectF box;
    int frets = 5;
    double Y(int string) const;            // string 0 = low E (bottom) .. 5 = high e (top)
    double X(int fret) const;              // the middle of fret `fret`'s space; 0 = before the nut
    double Wire(int fret) const;           // x of fret wire `fret` (0 = the nut)
};
void DrawFretboard(QPainter& p, const Fretboard& board, bool english, bool numbers = true);

// The six strings seen from the player looking down at the guitar: low E at
// the top, high e at the bottom, running left to right, named at the left.
struct StringBand {
    QRectF box;
    double Y(int string) const; // 0 = low E (top) .. 5 = high e (bottom)
};
void DrawStringBand(QPainter& p, const StringBand& band, bool english, bool names = true,
                    bool soundHole = false);

// The edition's name of string `string` (0 = low E): E A D g h e / E A D G B E.
QString StringName(int string, bool english);
// The edition's name of a note (MIDI number): "H", "Fis" / "B", "F#".
QString NoteName(int midi, bool english);

// An upright acoustic guitar seen from the front in `box` (head at the top).
void DrawUprightGuitar(QPainter& p, const QRectF& box);
// A guitar seen from its edge for the side view of a player: the body as a
// slab centred at `body`, the neck rising toward `head`.
void DrawGuitarEdge(QPainter& p, QPointF body, QPointF head, double scale);

// ---- Music.

// A five-line staff from `left` to `right` whose top line is at `top`, lines
// `gap` apart. Returns the y of the middle line.
double Staff(QPainter& p, double left, double right, double top, double gap);
// A note head (filled or hollow) with an optional stem, centred on `at`.
void Note(QPainter& p, QPointF at, double gap, bool filled, bool stem, bool flag = false);
// A rest of `beats` (4, 2, 1, 1/2) on a staff whose middle line is at `mid`.
void Rest(QPainter& p, double x, double mid, double gap, double beats);
// A strum arrow at `x` from `top` to `bottom` (pointing down unless `up`).
void StrumArrow(QPainter& p, double x, double top, double bottom, bool up, QColor colour,
                bool dashed = false);

} // namespace art::drawing
