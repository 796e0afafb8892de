#include "content/generator/video_frames.h"

#include "content/generator/art_paint.h"
#include "content/generator/video_layout.h"

#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace art {

namespace {

using video::Lamp;
using video::Placement;
using video::Step;
using video::Timeline;
using video::View;
namespace vl = video::layout;

constexpr double kPi = 3.14159265358979323846;
// The hands move on every other frame; the swinging hand on every third.
constexpr int kMotionEvery = 2;
constexpr int kStrumMotionEvery = 3;

// ---------------------------------------------------------------- words

struct Words {
    bool english = false;

    QString Letter(int string) const {
        static const char* german[] = {"E", "A", "D", "g", "h", "e"};
        static const char* other[] = {"E", "A", "D", "G", "B", "E"};
        return QString::fromLatin1((english ? other : german)[string]);
    }
    QString String(int string) const {
        static const char* german[] = {"tiefe E-Saite", "A-Saite", "D-Saite", "g-Saite", "h-Saite", "hohe e-Saite"};
        static const char* other[] = {"low E string", "A string", "D string", "G string", "B string", "high E string"};
        return QString::fromUtf8((english ? other : german)[string]);
    }
    QString Note(int key) const {
        static const char* german[] = {"C", "Cis", "D", "Dis", "E", "F", "Fis", "G", "Gis", "A", "B", "H"};
        static const char* other[] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "Bb", "B"};
        return QString::fromLatin1((english ? other : german)[key % 12]);
    }
    // "A-Saite, 2. Bund" / "A string, fret 2"; "A-Saite leer" / "open A string".
    QString Place(int string, int fret) const {
        if (fret == 0) return english ? QStringLiteral("open ") + String(string) : String(string) + QStringLiteral(" leer");
        return english ? String(string) + QStringLiteral(", fret %1").arg(fret)
                       : String(string) + QStringLiteral(", %1. Bund").arg(fret);
    }
    QString Say(const char* german, const char* other) const { return QString::fromUtf8(english ? other : german); }
};

QString Numbers(const std::vector<int>& numbers) {
    QStringList parts;
    for (int n : numbers) parts << QString::number(n);
    return parts.join(QStringLiteral(", "));
}

// ---------------------------------------------------------------- lamps

// How many frames the sound's lamp stays lit: while the note sounds (at
// least two frames), but dark again in the frame before the same lamp lights
// for its next note. A strum's lamps flash (a third of a second at most) and
// go dark on a frame where the swinging hand moves anyway.
int LitFrames(const Timeline& t, std::size_t index) {
    const video::Sound& sound = t.sounds[index];
    const int frame = t.FrameOf(sound.tick);
    int frames = std::max(2, t.FrameOf(sound.endTick) - frame);
    if (t.view == View::Strum) {
        const int end = std::min(frame + frames, frame + 8);
        frames = (end + kStrumMotionEvery - 1) / kStrumMotionEvery * kStrumMotionEvery - frame;
    }
    for (std::size_t j = index + 1; j < t.sounds.size(); ++j)
        if (t.sounds[j].lamp == sound.lamp && t.FrameOf(t.sounds[j].tick) > frame) {
            frames = std::min(frames, t.FrameOf(t.sounds[j].tick) - frame - 1);
            break;
        }
    return std::max(1, frames);
}

bool LampLit(const Timeline& t, const Lamp& lamp, int frame) {
    for (std::size_t i = 0; i < t.sounds.size(); ++i) {
        if (!(t.sounds[i].lamp == lamp)) continue;
        const int from = t.FrameOf(t.sounds[i].tick);
        if (frame >= from && frame < from + LitFrames(t, i)) return true;
    }
    return false;
}

// A string from `from` to `to` at height y: its core line, and while it
// sounds a blurred band either side, as a vibrating string looks.
void StringLine(QPainter& p, double from, double to, double y, double width, QColor colour, bool sounding) {
    if (sounding) {
        QColor band = colour;
        band.setAlpha(110);
        p.setPen(QPen(band, width + 3.0));
        p.drawLine(QPointF(from, y), QPointF(to, y));
    }
    p.setPen(QPen(colour, width));
    p.drawLine(QPointF(from, y), QPointF(to, y));
}

// Whether a string (or the tuner's tone) sounds at `tick`.
bool Sounding(const Timeline& t, int tick, int string, bool reference = false) {
    return std::any_of(t.sounds.begin(), t.sounds.end(), [&](const video::Sound& s) {
        return s.lamp.string == string && s.lamp.reference == reference && tick >= s.tick && tick < s.endTick;
    });
}

