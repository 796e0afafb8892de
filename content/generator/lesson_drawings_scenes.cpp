// The slide pictures of the guitar and the learner: the guitar from the
// front and with its parts named, its six strings, the sitting posture from
// the side and from the front, the learner at the screen, the small stage,
// the certificate, a week's practice plan, a song sheet and a piece's form.
// Figures are stylised (limbs as rounded strokes) but placed as a guitar
// teacher would want them: foot on the stool, neck rising, back straight.

#include "content/generator/lesson_drawings_all.h"

#include "content/generator/art_paint.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <QTransform>
#include <cmath>

namespace art::drawing {

namespace {

const char* const kShirt = "ink-soft";
const char* const kTrousers = "wood-dark";

void Head(QPainter& p, QPointF centre, double radius, bool facingLeft) {
    p.setPen(QPen(C("skin-line"), 1.1));
    p.setBrush(C("skin"));
    p.drawEllipse(centre, radius, radius);
    // Hair over the top and the back of the head.
    QPainterPath hair;
    hair.moveTo(centre + QPointF(facingLeft ? radius : -radius, 0));
    hair.arcTo(QRectF(centre.x() - radius - 0.5, centre.y() - radius - 1.5, 2 * radius + 1, 2 * radius + 1),
               facingLeft ? 0 : 180, facingLeft ? 150 : -150);
    hair.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(C("wood-dark"));
    p.drawPath(hair);
    p.setBrush(Qt::NoBrush);
}

// The course's lying guitar, turned by `angle` degrees about its body's
// middle, which is placed at `body`; `length` is the whole guitar's length.
void PlaceGuitar(QPainter& p, QPointF body, double angle, double length) {
    const double scale = length / 250.0; // DrawGuitar's grid is 250 x 100, the body's middle at (62, 50)
    p.save();
    p.translate(body);
    p.rotate(angle);
    p.scale(scale, scale);
    p.translate(-62, -50);
    DrawGuitar(p, QRectF(0, 0, 250, 100), 0);
    p.restore();
}

void Chair(QPainter& p, double seatLeft, double seatRight, double seatY, double floor, bool backRight) {
    p.setPen(QPen(C("wood-dark"), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(seatLeft + 2, seatY), QPointF(seatLeft + 2, floor));
    p.drawLine(QPointF(seatRight - 2, seatY), QPointF(seatRight - 2, floor));
    const double back = backRight ? seatRight - 2 : seatLeft + 2;
    p.drawLine(QPointF(back, seatY), QPointF(back, seatY - 42));
    p.fillRect(QRectF(seatLeft, seatY - 3, seatRight - seatLeft, 5), C("wood"));
}

// A player sitting in the classical posture, seen from the left side (facing
// left): left foot on the stool, the guitar on the left thigh, its neck
// rising to the upper left, the back straight. `at` is the hip; `s` scales.
void SideSittingPlayer(QPainter& p, QPointF at, double s, bool stool) {
    auto P = [&](double x, double y) { return at + QPointF(x * s, y * s); };
    const double floor = stool ? 42 : 42;
    if (stool) p.fillRect(QRectF(P(-48, 30), P(-18, floor)), C("wood"));
    // The far (right) leg and arm first.
    DrawLimbs(p, {{P(0, 0), P(-30, 2), 11 * s}, {P(-30, 2), P(-28, floor - 3), 9 * s}, {P(-28, floor - 3), P(-38, floor - 2), 5 * s}},
              C(kTrousers).darker(115), C("ink"));
    // Torso and the far arm reaching round the guitar to the strings.
    DrawLimbs(p, {{P(2, -4), P(-2, -36), 16 * s}}, C(kShirt), C("ink"));
    DrawLimbs(p, {{P(0, -32), P(6, -16), 7 * s}, {P(6, -16), P(-14, -10), 6 * s}}, C(kShirt).darker(115), C("ink"));
    // The guitar: the body's edge on the left thigh against the chest, the neck rising.
    DrawGuitarEdge(p, P(-14, -14), P(-66, -56), s);
    // The near (left) leg: the thigh rising toward the knee on the stool's foot.
    const double foot = stool ? 30 : floor;
    DrawLimbs(p, {{P(0, 0), P(-32, -6), 12 * s}, {P(-32, -6), P(-30, foot - 3), 9 * s}, {P(-30, foot - 3), P(-42, foot - 2), 5 * s}},
              C(kTrousers), C("ink"));
    // The near (left) arm: the hand on the neck.
    DrawLimbs(p, {{P(-2, -32), P(-12, -18), 7 * s}, {P(-12, -18), P(-44, -40), 6 * s}}, C(kShirt), C("ink"));
    DrawLimbs(p, {{P(-44, -40), P(-46, -42), 6 * s}}, C("skin"), C("skin-line"));
    Head(p, P(-4, -47), 8 * s, true);
}

} // namespace

bool DrawGuitarFront(Context& ctx) {
    QPainter& p = ctx.p;
    QRadialGradient light(QPointF(96, 50), 70);
    light.setColorAt(0, QColor(255, 244, 214, 200));
    light.setColorAt(1, QColor(255, 244, 214, 0));
    p.fillRect(ctx.area, light);
    DrawUprightGuitar(p, QRectF(66, 2, 60, 106));
    return true;
}

bool DrawGuitarParts(Context& ctx) {
    QPainter& p = ctx.p;
    const double left = 6, top = 24, scale = 0.72; // DrawGuitar's 250 x 100 grid
    DrawGuitar(p, QRectF(left, top, 250 * scale, 100 * scale), 0);
    auto at = [&](double gx, double gy) { return QPointF(left + gx * scale, top + gy * scale); };
    struct Part {
        const char* german;
        const char* english;
        QPointF point;  // on the guitar (grid)
        double labelX;  // label centre
        bool above;
    };
    const Part parts[] = {
        {"Korpus", "body", {36, 20}, 20, true},         {"Schallloch", "sound hole", {84, 40}, 62, true},
        {"Griffbrett", "fretboard", {170, 46}, 112, true}, {"Sattel", "nut", {217, 44}, 150, true},
        {"Wirbel", "pegs", {235, 39}, 180, true},       {"Steg", "bridge", {31, 58}, 24, false},
        {"Hals", "neck", {150, 57}, 84, false},         {"Bund", "fret", {197, 56}, 126, false},
        {"Kopf", "headstock", {240, 56}, 166, false},
    };
    for (const Part& part : parts) {
        const QString name = ctx.Say(part.german, part.english);
        const double y = part.above ? 8 : 102;
        const QPointF point = at(part.point.x(), part.point.y());
        p.setPen(QPen(C("wood-dark"), 0.8));
        p.drawLine(QPointF(part.labelX, part.above ? y + 5 : y - 6), point);
        p.setPen(Qt::NoPen);
        p.setBrush(C("accent"));
        p.drawEllipse(point, 1.8, 1.8);
        p.setBrush(Qt::NoBrush);
        ctx.Label(QPointF(part.labelX, y), name, 8, true, C("ink"));
    }
    return true;
}

bool DrawStrings(Context& ctx) {
    QPainter& p = ctx.p;
    const StringBand band{QRectF(34, 10, 108, 84)};
    p.fillRect(QRectF(34, 4, 108, 96), C("fretboard"));
    for (int s = 0; s < 6; ++s) {
        const double y = band.Y(s);
        p.setPen(QPen(s < 3 ? C("string-wound") : C("string-plain"), 3.4 - s * 0.5));
        p.drawLine(QPointF(34, y), QPointF(142, y));
        Marker(p, QPointF(20, y), 6.5, StringName(s, ctx.English()), s == 0 || s == 5 ? C("accent") : C("wood"));
    }
    ctx.Words(QRectF(146, band.Y(0) - 12, 46, 24), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap,
           ctx.Say("dickste, tiefste", "thickest, lowest"), 8, true, C("ink"));
    ctx.Words(QRectF(146, band.Y(5) - 12, 46, 24), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap,
           ctx.Say("dünnste, höchste", "thinnest, highest"), 8, true, C("ink"));
    return true;
}

bool DrawPosture(Context& ctx) {
    if (ctx.args.size() != 1 || (ctx.args[0] != "side" && ctx.args[0] != "front")) return ctx.Fail("posture side|front");
    QPainter& p = ctx.p;
    const double floor = 102;
    p.setPen(QPen(C("cream-shade"), 2));
    p.drawLine(QPointF(0, floor), QPointF(192, floor));
    if (ctx.args[0] == "side") {
        Chair(p, 104, 138, 62, floor, true);
        SideSittingPlayer(p, QPointF(120, 60), 1.0, true);
        ctx.Words(QRectF(0, 88, 70, 12), Qt::AlignRight, ctx.Say("Fußbank", "footstool"), 8, true, C("accent"));
        ctx.Words(QRectF(146, 20, 46, 36), Qt::AlignLeft | Qt::TextWordWrap, ctx.Say("Rücken gerade", "back straight"), 8,
               true, C("accent"));
        Arrow(p, QPointF(150, 30), QPointF(134, 30), C("accent"), 1, 3);
        return true;
    }
    // From the front: the stool under the left foot (at the right of the
    // picture), the guitar's waist on the left thigh, the neck rising.
    Chair(p, 70, 122, 64, floor, false);
    p.fillRect(QRectF(108, 90, 30, 12), C("wood"));
    DrawLimbs(p, {{QPointF(90, 64), QPointF(80, 72), 12}, {QPointF(80, 72), QPointF(78, 99), 9}, {QPointF(78, 99), QPointF(70, 100), 5}},
              C(kTrousers), C("ink"));
    DrawLimbs(p, {{QPointF(104, 62), QPointF(118, 60), 12}, {QPointF(118, 60), QPointF(122, 88), 9}, {QPointF(122, 88), QPointF(130, 89), 5}},
              C(kTrousers), C("ink"));
    DrawLimbs(p, {{QPointF(97, 60), QPointF(97, 26), 24}}, C(kShirt), C("ink"));
    DrawLimbs(p, {{QPointF(108, 26), QPointF(124, 42), 7}, {QPointF(124, 42), QPointF(146, 32), 6}}, C(kShirt), C("ink"));
    PlaceGuitar(p, QPointF(88, 56), -38, 122);
    DrawLimbs(p, {{QPointF(86, 26), QPointF(74, 40), 7}, {QPointF(74, 40), QPointF(90, 52), 6}}, C(kShirt), C("ink"));
    DrawLimbs(p, {{QPointF(90, 52), QPointF(93, 54), 6}}, C("skin"), C("skin-line"));
    DrawLimbs(p, {{QPointF(146, 32), QPointF(149, 30), 6}}, C("skin"), C("skin-line"));
    Head(p, QPointF(97, 12), 8, false);
    ctx.Words(QRectF(140, 88, 52, 12), Qt::AlignLeft, ctx.Say("Fußbank", "footstool"), 8, true, C("accent"));
    return true;
}

bool DrawLearner(Context& ctx) {
    QPainter& p = ctx.p;
    const double floor = 102;
    // The desk and the screen with the course on it: notation and the point.
    p.fillRect(QRectF(112, 62, 80, 4), C("wood"));
    p.fillRect(QRectF(182, 66, 4, floor - 66), C("wood-dark"));
    const QRectF screen(124, 14, 62, 42);
    p.fillRect(screen.adjusted(-3, -3, 3, 3), C("wood-dark"));
    p.fillRect(screen, C("cream"));
    p.fillRect(QRectF(150, 56, 10, 6), C("wood-dark"));
    p.setPen(QPen(C("ink-soft"), 0.6));
    for (int s = 0; s < 6; ++s) p.drawLine(QPointF(128, 32 + s * 2.5), QPointF(182, 32 + s * 2.5));
    Marker(p, QPointF(146, 28), 2.5, QString(), C("accent"));
    ctx.Words(QRectF(128, 16, 54, 10), Qt::AlignLeft, QStringLiteral("Zupfari"), 7, true, C("wood-dark"));
    // The learner at the left, turned to the screen, the guitar in position.
    p.save();
    p.translate(96, 0);
    p.scale(-1, 1); // the side posture faces left; the learner faces the screen at the right
    Chair(p, 36, 62, 66, floor, true);
    SideSittingPlayer(p, QPointF(48, 64), 0.9, true);
    p.restore();
    return true;
}

bool DrawStage(Context& ctx) {
    QPainter& p = ctx.p;
    // The light from above, the boards, a standing player facing us.
    QLinearGradient cone(0, 0, 0, 100);
    cone.setColorAt(0, QColor(255, 236, 180, 170));
    cone.setColorAt(1, QColor(255, 236, 180, 40));
    QPolygonF beam;
    beam << QPointF(88, 0) << QPointF(104, 0) << QPointF(150, 92) << QPointF(42, 92);
    p.setPen(Qt::NoPen);
    p.setBrush(cone);
    p.drawPolygon(beam);
    p.fillRect(QRectF(14, 90, 164, 10), C("wood"));
    p.fillRect(QRectF(14, 90, 164, 2), C("wood-light"));
    DrawLimbs(p, {{QPointF(92, 58), QPointF(88, 88), 10}, {QPointF(102, 58), QPointF(106, 88), 10}}, C(kTrousers), C("ink"));
    DrawLimbs(p, {{QPointF(97, 56), QPointF(97, 26), 22}}, C(kShirt), C("ink"));
    DrawLimbs(p, {{QPointF(107, 26), QPointF(118, 42), 7}, {QPointF(118, 42), QPointF(136, 36), 6}}, C(kShirt), C("ink"));
    PlaceGuitar(p, QPointF(90, 54), -22, 104);
    DrawLimbs(p, {{QPointF(87, 26), QPointF(80, 42), 7}, {QPointF(80, 42), QPointF(90, 50), 6}}, C(kShirt), C("ink"));
    p.setPen(QPen(C("wood-dark"), 1.4));
    p.drawLine(QPointF(104, 26), QPointF(72, 54)); // the strap
    Head(p, QPointF(97, 13), 8, false);
    // Notes rising from the guitar.
    p.setPen(QPen(C("accent"), 1.6));
    p.setBrush(C("accent"));
    for (const QPointF& note : {QPointF(150, 26), QPointF(164, 14), QPointF(40, 22)}) {
        p.drawEllipse(note, 3.2, 2.4);
        p.drawLine(note + QPointF(3, 0), note + QPointF(3, -10));
    }
    p.setBrush(Qt::NoBrush);
    return true;
}

bool DrawCertificate(Context& ctx) {
    QPainter& p = ctx.p;
    const QRectF sheet(20, 4, 152, 102);
    PaperCard(p, sheet, 3, 77, C("cream-light"));
    p.setPen(QPen(C("honey"), 1.5));
    p.drawRect(sheet.adjusted(5, 5, -5, -5));
    ctx.Label(QPointF(96, 22), ctx.Say("Urkunde", "Certificate"), 14, true, C("wood-dark"));
    Text(p, QPointF(96, 42), QStringLiteral("Zupfari Basis"), 12, true, C("accent"));
    ctx.Label(QPointF(96, 56), ctx.Say("geschafft!", "completed!"), 10, true, C("ink"));
    ctx.Label(QPointF(96, 70), ctx.Say("30 Lektionen Gitarre", "30 guitar lessons"), 8, false, C("ink-soft"));
    DrawRosette(p, QPointF(146, 86), 11, true);
    p.setPen(QPen(C("ink-soft"), 0.8));
    p.drawLine(QPointF(36, 92), QPointF(92, 92));
    QPainterPath signature;
    signature.moveTo(40, 90);
    signature.cubicTo(48, 80, 52, 96, 60, 86);
    signature.cubicTo(66, 80, 70, 94, 84, 86);
    p.setPen(QPen(C("wood-dark"), 1));
    p.drawPath(signature);
    return true;
}

bool DrawPracticePlan(Context& ctx) {
    QPainter& p = ctx.p;
    const char* german[] = {"Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"};
    const char* english[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    PaperCard(p, QRectF(6, 6, 180, 96), 5, 55, C("cream-light"));
    ctx.Label(QPointF(96, 17), ctx.Say("Mein Übeplan", "My practice plan"), 10, true, C("wood-dark"));
    const double left = 14, step = 24.5;
    for (int d = 0; d < 7; ++d) {
        const double x = left + d * step;
        p.fillRect(QRectF(x, 28, step - 3, 64), d % 2 ? C("cream") : C("cream-shade", 140));
        Text(p, QPointF(x + (step - 3) / 2, 35), QString::fromLatin1(ctx.English() ? english[d] : german[d]), 8, true, C("ink"));
        // A short daily session: fifteen minutes, ticked off.
        p.fillRect(QRectF(x + 3, 46, step - 9, 26), C("accent", d == 6 ? 60 : 200));
        Text(p, QPointF(x + (step - 3) / 2, 56), QStringLiteral("15"), 9, true, C("cream-light"));
        Text(p, QPointF(x + (step - 3) / 2, 66), QStringLiteral("min"), 7, false, C("cream-light"));
        if (d < 4) {
            p.setPen(QPen(C("wood-dark"), 1.6, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(x + 6, 82), QPointF(x + 9, 86));
            p.drawLine(QPointF(x + 9, 86), QPointF(x + 16, 77));
        }
    }
    return true;
}

bool DrawSongSheet(Context& ctx) {
    QPainter& p = ctx.p;
    PaperCard(p, QRectF(30, 4, 132, 102), 3, 66, C("cream-light"));
    p.fillRect(QRectF(44, 12, 70, 6), C("wood-dark", 160)); // the title
    const char* chords[4][2] = {{"G", "D"}, {"Em", "C"}, {"G", "D"}, {"C", "G"}};
    for (int line = 0; line < 4; ++line) {
        const double y = 32 + line * 19;
        Text(p, QPointF(48, y - 6), QString::fromLatin1(chords[line][0]), 8, true, C("accent"));
        Text(p, QPointF(104, y - 6), QString::fromLatin1(chords[line][1]), 8, true, C("accent"));
        // The words, as grey strokes: the chord stands over its syllable.
        p.setPen(QPen(C("ink-soft"), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(44, y + 3), QPointF(70, y + 3));
        p.drawLine(QPointF(76, y + 3), QPointF(96, y + 3));
        p.drawLine(QPointF(102, y + 3), QPointF(140 - line * 6, y + 3));
    }
    return true;
}

// The form of a piece: its parts as blocks in playing order, groups apart
// ("A B, A B C, C D, A B, A B" in the args as "AB ABC CD AB AB").
bool DrawForm(Context& ctx) {
    if (ctx.args.empty()) return ctx.Fail("form GROUP GROUP ... (letters A to D)");
    QPainter& p = ctx.p;
    std::size_t blocks = 0;
    for (const std::string& group : ctx.args) {
        for (char part : group)
            if (part < 'A' || part > 'D') return ctx.Fail("form: parts are A to D");
        blocks += group.size();
    }
    const double gapWidth = 6, width = (184 - gapWidth * (ctx.args.size() - 1)) / blocks;
    const char* colours[] = {"honey", "wood-light", "accent", "wood"};
    double x = 4;
    for (const std::string& group : ctx.args) {
        for (char part : group) {
            const QRectF block(x + 1, 34, width - 2, 30);
            p.setPen(QPen(C("wood-dark"), 1));
            p.setBrush(C(colours[part - 'A']));
            p.drawRoundedRect(block, 3, 3);
            p.setBrush(Qt::NoBrush);
            Text(p, block.center(), QString(QChar(part)), 11, true, C("cream-light"));
            x += width;
        }
        x += gapWidth;
    }
    const QString legend[] = {ctx.Say("A, B: Strophe", "A, B: verse"), ctx.Say("C: Refrain", "C: chorus"),
                              ctx.Say("D: Zwischenspiel", "D: interlude")};
    for (int i = 0; i < 3; ++i)
        ctx.Words(QRectF(4 + i * 62, 76, 62, 12), Qt::AlignCenter, legend[i], 8, false, C("ink"));
    Arrow(p, QPointF(20, 20), QPointF(172, 20), C("ink-soft"), 1, 3.5);
    return true;
}

} // namespace art::drawing
