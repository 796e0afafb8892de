// The slide pictures of the hands at the strings. The picking hand is seen
// as the player sees it, looking down at the guitar: the strings run left to
// right with the low E at the top, the neck to the left; the hand hangs over
// them from above, fingers toward the high strings, the thumb toward the neck.

#include "content/generator/lesson_drawings_all.h"

#include "content/generator/art_paint.h"

#include <QLineF>
#include <QTransform>
#include <cmath>

namespace art::drawing {

namespace {

const StringBand kBand{QRectF(24, 28, 164, 50)};

// The picking hand over the strings: palm above the band, the forearm to the
// upper right; `tips` thumb first.
HandPose PickingHand(QPointF palm, std::vector<QPointF> tips, double angle = 165) {
    return HandPose{palm, 30, angle, true, std::move(tips), 7};
}

// A note with a stroke through it: silence.
void Silence(QPainter& p, QPointF at) {
    Note(p, at, 5, true, true, true);
    p.setPen(QPen(C("accent"), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(at + QPointF(-7, 6), at + QPointF(10, -20));
}

} // namespace

bool DrawThumbOnString(Context& ctx) {
    if (ctx.args.size() != 1) return ctx.Fail("which string? (E, A or D)");
    const int string = std::string("EAD").find(ctx.args[0]) == std::string::npos
                           ? -1
                           : static_cast<int>(std::string("EAD").find(ctx.args[0]));
    if (string < 0) return ctx.Fail("the thumb plays E, A or D");
    QPainter& p = ctx.p;
    DrawStringBand(p, kBand, ctx.English(), true, true);
    const double y = kBand.Y(string);
    DrawHand(p, PickingHand(QPointF(128, 22), {QPointF(98, y), QPointF(116, kBand.Y(3) + 2), QPointF(128, kBand.Y(4) + 2),
                                                 QPointF(140, kBand.Y(5) + 2), QPointF(150, kBand.Y(5) - 4)}));
    Marker(p, QPointF(98, y), 4.5, QString(), C("accent"));
    Arrow(p, QPointF(86, y - 6), QPointF(86, kBand.Y(string + 1) - 1), C("accent"), 1.6, 3.5);
    p.fillRect(QRectF(0, 94, 192, 16), C("cream-light"));
    ctx.Words(QRectF(2, 94, 188, 14), Qt::AlignCenter,
           ctx.Say("Daumen: nach unten, zur nächsten Saite hin", "Thumb: down, toward the next string"),
           8, false, C("ink-soft"));
    return true;
}

bool DrawDamping(Context& ctx) {
    QPainter& p = ctx.p;
    DrawStringBand(p, kBand, ctx.English(), true, true);
    // The hand lies flat: palm and fingers across all six strings.
    DrawHand(p, HandPose{QPointF(112, 54), 34, 200, true,
                         {QPointF(84, 44), QPointF(92, 92), QPointF(104, 96), QPointF(116, 96), QPointF(127, 92)}, 8});
    Silence(p, QPointF(166, 24));
    ctx.Words(QRectF(2, 96, 188, 12), Qt::AlignCenter,
           ctx.Say("Die Handfläche liegt auf allen Saiten: Stille", "The palm lies on all the strings: silence"), 8, false,
           C("ink-soft"));
    return true;
}

bool DrawPalmMute(Context& ctx) {
    QPainter& p = ctx.p;
    const StringBand band{QRectF(18, 34, 146, 54)};
    DrawStringBand(p, band, ctx.English(), true, false);
    // The bridge at the right: saddle and block.
    p.fillRect(QRectF(164, 28, 14, 66), C("wood-dark"));
    p.fillRect(QRectF(164, 30, 3, 62), C("cream-shade"));
    // The hand: its heel on the strings just before the saddle, fingers free.
    DrawHand(p, HandPose{QPointF(150, 38), 30, 150, true,
                         {QPointF(112, 54), QPointF(124, 76), QPointF(134, 80), QPointF(144, 80), QPointF(154, 74)}, 7});
    p.setPen(QPen(C("accent"), 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(158, 60), 7, 22);
    ctx.Words(QRectF(0, 2, 150, 12), Qt::AlignRight, ctx.Say("Handballen am Steg", "heel of the hand at the bridge"), 8,
           true, C("accent"));
    ctx.Words(QRectF(140, 96, 52, 12), Qt::AlignCenter, ctx.Say("Steg", "bridge"), 8, false, C("ink-soft"));
    ctx.Words(QRectF(2, 96, 136, 12), Qt::AlignLeft, ctx.Say("kurzer, dumpfer Klang", "a short, dull sound"), 8, false,
           C("ink-soft"));
    return true;
}

// A strum: "down" over all strings, "up" over the three or four highest,
// "down from D" over the strings from D on.
bool DrawStrum(Context& ctx) {
    if (ctx.args.empty() || (ctx.args[0] != "down" && ctx.args[0] != "up")) return ctx.Fail("strum down|up [from E|A|D]");
    const bool up = ctx.args[0] == "up";
    int from = 0;
    if (ctx.args.size() == 3 && ctx.args[1] == "from") from = static_cast<int>(std::string("EAD").find(ctx.args[2]));
    if (from < 0 || (ctx.args.size() != 1 && ctx.args.size() != 3)) return ctx.Fail("strum down|up [from E|A|D]");
    QPainter& p = ctx.p;
    DrawStringBand(p, kBand, ctx.English(), true, true);
    for (int s = 0; s < from; ++s) {
        p.fillRect(QRectF(kBand.box.left(), kBand.Y(s) - 3, kBand.box.width(), 6), C("cream-light", 170));
        Text(p, QPointF(kBand.box.right() - 6, kBand.Y(s)), QStringLiteral("x"), 9, true, C("accent"));
    }
    const int first = up ? 2 : from, last = 5;
    const double x = 120;
    // The hand with the index finger out: its nail brushes down, its tip up.
    const double handY = up ? kBand.Y(last) + 8 : kBand.Y(first) - 10;
    DrawHand(p, PickingHand(QPointF(x + 16, handY - 30), {QPointF(x + 4, handY - 16), QPointF(x, handY),
                                                            QPointF(x + 18, handY - 14), QPointF(x + 24, handY - 16),
                                                            QPointF(x + 28, handY - 18)}));
    const double top = kBand.Y(first) - 2, bottom = kBand.Y(last) + 2;
    StrumArrow(p, 84, top, bottom, up, C("accent"));
    const QString what = up ? ctx.Say("Aufschlag: die hohen Saiten", "Upstroke: the high strings")
                            : from > 0 ? ctx.Say("Abschlag ab der D-Saite", "Downstroke from the D string")
                                       : ctx.Say("Abschlag über alle Saiten", "Downstroke over all strings");
    ctx.Words(QRectF(2, 94, 188, 14), Qt::AlignCenter, what, 8, true, C("ink"));
    return true;
}

// The strumming hand swings down and up without a pause; on the beats down,
// on the "and" up. With "ghost 3" the down swing on three misses the strings.
bool DrawPendulum(Context& ctx) {
    int ghost = 0;
    if (ctx.args.size() == 2 && ctx.args[0] == "ghost") ghost = std::atoi(ctx.args[1].c_str());
    if (!ctx.args.empty() && (ghost < 1 || ghost > 4)) return ctx.Fail("pendulum [ghost 1..4]");
    QPainter& p = ctx.p;
    // The wrist as the pivot, the hand at both ends of its swing.
    const QPointF wrist(24, 10);
    auto hand = [&](double angle) { // a small hand hanging from the wrist, fingers down
        QTransform turn;
        turn.rotate(angle);
        auto at = [&](double x, double y) { return wrist + turn.map(QPointF(x, y)); };
        DrawHand(p, HandPose{at(0, 16), 12, 180 + angle, true,
                             {at(-8, 18), at(-4, 28), at(-1, 30), at(2, 29), at(5, 26)}, 3.2});
    };
    p.setOpacity(0.35);
    hand(-28);
    hand(28);
    p.setOpacity(1);
    hand(0);
    Marker(p, wrist, 3, QString(), C("wood-dark"));
    CurvedArrow(p, wrist + QPointF(-14, 34), wrist + QPointF(0, 46), wrist + QPointF(14, 34), C("accent"), 1.3, 3);
    CurvedArrow(p, wrist + QPointF(14, 34), wrist + QPointF(0, 46), wrist + QPointF(-14, 34), C("accent"), 1.3, 3);
    // A band of strings and the swings across it, one per eighth.
    const double left = 50, right = 188, top = 24, bottom = 66;
    p.fillRect(QRectF(left, 40, right - left, 10), C("cream-shade"));
    p.setPen(QPen(C("ink-soft"), 0.7));
    for (int s = 0; s < 6; ++s) p.drawLine(QPointF(left, 40.5 + s * 1.8), QPointF(right, 40.5 + s * 1.8));
    const double step = (right - left) / 8;
    for (int i = 0; i < 8; ++i) {
        const double x = left + step * (i + 0.5);
        const bool up = i % 2 == 1;
        const bool missed = !up && ghost == i / 2 + 1;
        if (missed) StrumArrow(p, x, top, 36, false, C("ink-soft"), true);
        else StrumArrow(p, x, top, bottom, up, up ? C("wood-dark") : C("accent"));
        Text(p, QPointF(x, 78), up ? QStringLiteral("+") : QString::number(i / 2 + 1), 10, true,
             missed ? C("ink-soft") : C("ink"));
    }
    ctx.Words(QRectF(2, 92, 188, 16), Qt::AlignCenter,
           ghost ? ctx.Say("Auf der Drei schwingt die Hand an den Saiten vorbei",
                           "On three the hand swings past the strings")
                 : ctx.Say("ab auf der Zahl, auf auf dem \"und\" (+)", "down on the number, up on the \"and\" (+)"),
           8, false, C("ink-soft"));
    return true;
}

bool DrawWrist(Context& ctx) {
    QPainter& p = ctx.p;
    // The forearm rests still on the guitar's edge; only the hand swings.
    const QPointF wrist(86, 44);
    p.fillRect(QRectF(104, 58, 88, 10), C("honey"));
    p.fillRect(QRectF(104, 58, 88, 2), C("wood-dark"));
    DrawLimbs(p, {{wrist, QPointF(192, 52), 16}}, C("skin"), C("skin-line"));
    p.setOpacity(0.45);
    DrawLimbs(p, {{wrist, wrist + QPointF(-22, -22), 16}, {wrist + QPointF(-22, -22), wrist + QPointF(-34, -28), 8}},
              C("skin"), C("skin-line"));
    p.setOpacity(1);
    DrawLimbs(p, {{wrist, wrist + QPointF(-26, 16), 16}, {wrist + QPointF(-26, 16), wrist + QPointF(-38, 24), 8}},
              C("skin"), C("skin-line"));
    Marker(p, wrist, 3.5, QString(), C("accent"));
    CurvedArrow(p, wrist + QPointF(-40, -20), wrist + QPointF(-56, 0), wrist + QPointF(-42, 24), C("accent"), 1.6, 4);
    CurvedArrow(p, wrist + QPointF(-50, 22), wrist + QPointF(-64, 0), wrist + QPointF(-48, -22), C("wood-dark"), 1.2, 3.5);
    ctx.Words(QRectF(64, 18, 60, 12), Qt::AlignLeft, ctx.Say("Handgelenk", "wrist"), 8, true, C("accent"));
    ctx.Words(QRectF(110, 74, 82, 12), Qt::AlignCenter, ctx.Say("Unterarm ruhig", "forearm still"), 8, false, C("ink"));
    ctx.Words(QRectF(2, 94, 188, 14), Qt::AlignCenter,
           ctx.Say("kleine, lockere Bewegung aus dem Handgelenk", "a small, loose movement from the wrist"), 8, false,
           C("ink-soft"));
    return true;
}

bool DrawPimaHand(Context& ctx) {
    QPainter& p = ctx.p;
    // The right hand from its back, fingers spread: p i m a.
    const HandPose hand{QPointF(76, 70), 40, 0, false,
                        {QPointF(38, 52), QPointF(60, 18), QPointF(76, 12), QPointF(92, 16), QPointF(106, 28)}, 9};
    DrawHand(p, hand);
    const char* letters[] = {"p", "i", "m", "a"};
    for (int f = 0; f < 4; ++f) Marker(p, hand.tips[static_cast<std::size_t>(f)], 6, QString::fromLatin1(letters[f]), C("accent"));
    const QString names[] = {ctx.Say("p  Daumen", "p  thumb"), ctx.Say("i  Zeigefinger", "i  index finger"),
                             ctx.Say("m  Mittelfinger", "m  middle finger"), ctx.Say("a  Ringfinger", "a  ring finger")};
    for (int i = 0; i < 4; ++i)
        ctx.Words(QRectF(120, 34 + i * 14, 72, 12), Qt::AlignLeft | Qt::AlignVCenter, names[i], 8, false, C("ink"));
    ctx.Words(QRectF(2, 96, 60, 12), Qt::AlignLeft, ctx.Say("rechte Hand", "right hand"), 8, false, C("ink-soft"));
    return true;
}

bool DrawPimaStrings(Context& ctx) {
    QPainter& p = ctx.p;
    DrawStringBand(p, kBand, ctx.English(), true, true);
    const QPointF thumb(88, kBand.Y(2)), i(118, kBand.Y(3)), m(130, kBand.Y(4)), a(142, kBand.Y(5));
    DrawHand(p, PickingHand(QPointF(132, 20), {thumb, i, m, a, QPointF(154, kBand.Y(5) - 6)}));
    Marker(p, thumb, 5, QStringLiteral("p"), C("accent"));
    Marker(p, i, 5, QStringLiteral("i"), C("accent"));
    Marker(p, m, 5, QStringLiteral("m"), C("accent"));
    Marker(p, a, 5, QStringLiteral("a"), C("accent"));
    // The thumb's strings bracketed at the right.
    p.setPen(QPen(C("wood-dark"), 1.2));
    p.drawLine(QPointF(178, kBand.Y(0)), QPointF(182, kBand.Y(0)));
    p.drawLine(QPointF(182, kBand.Y(0)), QPointF(182, kBand.Y(2)));
    p.drawLine(QPointF(178, kBand.Y(2)), QPointF(182, kBand.Y(2)));
    Text(p, QPointF(187, kBand.Y(1)), QStringLiteral("p"), 9, true, C("accent"));
    ctx.Words(QRectF(2, 94, 188, 14), Qt::AlignCenter,
           ctx.Say("p: E, A, D   i: g   m: h   a: e", "p: E, A, D   i: G   m: B   a: high E"), 8, true, C("ink"));
    return true;
}

bool DrawFingerNumbers(Context& ctx) {
    QPainter& p = ctx.p;
    // The left hand, palm toward us: the thumb at the right.
    const HandPose hand{QPointF(62, 72), 40, 0, true,
                        {QPointF(102, 54), QPointF(76, 16), QPointF(62, 10), QPointF(48, 14), QPointF(34, 26)}, 9};
    DrawHand(p, hand);
    for (int f = 1; f <= 4; ++f) Marker(p, hand.tips[static_cast<std::size_t>(f)], 6, QString::number(f), C("accent"));
    const QString names[] = {ctx.Say("1  Zeigefinger", "1  index finger"), ctx.Say("2  Mittelfinger", "2  middle finger"),
                             ctx.Say("3  Ringfinger", "3  ring finger"), ctx.Say("4  kleiner Finger", "4  little finger")};
    for (int i = 0; i < 4; ++i)
        ctx.Words(QRectF(116, 22 + i * 14, 76, 12), Qt::AlignLeft | Qt::AlignVCenter, names[i], 8, false, C("ink"));
    ctx.Words(QRectF(116, 84, 76, 24), Qt::AlignLeft | Qt::TextWordWrap, ctx.Say("linke Hand (Greifhand)", "left hand (fretting hand)"), 8,
           false, C("ink-soft"));
    return true;
}

namespace {

// A plectrum: a rounded triangle with its tip toward `tip`.
void Plectrum(QPainter& p, QPointF centre, double size, double angle, QColor colour) {
    p.save();
    p.translate(centre);
    p.rotate(angle);
    QPainterPath pick;
    pick.moveTo(0, size);
    pick.cubicTo(-size * 0.5, size * 0.55, -size * 0.95, -size * 0.2, -size * 0.7, -size * 0.7);
    pick.cubicTo(-size * 0.4, -size * 1.05, size * 0.4, -size * 1.05, size * 0.7, -size * 0.7);
    pick.cubicTo(size * 0.95, -size * 0.2, size * 0.5, size * 0.55, 0, size);
    p.setPen(QPen(C("wood-dark"), 1));
    p.setBrush(colour);
    p.drawPath(pick);
    p.restore();
    p.setBrush(Qt::NoBrush);
}

} // namespace

// The pick held between the pad of the thumb and the side of the curled
// index finger, seen from the thumb's side; the tip points at the strings.
bool DrawPickHold(Context& ctx) {
    QPainter& p = ctx.p;
    p.setPen(QPen(C("ink-soft"), 1));
    for (int s = 0; s < 3; ++s) p.drawLine(QPointF(8, 94 + s * 4), QPointF(120, 94 + s * 4));
    // The back of the hand, the index finger curling down and back.
    DrawLimbs(p, {{QPointF(192, 20), QPointF(150, 26), 30},
                  {QPointF(140, 24), QPointF(102, 38), 13},
                  {QPointF(102, 38), QPointF(88, 60), 12},
                  {QPointF(88, 60), QPointF(98, 74), 11}},
              C("skin").darker(106), C("skin-line"));
    Plectrum(p, QPointF(82, 76), 12, 35, C("accent"));
    // The thumb lying along the pick, its pad pressing it to the finger.
    DrawLimbs(p, {{QPointF(176, 46), QPointF(122, 62), 15}, {QPointF(122, 62), QPointF(90, 72), 13}}, C("skin"),
              C("skin-line"));
    Arrow(p, QPointF(40, 70), QPointF(66, 84), C("wood-dark"), 1, 3);
    ctx.Words(QRectF(2, 58, 70, 12), Qt::AlignLeft, ctx.Say("Spitze: 2-3 mm", "tip: 2-3 mm"), 8, true, C("wood-dark"));
    Arrow(p, QPointF(150, 88), QPointF(112, 74), C("wood-dark"), 1, 3);
    ctx.Words(QRectF(120, 86, 72, 22), Qt::AlignLeft | Qt::TextWordWrap, ctx.Say("Daumenkuppe", "pad of the thumb"), 8,
              true, C("wood-dark"));
    Arrow(p, QPointF(50, 20), QPointF(84, 50), C("wood-dark"), 1, 3);
    ctx.Words(QRectF(2, 4, 90, 24), Qt::AlignLeft | Qt::TextWordWrap,
              ctx.Say("Seite des Zeigefingers", "side of the index finger"), 8, true, C("wood-dark"));
    return true;
}

bool DrawPicks(Context& ctx) {
    QPainter& p = ctx.p;
    const QString names[] = {ctx.Say("dünn", "thin"), ctx.Say("mittel", "medium"), ctx.Say("dick", "heavy")};
    const char* sizes[] = {"0,5 mm", "0,7 mm", "1 mm"};
    const char* sizesEnglish[] = {"0.5 mm", "0.7 mm", "1 mm"};
    for (int i = 0; i < 3; ++i) {
        const double x = 32 + i * 64;
        Plectrum(p, QPointF(x, 36), 20, 180, i == 0 ? C("accent-light") : i == 1 ? C("accent") : C("wood"));
        // Seen from its edge: how thick it is.
        p.fillRect(QRectF(x - 20, 68, 40, 1 + i * 1.5), C("wood-dark"));
        ctx.Label(QPointF(x, 82), names[i], 9, true, C("ink"));
        Text(p, QPointF(x, 95), QString::fromUtf8(ctx.English() ? sizesEnglish[i] : sizes[i]), 8, false, C("ink-soft"));
    }
    return true;
}

// A tuning post seen from above with the string wound round it: turning the
// key so that the string winds onto the post makes it tighter and the note
// higher; unwinding makes it looser and lower.
bool DrawPeg(Context& ctx) {
    QPainter& p = ctx.p;
    const QPointF post(100, 52);
    // A corner of the headstock and the key at its side, turning the post.
    p.setPen(Qt::NoPen);
    p.setBrush(C("wood-light", 90));
    p.drawRoundedRect(QRectF(52, 14, 96, 90), 8, 8);
    p.fillRect(QRectF(26, 47, 62, 10), C("fret"));
    p.setPen(QPen(C("ink-soft"), 1));
    p.setBrush(C("cream-shade"));
    p.drawRoundedRect(QRectF(14, 38, 16, 28), 5, 5);
    // The string from the nut below, up the post's right side and over it.
    p.setPen(QPen(C("string-wound").darker(120), 2.6));
    p.drawLine(QPointF(post.x() + 11, 108), QPointF(post.x() + 11, post.y()));
    p.setPen(QPen(C("ink-soft"), 1));
    p.setBrush(C("fret"));
    p.drawEllipse(post, 11, 11);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(C("string-wound").darker(120), 2.6));
    p.drawArc(QRectF(post.x() - 11, post.y() - 11, 22, 22), 0, 230 * 16);
    // Winding on: the way the string already goes round (anticlockwise here).
    CurvedArrow(p, post + QPointF(24, -2), post + QPointF(22, -30), post + QPointF(-16, -26), C("accent"), 2.2, 5);
    CurvedArrow(p, post + QPointF(-6, 26), post + QPointF(-26, 26), post + QPointF(-26, 6), C("wood-dark"), 1.6, 4);
    ctx.Words(QRectF(118, 10, 74, 26), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
              ctx.Say("aufwickeln: straffer, Ton höher", "wind on: tighter, higher note"), 8, true, C("accent"));
    ctx.Words(QRectF(2, 78, 76, 26), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
              ctx.Say("abwickeln: lockerer, Ton tiefer", "unwind: looser, lower note"), 8, true, C("wood-dark"));
    return true;
}

bool DrawCloth(Context& ctx) {
    QPainter& p = ctx.p;
    Fretboard board{QRectF(30, 24, 160, 60), 6};
    DrawFretboard(p, board, ctx.English(), false);
    QPainterPath cloth;
    cloth.moveTo(88, 14);
    cloth.cubicTo(100, 10, 118, 16, 128, 12);
    cloth.lineTo(132, 96);
    cloth.cubicTo(120, 100, 104, 94, 92, 98);
    cloth.closeSubpath();
    p.setPen(QPen(C("wood"), 1));
    p.setBrush(C("cream-shade"));
    p.drawPath(cloth);
    p.setPen(QPen(C("cream"), 1));
    p.drawLine(QPointF(104, 16), QPointF(110, 94));
    p.setBrush(Qt::NoBrush);
    Arrow(p, QPointF(140, 54), QPointF(184, 54), C("accent"), 2, 5);
    p.setPen(QPen(C("accent-light"), 1));
    p.drawLine(QPointF(140, 46), QPointF(168, 46));
    p.drawLine(QPointF(140, 62), QPointF(168, 62));
    ctx.Words(QRectF(2, 96, 188, 12), Qt::AlignCenter, ctx.Say("trockenes, weiches Tuch", "a dry, soft cloth"), 8, false,
           C("ink-soft"));
    return true;
}

} // namespace art::drawing