// A lamp disc: lit orange, or dark with its label, or a pale ring.
void Disc(QPainter& p, QPointF centre, double radius, QColor fill, QColor ring, const QString& label, QColor text,
          int fontSize = 10) {
    p.setPen(ring.alpha() ? QPen(ring, 1.2) : Qt::NoPen);
    p.setBrush(fill);
    p.drawEllipse(centre, radius, radius);
    if (label.isEmpty()) return;
    p.setPen(text);
    p.setFont(Sans(fontSize, true));
    p.drawText(QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius), Qt::AlignCenter, label);
}

// ---------------------------------------------------------------- common parts

void Caption(QPainter& p, const QString& text) {
    p.fillRect(vl::kCaption, C("cream-shade"));
    if (text.isEmpty()) return;
    QFont font = Sans(10);
    if (QFontMetricsF(font).horizontalAdvance(text) > vl::kCaption.width() - 8) font = Sans(9);
    p.setFont(font);
    p.setPen(C("ink"));
    p.drawText(vl::kCaption.adjusted(4, 0, -4, 0), Qt::AlignCenter, text);
}

void Header(QPainter& p, const QString& chord, double left) {
    if (chord.isEmpty()) return;
    p.setFont(Sans(14, true));
    p.setPen(C("accent"));
    p.drawText(QRectF(left, 1, 80, 19), Qt::AlignLeft | Qt::AlignVCenter, chord);
}

double Ease(double x) {
    x = std::clamp(x, 0.0, 1.0);
    return x * x * (3 - 2 * x);
}

QString ChordAt(const Timeline& t, int tick) {
    if (t.chords.empty()) return {};
    const int step = std::max(0, t.StepAt(tick)); // before the first step: the chord it is about to play
    return QString::fromStdString(t.chords[static_cast<std::size_t>(step)]);
}

// ---------------------------------------------------------------- fretboard view

QString FretboardCaption(const Timeline& t, int step, const Words& w) {
    // Rests keep the caption of the step before.
    while (step >= 0 && t.steps[static_cast<std::size_t>(step)].kind == Step::Kind::Rest) --step;
    if (step < 0) return {};
    const Step& s = t.steps[static_cast<std::size_t>(step)];
    switch (s.kind) {
    case Step::Kind::Place:
        return w.Say("Finger %1: ", "Finger %1: ").arg(s.finger) + w.Place(s.notes[0].first, s.notes[0].second);
    case Step::Kind::Notes: {
        if (s.notes.size() == 1) {
            const auto [string, fret] = s.notes[0];
            return w.Place(string, fret) + QStringLiteral(": ") + w.Note(content::StringNote(string, fret));
        }
        QStringList parts;
        for (const auto& [string, fret] : s.notes) parts << w.Place(string, fret);
        return parts.join(QStringLiteral(" + "));
    }
    case Step::Kind::Strum:
        return (s.up ? w.Say("Aufschlag: ", "Upstroke: ") : w.Say("Abschlag: ", "Downstroke: ")) +
               QString::fromStdString(s.chord);
    case Step::Kind::Change: {
        if (s.chord == "-") return w.Say("Finger lösen", "Fingers off");
        // The change's own move ends where its step does.
        const video::Moment& moment = t.moments[static_cast<std::size_t>(step)];
        const video::HandMove* move = nullptr;
        for (const video::HandMove& m : t.moves)
            if (m.change && m.endTick == std::max(moment.endTick, moment.tick + 1)) move = &m;
        if (move == nullptr || move->from.empty()) return w.Say("Griff: ", "Chord shape: ") + QString::fromStdString(s.chord);
        QString text = w.Say("Wechsel zu ", "Change to ") + QString::fromStdString(s.chord);
        std::vector<int> anchors, guides;
        for (int finger = 1; finger <= 4; ++finger) {
            const video::Passage passage = video::PassageOf(*move, finger);
            if (passage == video::Passage::Anchor) anchors.push_back(finger);
            if (passage == video::Passage::Guide) guides.push_back(finger);
        }
        if (!anchors.empty()) text += w.Say(" · Anker: ", " · anchor: ") + Numbers(anchors);
        if (!guides.empty()) text += w.Say(" · Führung: ", " · guide: ") + Numbers(guides);
        return text;
    }
    case Step::Kind::Damp: return w.Say("Abdämpfen", "Damp the strings");
    case Step::Kind::Rest: break;
    }
    return {};
}

