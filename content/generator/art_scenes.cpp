#include "content/generator/art_scenes.h"

#include "layout/screenlayout.h"
#include "content/generator/art_paint.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <cmath>

namespace art {

namespace {

bool sceneEnglish = false;

// The words of a picture in the scene language.
QString Say(const char* german, const char* english) {
    return QString::fromUtf8(sceneEnglish ? english : german);
}

QRectF Grown(const QRect& rect, double by) { return QRectF(rect).adjusted(-by, -by, by, by); }

QPainterPath Rounded(const QRectF& rect, double radius) {
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

// Darkens the edges of a picture a little, as if lit from the middle.
void Vignette(QPainter& painter, QSize size, int strength) {
    QRadialGradient shade(QPointF(size.width() * 0.42, size.height() * 0.38), size.width() * 0.75);
    shade.setColorAt(0, QColor(0, 0, 0, 0));
    shade.setColorAt(0.6, QColor(0, 0, 0, 0));
    shade.setColorAt(1, C("shadow", strength));
    painter.fillRect(QRect(QPoint(0, 0), size), shade);
}

// A recessed tray of darker wood for a group of controls.
void Tray(QPainter& painter, const QRectF& rect, double radius) {
    painter.fillPath(Rounded(rect, radius), C("shadow", 70));
    Inset(painter, rect, radius, 70);
}

// A panel picture: wood of the given tone with a soft top light.
QImage PanelWood(unsigned seed, double tone) {
    QImage image = Wood(layout::ToolPanel.size(), seed, tone, 106);
    QPainter painter;
    BeginPainter(painter, image);
    QLinearGradient light(0, 0, 0, image.height());
    light.setColorAt(0, QColor(255, 240, 210, 40));
    light.setColorAt(1, C("shadow", 60));
    painter.fillRect(image.rect(), light);
    return image;
}

void Title(QPainter& painter, const QRectF& rect, const QString& text, int flags = Qt::AlignLeft | Qt::AlignVCenter) {
    EmbossedText(painter, rect, flags, text, Serif(20, true), C("cream"));
}

void Hint(QPainter& painter, const QRectF& rect, const QString& text, QColor colour) {
    painter.setFont(Sans(11, false, true));
    painter.setPen(colour);
    painter.drawText(rect, Qt::AlignLeft | Qt::AlignVCenter, text);
}

} // namespace

void SetSceneLanguage(bool english) {
    sceneEnglish = english;
}

QImage MainBackground() {
    static QImage cachedByLanguage[2];
    QImage& cached = cachedByLanguage[sceneEnglish ? 1 : 0];
    if (!cached.isNull()) return cached;
    QImage image = Wood(layout::MainWindow, 11, -0.05);
    QPainter p;
    BeginPainter(p, image);
    Vignette(p, image.size(), 110);
    // The tool panels lie in the upper left on a soft shadow.
    SoftShadow(p, Rounded(layout::ToolPanel, 20), QPointF(3, 4), 6, C("shadow", 190));
    p.fillPath(Rounded(layout::ToolPanel, 20), C("wood-dark"));
    // The left button column and the right column sit in trays.
    Tray(p, QRectF(4, 240, 101, 352), 10);
    Tray(p, QRectF(739, 132, 58, 456), 10);
    // Transport console and the logo's shadow.
    Tray(p, Grown(layout::TransportBlock, 6), 9);
    QRectF logo(layout::BLogo, layout::LogoButton);
    QPainterPath disc;
    disc.addEllipse(logo.adjusted(3, 3, -3, -3));
    SoftShadow(p, disc, QPointF(3, 4), 5, C("shadow", 200));
    // The name plate between the tool panel and the logo.
    const QRectF plate(layout::NamePlate);
    EmbossedText(p, plate.adjusted(0, 4, 0, -44), Qt::AlignCenter, QStringLiteral("Zupfari Basis"), Serif(38, true),
                 C("cream"));
    EmbossedText(p, plate.adjusted(0, 58, 0, -14), Qt::AlignCenter, Say("Gitarrenkurs für Einsteiger", "Guitar course for beginners"),
                 Sans(16, false, true), C("honey"));
    p.setPen(QPen(C("honey", 150), 1));
    p.drawLine(QPointF(plate.left() + 60, plate.top() + 55.5), QPointF(plate.right() - 60, plate.top() + 55.5));
    // The lesson screen: a sheet of paper.
    PaperCard(p, layout::LessonScreen, 10, 5, C("cream"));
    p.end();
    cached = image;
    return cached;
}

QImage DialogBackground() {
    QImage image = Wood(layout::DialogWindow, 13, 0.1, 80);
    QPainter p;
    BeginPainter(p, image);
    const QRectF card(6, 6, image.width() - 12, image.height() - 12);
    PaperCard(p, card, 16, 7, C("cream"));
    p.setPen(QPen(C("honey"), 1));
    p.drawLine(QPointF(40, 56.5), QPointF(image.width() - 40, 56.5));
    QRadialGradient glow(QPointF(image.width() / 2.0, 20), 140);
    glow.setColorAt(0, QColor(255, 255, 255, 60));
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillPath(Rounded(card, 16), glow);
    return image;
}

QImage SlideBackground() {
    QImage image = Wood(layout::MainWindow, 23, -0.05);
    QPainter p;
    BeginPainter(p, image);
    Vignette(p, image.size(), 100);
    PaperCard(p, layout::SlideContent, 12, 9, C("cream"));
    DrawRosette(p, QPointF(738, 27), 21, false);
    PaperCard(p, layout::SlideSidebarPlate, 8, 10, C("cream-light"));
    Tray(p, QRectF(686, 441, 103, 135), 8);
    EmbossedText(p, QRectF(684, 130, 108, 30), Qt::AlignCenter, QStringLiteral("Zupfari"), Serif(20, true), C("cream"));
    EmbossedText(p, QRectF(684, 156, 108, 20), Qt::AlignCenter, QStringLiteral("Basis"), Sans(13, false, true),
                 C("honey"));
    return image;
}

QImage QuizBackground() {
    QImage image = Wood(layout::MainWindow, 37, -0.1);
    QPainter p;
    BeginPainter(p, image);
    Vignette(p, image.size(), 100);
    for (const QRect& panel : {layout::QuizPanel1, layout::QuizPanel2, layout::QuizPanel3}) {
        QPainterPath path;
        path.addRect(panel);
        SoftShadow(p, path, QPointF(3, 4), 5, C("shadow", 190));
        p.fillRect(panel, C("cream"));
    }
    const QRectF card(layout::QuizCorner.left(), layout::QuizCorner.top(), 268, layout::QuizCorner.height());
    PaperCard(p, card, 10, 12, C("cream"));
    EngravedText(p, card.adjusted(24, 18, -10, -200), Qt::AlignLeft | Qt::AlignVCenter, Say("Kontrolle", "Quiz"),
                 Serif(32, true), C("ink"));
    p.setPen(QPen(C("honey"), 1));
    p.drawLine(QPointF(card.left() + 24, card.top() + 72.5), QPointF(card.right() - 24, card.top() + 72.5));
    p.setFont(Sans(14));
    p.setPen(C("ink-soft"));
    p.drawText(card.adjusted(24, 84, -16, -60), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
               Say("Kreuzen Sie bei jeder der drei Fragen die richtige Antwort an und klicken Sie dann "
                   "auf »OK«. Drei richtige Antworten schließen die Lektion ab.",
                   "Tick the right answer to each of the three questions, then click “OK”. "
                   "Three right answers complete the lesson."));
    // A big tick in a ring: the reward.
    const QPointF tick(card.right() - 58, card.bottom() - 54);
    p.setPen(QPen(C("accent"), 4));
    p.setBrush(C("cream-light"));
    p.drawEllipse(tick, 30, 30);
    QPainterPath mark;
    mark.moveTo(tick + QPointF(-15, 1));
    mark.lineTo(tick + QPointF(-4, 12));
    mark.lineTo(tick + QPointF(16, -12));
    p.setPen(QPen(C("accent"), 7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(mark);
    Tray(p, QRectF(685, 485, 97, 96), 8);
    return image;
}

QImage PlanBackground() {
    QImage image = PanelWood(41, -0.45);
    QPainter p;
    BeginPainter(p, image);
    Title(p, QRectF(24, 8, 200, 30), Say("Übeplan", "Practice plan"));
    p.setFont(Sans(11, true));
    p.setPen(C("honey"));
    const int header = layout::PlanFirstRowTop - 18;
    p.drawText(QRectF(layout::PlanNumberLeft, header, 30, 14), Qt::AlignLeft, Say("Nr.", "No."));
    p.drawText(QRectF(layout::PlanTitleLeft, header, 140, 14), Qt::AlignLeft, Say("Lektion", "Lesson"));
    p.setPen(QPen(C("honey", 90), 1));
    for (int i = 0; i < 3; ++i) {
        double y = layout::PlanFirstRowTop + layout::PlanRowStep * i + 21.5;
        p.drawLine(QPointF(layout::PlanNumberLeft - 6, y), QPointF(348, y));
    }
    for (int i = 0; i < 3; ++i) {
        const QPointF badge(layout::PlanNumberLeft - 22, layout::PlanFirstRowTop + layout::PlanRowStep * i + 8);
        p.setPen(QPen(C("honey"), 1.2));
        p.setBrush(C("accent", 200));
        p.drawEllipse(badge, 6, 6);
    }
    Hint(p, QRectF(24, 150, 320, 18), Say("Bis zu drei Lektionen üben Sie gleichzeitig.", "Practise up to three lessons at a time."), C("honey"));
    return image;
}

QImage ExplorerBackground() {
    QImage image = PanelWood(43, -0.65);
    QPainter p;
    BeginPainter(p, image);
    const QRect& row = layout::ExplorerRow0;
    Tray(p, QRectF(row.left() - 3, row.top() - 2, row.width() + 6, 8 * row.height() + 4), 4);
    EmbossedText(p, QRectF(214, 24, 136, 30), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Explorer"),
                 Serif(20, true), C("cream"));
    for (const QRect& display : {layout::XplText2, layout::XplText3}) {
        QPainterPath path;
        path.addRect(display);
        SoftShadow(p, path, QPointF(2, 2), 3, C("shadow", 200));
    }
    Hint(p, QRectF(layout::ExplorerHint), Say("Ein Klick öffnet die Lektion.", "Click a lesson to open it."), C("honey"));
    return image;
}

QImage TunerBackground() {
    QImage image = PanelWood(47, 0.55);
    QPainter p;
    BeginPainter(p, image);
    EngravedText(p, QRectF(24, 10, 200, 30), Qt::AlignLeft | Qt::AlignVCenter, Say("Stimmgerät", "Tuner"),
                 Serif(20, true), C("wood-dark"));
    QPainterPath board;
    board.addRect(layout::ImgTuner);
    SoftShadow(p, board, QPointF(3, 3), 4, C("shadow", 200));
    const int labels = layout::ImgTuner.width() + 40;
    PaperCard(p, QRectF(labels - 8, layout::ImgTuner.top() - 8, 36, layout::ImgTuner.height() + 10), 6, 14,
              C("honey"));
    Hint(p, QRectF(24, 186, 330, 18), Say("Klicken Sie eine Saite an und stimmen Sie nach Gehör.", "Click a string and tune it by ear."), C("ink"));
    return image;
}

QImage MonitorBackground() {
    QImage image = PanelWood(53, -0.5);
    QPainter p;
    BeginPainter(p, image);
    const QRectF frame = Grown(layout::ImgMon1, 4);
    QPainterPath path;
    path.addRoundedRect(frame, 3, 3);
    SoftShadow(p, path, QPointF(3, 3), 4, C("shadow", 220));
    p.fillPath(path, C("video-bg"));
    p.setPen(QPen(C("honey"), 1));
    p.drawRoundedRect(frame.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    p.fillRect(layout::ImgMon1, C("video-bg"));
    DrawIcon(p, Icon::Play, QRectF(layout::ImgMon1.center() - QPoint(14, 14), QSizeF(28, 28)), C("wood"));
    Title(p, QRectF(layout::MonitorButton0.x(), 6, 90, 28), QStringLiteral("Monitor"));
    Hint(p, QRectF(layout::MonitorButton0.x() - 10, 178, 100, 18), Say("Bilder, Videos", "Pictures, videos"), C("honey"));
    return image;
}

QImage Fretboard() {
    const QSize size = layout::ImgTuner.size();
    QImage image(size, QImage::Format_RGB32);
    const QColor board = C("fretboard");
    for (int y = 0; y < size.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            double grain = Noise(x * 0.04, y * 0.6, 71) * 0.7 + Noise(x * 0.2, y * 0.1, 72) * 0.3;
            int d = static_cast<int>((grain - 0.5) * 26);
            line[x] = qRgb(std::clamp(board.red() + d, 0, 255), std::clamp(board.green() + d * 3 / 4, 0, 255),
                           std::clamp(board.blue() + d / 2, 0, 255));
        }
    }
    QPainter p;
    BeginPainter(p, image);
    const double band = size.height() / 6.0;
    // Frets after an equal-tempered scale; the nut on the left.
    const double nut = 8, scale = 700; // a close-up of the first frets
    auto fretX = [&](int n) { return nut + scale * (1 - std::pow(2.0, -n / 12.0)); };
    for (int n : {3, 5, 7}) {
        double x = (fretX(n - 1) + fretX(n)) / 2;
        p.setPen(Qt::NoPen);
        p.setBrush(C("cream-light"));
        p.drawEllipse(QPointF(x, 3 * band), 4.2, 4.2);
    }
    for (int n = 1; fretX(n) < size.width(); ++n) {
        double x = fretX(n);
        p.fillRect(QRectF(x - 1, 0, 2, size.height()), C("fret").darker(125));
        p.fillRect(QRectF(x - 1, 0, 1, size.height()), QColor(255, 255, 255, 70));
        p.fillRect(QRectF(x + 1, 0, 1.5, size.height()), C("shadow", 120));
    }
    QLinearGradient bone(0, 0, nut, 0);
    bone.setColorAt(0, C("cream-shade"));
    bone.setColorAt(1, C("cream-light"));
    p.fillRect(QRectF(0, 0, nut, size.height()), bone);
    p.fillRect(QRectF(nut, 0, 2, size.height()), C("shadow", 140));
    // Six strings, each in the middle of its band; high e at the top.
    const double widths[] = {1.5, 1.9, 2.4, 2.8, 3.2, 3.7};
    for (int i = 0; i < 6; ++i) {
        const double y = band * (i + 0.5);
        const bool wound = i >= 2;
        p.setPen(QPen(C("shadow", 200), widths[i] + 0.5));
        p.drawLine(QPointF(0, y + 2.2), QPointF(size.width(), y + 2.2));
        p.setPen(QPen(wound ? C("string-wound") : C("string-plain"), widths[i]));
        p.drawLine(QPointF(0, y), QPointF(size.width(), y));
        p.setPen(QPen(QColor(255, 255, 255, 150), 0.6));
        p.drawLine(QPointF(0, y - widths[i] / 4), QPointF(size.width(), y - widths[i] / 4));
        if (wound) {
            p.setPen(QPen(C("shadow", 80), 0.7));
            for (double x = 1; x < size.width(); x += 2.0)
                p.drawLine(QPointF(x, y - widths[i] / 2), QPointF(x + 1, y + widths[i] / 2));
        }
    }
    p.fillRect(QRectF(0, 0, size.width(), 1), C("cream-shade"));
    p.fillRect(QRectF(0, size.height() - 1, size.width(), 1), C("cream-shade"));
    return image;
}

QImage ModeDisplay(bool explorer) {
    const QSize size = layout::ModeDisplay.size();
    QImage image = MainBackground().copy(layout::ModeDisplay);
    QPainter p;
    BeginPainter(p, image);
    const QRectF bezel(0.5, 0.5, size.width() - 1, size.height() - 1);
    QLinearGradient frame(0, 0, 0, size.height());
    frame.setColorAt(0, C("wood-light"));
    frame.setColorAt(1, C("wood-dark"));
    p.setBrush(frame);
    p.setPen(QPen(C("shadow"), 1));
    p.drawRoundedRect(bezel, 8, 8);
    const QRectF screen(4, 4, size.width() - 8, size.height() - 8);
    QLinearGradient glass(0, screen.top(), 0, screen.bottom());
    QColor base = explorer ? C("display-alt") : C("display");
    glass.setColorAt(0, base.lighter(106));
    glass.setColorAt(1, base.darker(106));
    p.setPen(Qt::NoPen);
    p.setBrush(glass);
    p.drawRoundedRect(screen, 5, 5);
    Inset(p, screen, 5, 50);
    p.setPen(QPen(C("ink", 60), 1));
    p.drawLine(QPointF(9, 39.5), QPointF(size.width() - 9, 39.5));
    p.drawLine(QPointF(9, 73.5), QPointF(size.width() - 9, 73.5));
    // A small sign in the upper right: an open book or a compass.
    const QRectF sign(size.width() - 20, 7, 12, 12);
    p.setPen(QPen(C("ink-soft"), 1.2));
    p.setBrush(Qt::NoBrush);
    if (explorer) {
        p.drawEllipse(sign);
        QPolygonF needle;
        needle << sign.center() + QPointF(0, -5) << sign.center() + QPointF(2, 0) << sign.center() + QPointF(0, 5)
               << sign.center() + QPointF(-2, 0);
        p.setBrush(C("accent"));
        p.drawPolygon(needle);
    } else {
        p.drawLine(QPointF(sign.center().x(), sign.top() + 2), QPointF(sign.center().x(), sign.bottom()));
        p.drawArc(QRectF(sign.left(), sign.top() + 2, 12, 6), 0, 180 * 16);
        p.drawLine(QPointF(sign.left(), sign.top() + 5), QPointF(sign.left(), sign.bottom() - 1));
        p.drawLine(QPointF(sign.right(), sign.top() + 5), QPointF(sign.right(), sign.bottom() - 1));
        p.drawLine(QPointF(sign.left(), sign.bottom() - 1), QPointF(sign.right(), sign.bottom() - 1));
    }
    return image;
}

QImage StartPicture() {
    QImage image = Wood(layout::StartScreen, 61, -0.15, 110);
    QPainter p;
    BeginPainter(p, image);
    Vignette(p, image.size(), 140);
    QPainterPath disc;
    disc.addEllipse(QPointF(120, 140), 88, 88);
    SoftShadow(p, disc, QPointF(4, 6), 7, C("shadow", 220));
    DrawRosette(p, QPointF(120, 140), 88, false);
    EmbossedText(p, QRectF(232, 52, 240, 70), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Zupfari"),
                 Serif(60, true), C("cream"));
    EmbossedText(p, QRectF(236, 118, 240, 44), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Basis"),
                 Serif(36, false, true), C("honey"));
    p.setPen(QPen(C("honey", 160), 1));
    p.drawLine(QPointF(236, 170.5), QPointF(456, 170.5));
    EmbossedText(p, QRectF(236, 176, 226, 48), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                 Say("Der Gitarrenkurs für Einsteiger – in 30 Lektionen zu Ihren ersten Liedern", "The guitar course for beginners – 30 lessons to your first songs"),
                 Sans(14), C("cream"));
    p.fillRect(QRectF(0, 262, image.width(), 58), C("shadow", 150));
    p.fillRect(QRectF(0, 262, image.width(), 1), C("honey", 140));
    return image;
}

QImage GreetingBackdrop() {
    QImage image = MainBackground().copy(layout::LessonScreen);
    QPainter p;
    BeginPainter(p, image);
    DrawGuitar(p, QRectF(330, 46, 280, 112), 0);
    // Notes rising above the neck.
    p.setPen(QPen(C("accent"), 2));
    p.setBrush(C("accent"));
    const QPointF notes[] = {{480, 40}, {512, 28}, {546, 36}};
    for (const QPointF& at : notes) {
        p.drawEllipse(at, 5, 4);
        p.drawLine(at + QPointF(4.5, 0), at + QPointF(4.5, -16));
    }
    p.setPen(QPen(C("honey"), 1));
    p.drawLine(QPointF(24, 58.5), QPointF(300, 58.5));
    p.setPen(QPen(C("honey", 160), 1));
    p.drawLine(QPointF(24, 318.5), QPointF(604, 318.5));
    return image;
}

QImage NoLessonBackdrop() {
    QImage image = MainBackground().copy(layout::LessonScreen);
    QPainter p;
    BeginPainter(p, image);
    const QRect video = layout::IntroVideo.translated(-layout::LessonScreen.topLeft());
    QPainterPath frame;
    frame.addRoundedRect(Grown(video, 6), 5, 5);
    SoftShadow(p, frame, QPointF(3, 4), 5, C("shadow", 200));
    QLinearGradient wood(0, video.top(), 0, video.bottom());
    wood.setColorAt(0, C("wood-light"));
    wood.setColorAt(1, C("wood-dark"));
    p.fillPath(frame, wood);
    // The poster: the intro video's last picture, a little dimmed.
    p.drawImage(video.topLeft(), VideoFrame(false, 59, 60));
    p.fillRect(video, C("shadow", 50));
    p.setPen(QPen(C("honey"), 1));
    p.drawLine(QPointF(12, 70.5), QPointF(140, 70.5));
    p.drawLine(QPointF(video.right() + 14, 40.5), QPointF(616, 40.5));
    return image;
}

QImage VideoFrame(bool closing, int frame, int frames) {
    QImage image = Paper(QSize(320, 240), closing ? 83 : 81, C("cream"));
    QPainter p;
    BeginPainter(p, image);
    const double t = frames > 1 ? static_cast<double>(frame) / (frames - 1) : 0; // 0..1 over the clip
    const double seconds = t * 5.0;
    QLinearGradient light(0, 0, 0, 240);
    light.setColorAt(0, QColor(255, 255, 255, 40));
    light.setColorAt(1, C("honey", 90));
    p.fillRect(image.rect(), light);
    auto fade = [&](double from) { return std::clamp((seconds - from) / 0.6, 0.0, 1.0); };
    if (!closing) {
        // The guitar glides in from the right; its strings swing with each strum.
        double slide = std::clamp(seconds / 0.9, 0.0, 1.0);
        double x = 330 - slide * slide * (3 - 2 * slide) * 300;
        double swing = 0;
        for (double strum : {0.9, 2.2, 3.4}) {
            double since = seconds - strum;
            if (since >= 0) swing += 2.2 * std::exp(-since * 2.5) * std::sin(since * 60.0);
        }
        DrawGuitar(p, QRectF(x, 120, 280, 112), swing);
        p.setOpacity(fade(1.0));
        EngravedText(p, QRectF(0, 18, 320, 28), Qt::AlignCenter, Say("Willkommen bei", "Welcome to"), Sans(20), C("ink-soft"));
        EngravedText(p, QRectF(0, 44, 320, 50), Qt::AlignCenter, QStringLiteral("Zupfari Basis"), Serif(40, true),
                     C("wood-dark"));
        p.setOpacity(fade(2.4));
        EngravedText(p, QRectF(0, 94, 320, 22), Qt::AlignCenter, Say("Ihr Gitarrenkurs für Einsteiger", "Your guitar course for beginners"),
                     Sans(15, false, true), C("accent"));
        p.setOpacity(1);
    } else {
        // Confetti falls while the rosette grows: the course is done.
        for (int i = 0; i < 60; ++i) {
            double x = Noise(i * 7.3, 1.5, 91) * 320;
            double speed = 40 + Noise(i * 3.1, 2.5, 92) * 60;
            double y = std::fmod(Noise(i * 5.7, 3.5, 93) * 240 + seconds * speed, 260) - 10;
            QColor colour = i % 3 == 0 ? C("accent") : (i % 3 == 1 ? C("honey") : C("wood-light"));
            p.save();
            p.translate(x, y);
            p.rotate(seconds * 90 + i * 37);
            p.fillRect(QRectF(-3, -1.5, 6, 3), colour);
            p.restore();
        }
        double grow = std::clamp(seconds / 1.2, 0.0, 1.0);
        DrawRosette(p, QPointF(160, 150), 10 + 58 * grow * grow * (3 - 2 * grow), fade(2.0) > 0.5);
        p.setOpacity(fade(0.8));
        EngravedText(p, QRectF(0, 12, 320, 46), Qt::AlignCenter, Say("Geschafft!", "You did it!"), Serif(40, true),
                     C("wood-dark"));
        p.setOpacity(fade(1.8));
        EngravedText(p, QRectF(0, 56, 320, 22), Qt::AlignCenter, Say("Herzlichen Glückwunsch!", "Congratulations!"),
                     Sans(16, true), C("accent"));
        p.setOpacity(fade(2.8));
        EngravedText(p, QRectF(0, 214, 320, 20), Qt::AlignCenter,
                     Say("Sie haben alle 30 Lektionen gemeistert.", "You have mastered all 30 lessons."), Sans(14), C("ink"));
        p.setOpacity(1);
    }
    return image;
}

} // namespace art