void Board(QPainter& p, const Timeline& t, int tick, const Words& w) {
    const QRectF board(vl::kNutX, vl::kBoardTop, vl::FretX(vl::kFrets) + 2 - vl::kNutX, vl::kBoardBottom - vl::kBoardTop);
    p.fillRect(board, C("fretboard"));
    p.fillRect(QRectF(vl::kNutX - 4, vl::kBoardTop, 4, board.height()), C("cream-light"));
    for (int f = 1; f <= vl::kFrets; ++f) p.fillRect(QRectF(vl::FretX(f) - 1, vl::kBoardTop, 2, board.height()), C("fret"));
    for (int s = 0; s < 6; ++s) {
        const double y = vl::StringY(View::Fretboard, s);
        const bool wound = s < 3;
        const double width = 1.0 + 0.35 * (5 - s);
        StringLine(p, vl::kNutX - 4, board.right(), y, width, wound ? C("string-wound") : C("string-plain"), Sounding(t, tick, s));
        p.setPen(C("ink"));
        p.setFont(Sans(10, true));
        p.drawText(QRectF(0, y - 7, 12, 14), Qt::AlignCenter, w.Letter(s));
    }
}

// The open strings' lamps before the nut, or a cross on a string the held chord leaves out.
void OpenLamps(QPainter& p, const Timeline& t, const content::Outline& outline, int tick, int frame) {
    const std::string chord = ChordAt(t, tick).toStdString();
    const auto shape = outline.chords.find(chord);
    for (int s = 0; s < 6; ++s) {
        const Lamp lamp{s, 0, false};
        const QPointF centre = vl::LampCentre(View::Fretboard, lamp);
        const bool muted = shape != outline.chords.end() && shape->second.frets[static_cast<std::size_t>(s)] < 0;
        if (LampLit(t, lamp, frame)) {
            Disc(p, centre, vl::kLampRadius, C("accent"), QColor(0, 0, 0, 0), {}, {});
        } else if (muted) {
            p.setPen(QPen(C("ink-soft"), 1.6));
            p.drawLine(centre + QPointF(-4, -4), centre + QPointF(4, 4));
            p.drawLine(centre + QPointF(-4, 4), centre + QPointF(4, -4));
        } else {
            Disc(p, centre, vl::kLampRadius - 1, C("cream-light"), C("ink-soft"), {}, {});
        }
    }
}

QPointF FingerPoint(const Placement& p) {
    return {vl::FretCentreX(p.fret), vl::StringY(View::Fretboard, p.string)};
}

// A fingertip to draw: where, its number, lifted (on its way) or pressing,
// and lit when its string sounds.
struct Tip {
    QPointF at;
    int number = 0;
    bool lifted = false;
    bool lit = false;
};

// The fingers: first their bodies, reaching in from the high strings' side,
// then the tips with their numbers, so that no body covers a tip.
void DrawTips(QPainter& p, const std::vector<Tip>& tips) {
    for (const Tip& tip : tips) {
        QPainterPath body;
        body.moveTo(tip.at + QPointF(-4.5, 0));
        body.lineTo(QPointF(tip.at.x() + 2.5, -4));
        body.lineTo(QPointF(tip.at.x() + 11.5, -4));
        body.lineTo(tip.at + QPointF(4.5, 0));
        body.closeSubpath();
        p.fillPath(body, QColor(217, 165, 102, tip.lifted ? 70 : 120));
    }
    for (const Tip& tip : tips) {
        const double radius = tip.lifted ? vl::kLampRadius + 1.5 : vl::kLampRadius;
        const QColor fill = tip.lit ? C("accent") : (tip.lifted ? C("cream") : C("wood-dark"));
        p.save();
        if (tip.lifted && !tip.lit) p.setOpacity(0.7);
        Disc(p, tip.at, radius, fill, C("shadow", 120), QString::number(tip.number), tip.lifted ? C("ink") : C("cream-light"));
        p.restore();
    }
}

void Fingers(QPainter& p, const Timeline& t, int tick, int frame) {
    const video::HandMove* move = t.MoveAt(tick);
    auto lit = [&](const Placement& at) { return LampLit(t, Lamp{at.string, at.fret, false}, frame); };
    std::vector<Tip> tips;
    if (move == nullptr) {
        for (const Placement& finger : t.FingersAt(tick)) tips.push_back({FingerPoint(finger), finger.finger, false, lit(finger)});
        DrawTips(p, tips);
        return;
    }
    const double progress = Ease(double(tick - move->startTick) / std::max(1, move->endTick - move->startTick));
    auto find = [](const std::vector<Placement>& hand, int finger) -> const Placement* {
        for (const Placement& p : hand)
            if (p.finger == finger) return &p;
        return nullptr;
    };
    for (int number = 1; number <= 4; ++number) {
        const Placement* from = find(move->from, number);
        const Placement* to = find(move->to, number);
        const video::Passage passage = video::PassageOf(*move, number);
        if (passage == video::Passage::Stays) continue;
        const QPointF a = from ? FingerPoint(*from) : QPointF(FingerPoint(*to).x() + 6, -12);
        const QPointF b = to ? FingerPoint(*to) : QPointF(FingerPoint(*from).x() + 6, -12);
        const QPointF at = a + (b - a) * progress;
        if (passage == video::Passage::Anchor) {
            tips.push_back({a, number, false, lit(*from)});
        } else if (passage == video::Passage::Guide) {
            tips.push_back({at, number, false, false});
        } else { // lifted on the way, arching a little
            tips.push_back({at + QPointF(2, -5) * std::sin(kPi * progress), number, true, false});
        }
    }
    DrawTips(p, tips);
}

// Rings round the anchor fingers and a slide mark along a guide finger's
// string, while the hand changes and a beat after.
void ChangeMarks(QPainter& p, const Timeline& t, int tick) {
    const video::HandMove* move = nullptr;
    for (const video::HandMove& m : t.moves)
        if (m.change && tick >= m.startTick && tick < m.endTick + video::kTicksPerBeat && !m.from.empty() && !m.to.empty())
            move = &m;
    if (move == nullptr) return;
    for (const Placement& to : move->to) {
        const video::Passage passage = video::PassageOf(*move, to.finger);
        if (passage == video::Passage::Anchor) {
            p.setPen(QPen(C("accent-light"), 2.2));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(FingerPoint(to), vl::kLampRadius + 3.5, vl::kLampRadius + 3.5);
        } else if (passage == video::Passage::Guide) {
            for (const Placement& from : move->from)
                if (from.finger == to.finger) {
                    const QPointF a = FingerPoint(from), b = FingerPoint(to);
                    const double dir = b.x() > a.x() ? 1 : -1;
                    p.setPen(QPen(C("accent-light"), 2.2, Qt::DashLine, Qt::RoundCap));
                    p.drawLine(a + QPointF(0, 10), b + QPointF(-dir * 3, 10));
                    p.setPen(QPen(C("accent-light"), 2.2, Qt::SolidLine, Qt::RoundCap));
                    p.drawLine(b + QPointF(0, 10), b + QPointF(-dir * 5, 6));
                    p.drawLine(b + QPointF(0, 10), b + QPointF(-dir * 5, 14));
                }
        }
    }
}

// Every lamp lit in this frame, over everything else: a finger that moves on
// every other frame may still be on its way in the frame its note begins.
void LitLamps(QPainter& p, const Timeline& t, int frame) {
    for (const video::Sound& sound : t.sounds) {
        if (!LampLit(t, sound.lamp, frame) || t.FrameOf(sound.tick) > frame) continue;
        QString number;
        for (const Placement& finger : t.FingersAt(sound.tick))
            if (finger.string == sound.lamp.string && finger.fret == sound.lamp.fret) number = QString::number(finger.finger);
        Disc(p, vl::LampCentre(View::Fretboard, sound.lamp), vl::kLampRadius, C("accent"), C("shadow", 120), number,
             C("cream-light"));
    }
}

void DrawFretboard(QPainter& p, const Timeline& t, const content::Outline& outline, int frame, int tick, int motion,
                   const Words& w) {
    Board(p, t, tick, w);
    OpenLamps(p, t, outline, tick, frame);
    ChangeMarks(p, t, motion);
    Fingers(p, t, motion, frame);
    LitLamps(p, t, frame);
    Header(p, ChordAt(t, tick), 4);
    Caption(p, FretboardCaption(t, t.StepAt(tick), w));
}

// ---------------------------------------------------------------- front views

// The guitar's top with its sound hole and the six strings, low E at the top.
void Front(QPainter& p, const Timeline& t, int tick, int frame, const Words* names) {
    p.fillRect(QRectF(0, 20, 192, 104), C("cream-shade"));
    const QPointF hole(128, 67);
    p.setPen(QPen(C("wood-light"), 3));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(hole, 47, 47);
    p.setPen(Qt::NoPen);
    p.setBrush(C("video-bg"));
    p.drawEllipse(hole, 42, 42);
    for (int s = 0; s < 6; ++s) {
        const double y = vl::StringY(t.view, s);
        const double width = 1.0 + 0.35 * (5 - s);
        // Dark on the pale top, with a bright edge that shows over the sound hole.
        p.setPen(QPen(C("cream-light"), 1));
        p.drawLine(QPointF(30, y - width / 2 - 0.5), QPointF(192, y - width / 2 - 0.5));
        StringLine(p, 30, 192, y, width, s < 3 ? C("wood") : C("ink-soft"), Sounding(t, tick, s));
        const Lamp lamp{s, 0, false};
        const QPointF centre = vl::LampCentre(t.view, lamp);
        if (LampLit(t, lamp, frame)) Disc(p, centre, vl::kLampRadius, C("accent"), QColor(0, 0, 0, 0), {}, {});
        else Disc(p, centre, vl::kLampRadius - 1, C("cream-light"), C("ink-soft"), {}, {});
        if (names != nullptr) {
            p.setPen(C("ink"));
            p.setFont(Sans(10, true));
            p.drawText(QRectF(0, y - 7, 12, 14), Qt::AlignCenter, names->Letter(s));
        }
    }
}

// ------------------------------------------------ strum view: the pendulum

struct HandPose {
    double y = 0;
    bool miss = false;
    bool palm = false;
};

double Centre(const video::Stroke& s, View view) {
    return (vl::StringY(view, s.top) + vl::StringY(view, s.bottom)) / 2;
}

double Reach(const video::Stroke& s, View view) {
    return (vl::StringY(view, s.bottom) - vl::StringY(view, s.top)) / 2 + 13;
}

HandPose Pendulum(const Timeline& t, int tick, int pulseTicks) {
    HandPose pose;
    for (const video::Damp& d : t.damps)
        if (tick >= d.startTick && tick < d.endTick) {
            pose.palm = true;
            pose.y = (vl::StringY(t.view, 0) + vl::StringY(t.view, 5)) / 2;
            return pose;
        }
    const auto& strokes = t.strokes;
    if (strokes.empty()) {
        pose.y = vl::StringY(t.view, 0) - 14;
        return pose;
    }
    std::size_t k = 0;
    while (k < strokes.size() && strokes[k].crossTick <= tick) ++k;
    const double half = pulseTicks / 2.0;
    auto side = [&](const video::Stroke& s, double amount, bool after) {
        // Before a stroke the hand is on the side it comes from; after it, on the side it went to.
        const double direction = s.down ? 1 : -1;
        return Centre(s, t.view) + direction * (after ? 1 : -1) * Reach(s, t.view) * amount;
    };
    if (k == 0) { // waiting for the first stroke
        const double until = strokes[0].crossTick - tick;
        pose.y = side(strokes[0], until >= half ? 1 : std::sin(kPi / 2 * until / half), false);
        pose.miss = !strokes[0].hit;
        return pose;
    }
    const video::Stroke& last = strokes[k - 1];
    const double since = tick - last.crossTick;
    if (k == strokes.size()) {
        pose.y = side(last, since >= half ? 1 : std::sin(kPi / 2 * since / half), true);
        pose.miss = !last.hit;
        return pose;
    }
    const video::Stroke& next = strokes[k];
    const double gap = next.tick - last.crossTick;
    const double swing = std::min(gap / 2, half);
    if (since < swing) {
        pose.y = side(last, std::sin(kPi / 2 * since / swing), true);
        pose.miss = !last.hit;
    } else if (next.crossTick - tick < swing) {
        pose.y = side(next, std::sin(kPi / 2 * (next.crossTick - tick) / swing), false);
        pose.miss = !next.hit;
    } else {
        pose.y = side(last, 1, true);
        pose.miss = !next.hit;
    }
    return pose;
}

// The strumming hand seen from the front: a loose fist with the pick or the
// nail of the index finger towards the strings.
void StrumHand(QPainter& p, QPointF at, bool miss, bool palm) {
    p.save();
    if (miss) {
        // Swinging past, away from the strings: nearer the eye, faint.
        p.setOpacity(0.45);
        p.translate(at);
        p.scale(1.15, 1.15);
        p.translate(-at);
    }
    if (palm) { // the hand lies flat across the strings, fingers towards the neck
        p.setPen(QPen(C("wood"), 1.1));
        p.setBrush(QColor(217, 165, 102, 215));
        for (int i = 0; i < 4; ++i)
            p.drawRoundedRect(QRectF(at.x() - 46, at.y() - 30 + 15 * i, 34, 11), 5.5, 5.5);
        p.drawRoundedRect(QRectF(at.x() - 18, at.y() - 36, 38, 70), 14, 14);
        p.drawRoundedRect(QRectF(at.x() + 4, at.y() + 22, 22, 10), 5, 5);
        p.restore();
        return;
    }
    // The back of the hand, four curled fingers towards the strings, the
    // thumb across them holding the pick.
    const QPen outline(C("wood"), 1.1, miss ? Qt::DashLine : Qt::SolidLine);
    p.setPen(outline);
    p.setBrush(C("honey"));
    p.drawRoundedRect(QRectF(at.x() + 3, at.y() - 12, 26, 24), 9, 9);
    for (int i = 0; i < 4; ++i) p.drawRoundedRect(QRectF(at.x() - 3, at.y() - 12 + 6 * i, 11, 6), 3, 3);
    QPolygonF pick;
    pick << QPointF(at.x() - 1, at.y() - 5) << QPointF(at.x() - 13, at.y() + 1) << QPointF(at.x() - 1, at.y() + 6);
    p.setPen(Qt::NoPen);
    p.setBrush(C("wood-dark"));
    p.drawPolygon(pick);
    p.setPen(outline);
    p.setBrush(C("honey"));
    p.drawRoundedRect(QRectF(at.x() - 4, at.y() - 4, 26, 7), 3.5, 3.5);
    p.restore();
}

void Arrow(QPainter& p, QRectF box, bool down, bool lit) {
    QPolygonF shape;
    const double cx = box.center().x(), w = box.width(), top = box.top(), bottom = box.bottom();
    if (down)
        shape << QPointF(cx - w * 0.16, top) << QPointF(cx + w * 0.16, top) << QPointF(cx + w * 0.16, bottom - w * 0.45)
              << QPointF(cx + w * 0.5, bottom - w * 0.45) << QPointF(cx, bottom) << QPointF(cx - w * 0.5, bottom - w * 0.45)
              << QPointF(cx - w * 0.16, bottom - w * 0.45);
    else
        shape << QPointF(cx - w * 0.16, bottom) << QPointF(cx + w * 0.16, bottom) << QPointF(cx + w * 0.16, top + w * 0.45)
              << QPointF(cx + w * 0.5, top + w * 0.45) << QPointF(cx, top) << QPointF(cx - w * 0.5, top + w * 0.45)
              << QPointF(cx - w * 0.16, top + w * 0.45);
    p.setPen(QPen(lit ? C("accent") : C("ink-soft", 140), 1.2));
    p.setBrush(lit ? C("accent") : Qt::NoBrush);
    p.drawPolygon(shape);
}

// A stroke's arrow is lit from its first note until the hand swings the other way.
bool StrokeLit(const Timeline& t, const video::Stroke& s, const video::Stroke* next, int frame) {
    if (!s.hit) return false;
    const int from = t.FrameOf(s.tick);
    const int to = next ? t.FrameOf(next->tick) : from + video::kLitFrames;
    return frame >= from && frame < to;
}

// "1 + 2 + 3 + 4 +" with the eighth being played picked out.
void Counting(QPainter& p, int tick, int leadTick) {
    p.fillRect(vl::kCaption, C("cream-shade"));
    const int eighth = tick < leadTick ? -1 : ((tick - leadTick) / (video::kTicksPerBeat / 2)) % 8;
    const double cell = vl::kCaption.width() / 8;
    for (int i = 0; i < 8; ++i) {
        const bool now = i == eighth;
        p.setFont(Sans(now ? 13 : 11, now));
        p.setPen(now ? C("accent") : C("ink-soft"));
        p.drawText(QRectF(cell * i, vl::kCaption.top(), cell, vl::kCaption.height()), Qt::AlignCenter,
                   i % 2 == 0 ? QString::number(i / 2 + 1) : QStringLiteral("+"));
    }
}

int LeadTick(const Timeline& t) {
    return t.moments.empty() ? 0 : t.moments.front().tick;
}

int PulseTicks(const Timeline& t) {
    if (t.strokes.size() >= 2) return t.strokes[1].tick - t.strokes[0].tick;
    return video::kTicksPerBeat / 2;
}

void DrawStrum(QPainter& p, const Timeline& t, int frame, int tick, int motion) {
    Front(p, t, tick, frame, nullptr);
    if (t.mute) { // the palm's edge rests on the strings by the bridge
        p.setPen(QPen(C("wood"), 1.2));
        p.setBrush(QColor(217, 165, 102, 190));
        p.drawRoundedRect(QRectF(172, 20, 30, 96), 10, 10);
    }
    const HandPose pose = Pendulum(t, motion, PulseTicks(t));
    // Above the low strings the hand turns below the header, below the high ones above the count.
    StrumHand(p, QPointF(122, std::clamp(pose.y, 24.0, 112.0)), pose.miss, pose.palm);
    bool litDown = false, litUp = false;
    for (std::size_t k = 0; k < t.strokes.size(); ++k) {
        const video::Stroke* next = k + 1 < t.strokes.size() ? &t.strokes[k + 1] : nullptr;
        if (StrokeLit(t, t.strokes[k], next, frame)) (t.strokes[k].down ? litDown : litUp) = true;
    }
    Arrow(p, QRectF(150, 2, 14, 16), true, litDown);
    Arrow(p, QRectF(172, 2, 14, 16), false, litUp);
    Header(p, ChordAt(t, tick), 30);
    Counting(p, tick, LeadTick(t));
}

// ------------------------------------------------ picking view

QPointF FingerRest(char picker, int bassString) {
    switch (picker) {
    case 'i': return {136, vl::StringY(View::Picking, 3)};
    case 'm': return {144, vl::StringY(View::Picking, 4)};
    case 'a': return {150, vl::StringY(View::Picking, 5)};
    default: return {116, vl::StringY(View::Picking, bassString)};
    }
}

// The thumb's string: the one it plays now or next, moving over shortly before.
double ThumbY(const Timeline& t, int tick) {
    const video::Sound* before = nullptr;
    const video::Sound* after = nullptr;
    for (const video::Sound& s : t.sounds) {
        if (s.picker != 'p') continue;
        if (s.tick <= tick) before = &s;
        else if (after == nullptr) after = &s;
    }
    const double lead = video::kTicksPerBeat / 3.0;
    const double from = vl::StringY(View::Picking, before ? before->lamp.string : (after ? after->lamp.string : 1));
    if (after == nullptr) return from;
    const double to = vl::StringY(View::Picking, after->lamp.string);
    const double progress = Ease(1 - (after->tick - tick) / lead);
    return from + (to - from) * progress;
}

QString PickingCaption(const Timeline& t, int step, const Words& w) {
    while (step >= 0 && (t.steps[static_cast<std::size_t>(step)].kind == Step::Kind::Rest ||
                         t.steps[static_cast<std::size_t>(step)].kind == Step::Kind::Change))
        --step;
    if (step < 0) return {};
    QStringList who, where;
    for (const video::Sound& s : t.sounds)
        if (s.step == step) {
            who << QString(QChar(s.picker));
            where << w.Letter(s.lamp.string);
        }
    if (who.isEmpty()) return {};
    if (t.steps[static_cast<std::size_t>(step)].kind == Step::Kind::Strum)
        return who.join(QStringLiteral(", ")) + w.Say(" streichen über ", " brush ") + where.join(QStringLiteral(", "));
    if (who.size() > 1) return who.join(QStringLiteral(", ")) + w.Say(" zugleich", " together");
    const video::Sound* sound = nullptr;
    for (const video::Sound& s : t.sounds)
        if (s.step == step) sound = &s;
    return who.front() + QStringLiteral(": ") + w.String(sound->lamp.string);
}

void DrawPicking(QPainter& p, const Timeline& t, int frame, int tick, int motion, const Words& w) {
    Front(p, t, tick, frame, &w);
    // The palm above the strings on the right, the fingers reaching to theirs.
    p.setPen(QPen(C("wood"), 1.2));
    p.setBrush(QColor(217, 165, 102, 170));
    p.drawRoundedRect(QRectF(156, 34, 44, 84), 16, 16);
    const double thumb = ThumbY(t, motion);
    for (char picker : {'p', 'i', 'm', 'a'}) {
        QPointF at = picker == 'p' ? QPointF(116, thumb) : FingerRest(picker, 1);
        bool lit = false;
        // Lit, and resting after its follow-through, as long as its string's lamp.
        for (std::size_t i = 0; i < t.sounds.size(); ++i) {
            const video::Sound& s = t.sounds[i];
            const int since = frame - t.FrameOf(s.tick);
            if (s.picker != picker || since < 0 || since >= LitFrames(t, i)) continue;
            lit = true;
            at += picker == 'p' ? QPointF(0, 4) : QPointF(4, -3);
        }
        p.setPen(QPen(QColor(217, 165, 102), 7, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(at, QPointF(162, at.y() * 0.5 + 38));
        Disc(p, at, 8, lit ? C("accent") : C("wood-dark"), C("shadow", 120), QString(QChar(picker)), C("cream-light"), 11);
    }
    Header(p, ChordAt(t, tick), 30);
    Caption(p, PickingCaption(t, t.StepAt(tick), w));
}

// ------------------------------------------------ tuner view

void DrawTuner(QPainter& p, const Timeline& t, int frame, int tick, const Words& w) {
    const int s = std::max(0, t.tuneString);
    // The tuner: its button for the string, lit while its tone starts.
    p.setPen(QPen(C("wood"), 1.2));
    p.setBrush(C("cream"));
    p.drawRoundedRect(QRectF(6, 24, 60, 62), 8, 8);
    p.setPen(C("ink"));
    p.setFont(Sans(10, true));
    p.drawText(QRectF(6, 26, 60, 14), Qt::AlignCenter, QStringLiteral("Tuner"));
    const Lamp reference{s, 0, true};
    const QPointF button = vl::LampCentre(View::Tuner, reference);
    const bool refSounds = Sounding(t, tick, s, true);
    Disc(p, button, 11, LampLit(t, reference, frame) ? C("accent") : (refSounds ? C("honey") : C("wood-dark")),
         C("shadow", 120), {}, {});
    p.setPen(C("cream-light"));
    p.setFont(Sans(11, true));
    p.drawText(QRectF(button.x() - 1, button.y() - 8, 11, 16), Qt::AlignCenter, w.Letter(s));
    // The meter: how far the string is from the tuner's tone.
    const QPointF pivot(130, 88);
    p.setPen(QPen(C("ink-soft"), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(pivot.x() - 52, pivot.y() - 52, 104, 104), 30 * 16, 120 * 16);
    p.setPen(QPen(C("accent"), 2));
    p.drawLine(pivot + QPointF(0, -48), pivot + QPointF(0, -58));
    p.setFont(Sans(9));
    p.setPen(C("ink-soft"));
    p.drawText(QRectF(70, 76, 50, 12), Qt::AlignLeft, w.Say("zu tief", "too low"));
    p.drawText(QRectF(140, 76, 50, 12), Qt::AlignRight, w.Say("zu hoch", "too high"));
    if (Sounding(t, tick, s)) {
        const double angle = std::clamp(t.CentsAt(tick), -50, 50) / 50.0 * 55.0 * kPi / 180.0;
        const QPointF tip = pivot + QPointF(std::sin(angle), -std::cos(angle)) * 50;
        p.setPen(QPen(t.CentsAt(tick) == 0 ? C("accent") : C("ink"), 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(pivot, tip);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(C("ink"));
    p.drawEllipse(pivot, 3, 3);
    // The string with its lamp, ending at its tuning peg.
    const double y = vl::StringY(View::Tuner, s);
    StringLine(p, 30, 160, y, 2, C("wood"), Sounding(t, tick, s));
    const Lamp lamp{s, 0, false};
    Disc(p, vl::LampCentre(View::Tuner, lamp), vl::kLampRadius,
         LampLit(t, lamp, frame) ? C("accent") : C("cream-light"), C("ink-soft"), {}, {});
    const QPointF peg(172, y);
    p.setPen(QPen(C("wood-dark"), 1.2));
    p.setBrush(C("wood"));
    p.drawRoundedRect(QRectF(158, y - 11, 34, 22), 5, 5);
    const double turn = (t.CentsAt(tick) + 45) * 4.0 * kPi / 180.0; // the peg turns as the pitch rises
    p.setBrush(C("cream"));
    p.drawEllipse(peg, 9, 9);
    p.setPen(QPen(C("wood-dark"), 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(peg - QPointF(std::cos(turn), std::sin(turn)) * 7, peg + QPointF(std::cos(turn), std::sin(turn)) * 7);
    const int phase = t.StepAt(tick);
    if (phase == 2) { // turning: a curved arrow over the peg
        p.setPen(QPen(C("accent"), 2.4, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        const double r = 15;
        p.drawArc(QRectF(peg.x() - r, peg.y() - r, 2 * r, 2 * r), 20 * 16, 140 * 16);
        const QPointF end = peg + QPointF(std::cos(20 * kPi / 180) * r, -std::sin(20 * kPi / 180) * r);
        p.drawLine(end, end + QPointF(-6, -2));
        p.drawLine(end, end + QPointF(1, -6));
    }
    static const char* german[] = {"Der Tuner spielt den Ton %1", "Ihre %2 klingt zu tief", "Wirbel langsam straffer drehen",
                                   "Jetzt stimmt die Saite", "Beide zusammen: ein Ton"};
    static const char* english[] = {"The tuner plays %1", "Your %2 sounds too low", "Slowly tighten the peg",
                                    "Now the string is in tune", "Both together: one note"};
    QString text;
    if (phase >= 0 && phase < 5)
        text = QString::fromUtf8(w.english ? english[phase] : german[phase]);
    text.replace(QStringLiteral("%1"), w.Note(content::StringNote(s, 0))).replace(QStringLiteral("%2"), w.String(s));
    Caption(p, text);
}

} // namespace

QImage LessonVideoFrame(const video::Timeline& timeline, const content::Outline& outline, int frame,
                        content::Edition edition) {
    QImage image = Canvas(vl::kFrame, C("cream-light"));
    QPainter p;
    BeginPainter(p, image);
    Words words;
    words.english = edition == content::Edition::English;
    // Words, strings and chords show what begins within the frame, as its lamps do.
    const int tick = timeline.TickAtFrame(frame + 1) - 1;
    // Hands move on every other frame, as drawn films do (the swinging hand on
    // every third, which keeps these videos small); lamps, strings and words
    // change on the frame itself.
    const int every = timeline.view == View::Strum ? kStrumMotionEvery : kMotionEvery;
    const int motion = timeline.TickAtFrame(frame - frame % every);
    switch (timeline.view) {
    case View::Fretboard: DrawFretboard(p, timeline, outline, frame, tick, motion, words); break;
    case View::Strum: DrawStrum(p, timeline, frame, tick, motion); break;
    case View::Picking: DrawPicking(p, timeline, frame, tick, motion, words); break;
    case View::Tuner: DrawTuner(p, timeline, frame, tick, words); break;
    }
    p.setPen(QPen(C("wood"), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, vl::kFrame.width() - 1, vl::kFrame.height() - 1));
    return image;
}

} // namespace art
