// The art step that composes preview images (not shipped): the windows as a
// learner will see them, with every picture and bitmap placed by the screen
// layout, so that the look can be judged before the forms exist. Written to
// the folder "preview" beside the program folder.
#include "layout/screenlayout.h"
#include "content/generator/art_paint.h"
#include "content/generator/art_resources.h"
#include "content/generator/art_scenes.h"
#include "content/generator/contentstep.h"
#include "platform/core/cp1252.h"
#include "platform/core/files.h"

#include <QImage>
#include <cmath>
#include <cstdio>

namespace art {

namespace {

QColor FromSkinColour(int value) { return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF); }

QImage Resource(const char* name) { return ResourceImage(name); }

// Draws a skin file's elements roughly as the program will: pictures,
// tinted or plain rectangles and labels in "Arial" (Liberation Sans here).
void DrawSkin(QPainter& p, const std::filesystem::path& folder, const std::string& file) {
    std::vector<std::string> raw = platform::ReadTextLines((folder / file).string());
    QStringList lines;
    for (const std::string& line : raw) lines << platform::FromAnsi(line);
    int at = 1;
    QImage backdrop;
    QPoint backdropAt;
    auto next = [&] { return at < lines.size() ? lines[at++] : QString(); };
    while (at < lines.size()) {
        const QString keyword = next();
        if (keyword == QStringLiteral("$C")) {
            next();
            int count = next().toInt();
            for (int i = 0; i < count; ++i) {
                int x = next().toInt(), y = next().toInt();
                p.setPen(Qt::black);
                p.setBrush(Qt::white);
                p.drawRect(x, y, 11, 11);
            }
            continue;
        }
        if (keyword != QStringLiteral("$L") && keyword != QStringLiteral("$S") && keyword != QStringLiteral("$I")) break;
        int tag = 0;
        if (at < lines.size() && lines[at].startsWith(QStringLiteral("TAG"))) tag = next().mid(3).toInt();
        const int left = next().toInt(), top = next().toInt();
        if (keyword == QStringLiteral("$I")) {
            QString name = next().replace(QLatin1Char('\\'), QLatin1Char('/'));
            QImage picture(QString::fromStdString((folder / name.toStdString()).string()));
            if (tag == 200 && backdrop.isNull()) {
                backdrop = picture;
                backdropAt = QPoint(left, top);
            }
            p.drawImage(left, top, picture);
        } else if (keyword == QStringLiteral("$S")) {
            const int width = next().toInt(), height = next().toInt();
            const QColor fill = FromSkinColour(next().toInt()), border = FromSkinColour(next().toInt());
            if (tag > 200 && tag < 300) {
                QColor tint = fill;
                tint.setAlphaF((300 - tag) / 100.0);
                p.fillRect(QRect(left, top, width, height), tint);
            } else {
                p.setBrush(fill);
                p.setPen(border);
                p.drawRect(left, top, width - 1, height - 1);
            }
        } else {
            next(); // font name: Arial, realised by its metric twin
            const int size = next().toInt(), style = next().toInt();
            const QColor colour = FromSkinColour(next().toInt());
            QString text = next();
            text.replace(QStringLiteral("$n"), QStringLiteral("\n"), Qt::CaseInsensitive);
            QFont font = Sans(static_cast<int>(std::floor(size * 96.0 / 72.0 + 0.5)), style >= 1 && style <= 7 && (style & 1),
                              style >= 1 && style <= 7 && (style & 2));
            font.setUnderline(style >= 1 && style <= 7 && (style & 4));
            p.setFont(font);
            p.setPen(colour);
            p.drawText(QRect(left, top, 700, 300), Qt::AlignLeft | Qt::AlignTop, text);
        }
    }
}

// A skinned button with its caption centred, as the fade button paints it.
void DrawButton(QPainter& p, QPoint at, const QImage& look, const QString& caption, int pixelSize = 12) {
    p.drawImage(at, look);
    p.setFont(Sans(pixelSize, true));
    p.setPen(C("ink"));
    p.drawText(QRect(at, look.size()).adjusted(0, -1, 0, -1), Qt::AlignCenter, caption);
}

void DrawRoundedPanel(QPainter& p, const QRect& where, const QImage& picture) {
    QPainterPath region;
    region.addRoundedRect(QRectF(where), layout::DialogCornerEllipse / 2.0, layout::DialogCornerEllipse / 2.0);
    p.save();
    p.setClipPath(region);
    p.drawImage(where.topLeft(), picture);
    p.restore();
}

void DrawLeftColumn(QPainter& p) {
    const std::pair<QPoint, const char*> column[] = {
        {layout::BExplorer, "Modus"},   {layout::BKontrolle, "Kontrolle"}, {layout::BUeplan, "Übeplan"},
        {layout::BMonitor, "Monitor"},  {layout::BStimm, "Tuner"},         {layout::BHilfe, "Hilfe"},
        {layout::BBeenden, "Beenden"}};
    const QImage normal = Resource("RBUTTON"), over = Resource("RBUTTONOVER");
    for (const auto& [at, caption] : column)
        DrawButton(p, at, at == layout::BUeplan ? over : normal, QString::fromUtf8(caption));
    const QRect& display = layout::ModeDisplay;
    p.drawImage(display.topLeft(), ModeDisplay(false));
    p.setPen(C("ink"));
    p.setFont(Sans(11));
    p.drawText(display.topLeft() + QPoint(10, 10 + 10), QStringLiteral("Modus"));
    p.drawText(display.topLeft() + QPoint(10, 44 + 10), QStringLiteral("Übezeit"));
    p.drawText(display.topLeft() + QPoint(10, 78 + 10), QStringLiteral("Soundcard"));
    p.setFont(Sans(12, true));
    p.drawText(display.topLeft() + QPoint(20, 20 + 11), QStringLiteral("Tutorial"));
    p.drawText(display.topLeft() + QPoint(20, 54 + 11), QStringLiteral("00:12"));
}

void DrawTransportAndColumn(QPainter& p, int level) {
    const char* keys[2][4] = {{"RPLAY", "RPAUSE", "RSTOP", "RLOOPDOWN"},
                              {"RLOCATOR", "RREWIND", "RFORWARDOVER", "RNOFUNCTIONCONTROL"}};
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 4; ++column)
            p.drawImage(layout::TransportKey(row, column), Resource(keys[row][column]));
    p.drawImage(layout::BLogo, Resource("RLOGOBUTTON"));
    p.drawImage(layout::LedPanel.topLeft(), Resource("LEDBG"));
    const QImage light = Resource("LEDBMPLIGHT");
    for (int i = 4; i < 10; ++i) p.drawImage(layout::LedSegmentAt(i), light);
    p.drawImage(layout::PreRollLamp, light);
    p.drawImage(layout::LevelBlock.topLeft(), Resource("IMGLEVEL"));
    p.setPen(C("ink"));
    p.setFont(Sans(11));
    const QRect& block = layout::LevelBlock;
    p.drawText(QRect(block.left(), block.top() + layout::LLevelCapOffset, block.width(), 13), Qt::AlignHCenter,
               QStringLiteral("Tempo"));
    p.setFont(Sans(13, true));
    p.drawText(QRect(block.left(), block.top() + layout::LLevelOffset, block.width(), 16), Qt::AlignHCenter,
               QString::number(level));
    // The tempo bar as the track bar paints it: background, ticks, thumb.
    const QRect& bar = layout::TempoBar;
    p.drawImage(bar.topLeft(), Resource("RTRACKBAR"));
    const int margin = layout::TrackThumb.height() / 2 + layout::TrackTailSize;
    const double scale = (bar.height() - 2.0 * margin) / 9.0;
    p.setPen(C("cream"));
    for (int step = 0; step <= 9; ++step) {
        int y = bar.top() + static_cast<int>(bar.height() - (step * scale + margin));
        p.drawLine(bar.left() + bar.width() / 4, y, bar.left() + bar.width() / 4 + layout::TrackTickWidth, y);
        p.drawLine(bar.left() + bar.width() * 3 / 4 - layout::TrackTickWidth, y, bar.left() + bar.width() * 3 / 4, y);
    }
    const int thumbCentre = static_cast<int>(bar.height() - (level - 1) * scale - margin);
    p.drawImage(bar.left() + bar.width() / 2 - layout::TrackThumb.width() / 2,
                bar.top() + thumbCentre - layout::TrackThumb.height() / 2, Resource("RTRACKTHUMB"));
}

void DrawPlanPanel(QPainter& p) {
    DrawRoundedPanel(p, layout::ToolPanel, PlanBackground());
    const QPoint origin = layout::ToolPanel.topLeft();
    const char* titles[] = {"Die Gitarre halten", "Leere Saiten", "---"};
    for (int i = 0; i < 3; ++i) {
        const int top = origin.y() + layout::PlanFirstRowTop + layout::PlanRowStep * i;
        p.setFont(Sans(11, true));
        p.setPen(Qt::white);
        p.drawText(origin.x() + layout::PlanNumberLeft, top + 12, i < 2 ? QString::number(i) : QStringLiteral("---"));
        p.drawText(origin.x() + layout::PlanTitleLeft, top + 12, QString::fromUtf8(titles[i]));
        if (i == 2) continue;
        QRect button(QPoint(origin.x() + layout::PlanSelectLeft, top), layout::PlanButton);
        p.fillRect(button, QColor(0xEE, 0xEE, 0xFF, 128));
        p.setPen(C("ink"));
        p.setFont(Sans(11));
        p.drawText(button, Qt::AlignCenter, QStringLiteral("Öffnen"));
    }
    const char* bottom[] = {"Von Vorn", "Neue Übung"};
    const int lefts[] = {layout::PlanTitleLeft, layout::PlanSelectLeft};
    for (int i = 0; i < 2; ++i) {
        QRect button(QPoint(origin.x() + lefts[i], origin.y() + layout::PlanBottomButtonsTop), layout::PlanButton);
        p.fillRect(button, QColor(0xEE, 0xEE, 0xFF, 128));
        p.setPen(C("ink"));
        p.drawText(button, Qt::AlignCenter, QString::fromUtf8(bottom[i]));
    }
}

void DrawTunerPanel(QPainter& p) {
    DrawRoundedPanel(p, layout::ToolPanel, TunerBackground());
    const QPoint origin = layout::ToolPanel.topLeft();
    p.drawImage(origin + layout::ImgTuner.topLeft(), Fretboard());
    const double s = layout::ImgTuner.height() / 6.0;
    const int t = layout::ImgTuner.top(), left = origin.x() + layout::ImgTuner.width() + 40;
    const int tops[] = {t - 4, static_cast<int>(t + s - 4), static_cast<int>(t + 2 * s - 4), static_cast<int>(t + 3 * s),
                        static_cast<int>(t + 4 * s), static_cast<int>(t + 5 * s)};
    const char* names[] = {"e", "h", "g", "D", "A", "E"};
    p.setFont(Sans(13, true));
    for (int i = 0; i < 6; ++i) {
        p.setPen(i == 2 ? Qt::white : Qt::black);
        p.drawText(left, origin.y() + tops[i] + 13, QString::fromLatin1(names[i]));
    }
    p.setPen(Qt::black);
    p.drawText(left + 48, origin.y() + tops[0] + 13, QStringLiteral("E Dur"));
    p.drawText(left + 48, origin.y() + tops[5] + 13, QStringLiteral("Aus"));
    p.drawImage(origin + layout::BTunerAkkord, Resource("TUNERAKKORDBMP"));
}

bool SavePreview(const QImage& image, const std::filesystem::path& file) {
    std::filesystem::create_directories(file.parent_path());
    if (image.save(QString::fromStdString(file.string()), "PNG")) return true;
    std::fprintf(stderr, "art: cannot write %s\n", file.string().c_str());
    return false;
}

QImage MainWindowPreview(const std::filesystem::path& bin, const char* skin, bool tuner) {
    QImage image = MainBackground();
    QPainter p;
    BeginPainter(p, image);
    DrawSkin(p, bin, skin);
    if (tuner) DrawTunerPanel(p);
    else DrawPlanPanel(p);
    DrawLeftColumn(p);
    DrawTransportAndColumn(p, tuner ? 1 : 7);
    if (tuner) {
        p.drawImage(layout::BVideoStop, Resource("RVIDEOPLAYBMP"));
    } else {
        // The point and the locator mark, composed with the raster operations
        // the play cursor uses: black ellipse, then OR; mask AND, mark OR.
        const QImage point = Resource("RPOINTBMP"), mark = Resource("RTRIGONBMP"), mask = Resource("RTRIGONBLACKBMP");
        const QPoint pointAt(620, 530 - point.height());
        p.setPen(Qt::black);
        p.setBrush(Qt::black);
        p.drawEllipse(QRect(pointAt, point.size()));
        p.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
        p.drawImage(pointAt, point);
        const QPoint markAt(pointAt.x(), 530 - mark.height() - 30);
        p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
        p.drawImage(markAt, mask);
        p.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
        p.drawImage(markAt, mark);
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    return image;
}

QImage DialogPreview() {
    QImage image = MainBackground();
    QPainter p;
    BeginPainter(p, image);
    p.fillRect(image.rect(), C("shadow", 90));
    const QRect box(QPoint((800 - layout::DialogWindow.width()) / 2, 200), layout::DialogWindow);
    DrawRoundedPanel(p, box, DialogBackground().scaled(layout::DialogWindow));
    p.setPen(C("ink"));
    p.setFont(Sans(13, true));
    p.drawText(QRect(box.left(), box.top() + 28, box.width(), 16), Qt::AlignHCenter, QStringLiteral("Programm beenden"));
    p.setFont(Sans(13));
    p.drawText(QRect(box.left() + 20, box.top() + 68, box.width() - 40, 60), Qt::AlignHCenter | Qt::TextWordWrap,
               QStringLiteral("Sie haben heute 25 Minuten geübt. Möchten Sie aufhören?"));
    const int top = box.top() + box.height() - layout::DialogButton.height() - 12;
    DrawButton(p, QPoint(box.center().x() + 1 - layout::DialogButton.width() - 12, top), Resource("RBUTTONDIALOG"), QStringLiteral("Ja"));
    DrawButton(p, QPoint(box.center().x() + 1 + 12, top), Resource("RBUTTONOVERDIALOG"), QStringLiteral("Nein"));
    return image;
}

QImage SlidePreview() {
    QImage image = SlideBackground();
    QPainter p;
    BeginPainter(p, image);
    const char* captions[] = {"Weiter", "Abbrechen", "Zurück", "Hilfe"};
    for (int i = 0; i < 4; ++i)
        DrawButton(p, QPoint(692, 540 - 31 * i), Resource(i == 0 ? "RBUTTONOVERLF" : "RBUTTONLF"),
                   QString::fromUtf8(captions[i]));
    p.setPen(C("ink"));
    p.setFont(Sans(11));
    p.drawText(714, 66 + 11, QStringLiteral("Lernfenster"));
    p.setFont(Sans(13, true));
    p.drawText(714, 88 + 13, QStringLiteral("Lektion 1"));
    return image;
}

QImage QuizPreview() {
    QImage image = QuizBackground();
    QPainter p;
    BeginPainter(p, image);
    p.setRenderHint(QPainter::Antialiasing, false);
    for (const QRect& r : {layout::QuizPanel1, layout::QuizPanel2, layout::QuizPanel3}) {
        const int x1 = r.left(), y1 = r.top(), x2 = r.left() + r.width(), y2 = r.top() + r.height();
        p.setPen(QColor(212, 159, 114));
        p.setBrush(Qt::NoBrush);
        p.drawRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1);
        p.setPen(QColor(189, 134, 93));
        p.setBrush(Qt::white);
        p.drawRect(x1 + 1, y1 + 1, x2 - x1 - 3, y2 - y1 - 3);
        p.drawLine(x1 + 1, y1 + 2, x2 - 2, y1 + 2);
        p.drawLine(x1 + 2, y1 + 1, x1 + 2, y2 - 2);
        p.setPen(QColor(218, 189, 167));
        p.drawLine(x1 + 3, y2 - 2, x2 - 3, y2 - 2);
        p.drawLine(x2 - 2, y1 + 3, x2 - 2, y2 - 3);
    }
    const char* captions[] = {"OK", "Abbrechen", "Hilfe"};
    for (int i = 0; i < 3; ++i) DrawButton(p, QPoint(691, 551 - 30 * i), Resource("RBUTTON"), QString::fromUtf8(captions[i]));
    return image;
}

QImage StartPreview(const std::filesystem::path& bin) {
    QImage image = StartPicture();
    QPainter p;
    BeginPainter(p, image);
    DrawSkin(p, bin, "Screen/StartScreen.zs1");
    return image;
}

bool WriteViews(const content::GeneratorContext& context) {
    if (!PrepareArt(context.sources)) return false;
    std::filesystem::path out = context.out.lexically_normal();
    if (!out.has_filename()) out = out.parent_path(); // "build/bin/" -> "build/bin"
    const std::filesystem::path folder = out.parent_path() / "preview";
    bool ok = SavePreview(MainWindowPreview(context.out, "lektionY/MainWin.zs1", false), folder / "mainwindow.png");
    ok = SavePreview(MainWindowPreview(context.out, "lektionX/MainWin.zs1", true), folder / "nolesson_tuner.png") && ok;
    ok = SavePreview(DialogPreview(), folder / "dialog.png") && ok;
    ok = SavePreview(SlidePreview(), folder / "slidewindow.png") && ok;
    ok = SavePreview(QuizPreview(), folder / "quiz.png") && ok;
    ok = SavePreview(StartPreview(context.out), folder / "startscreen.png") && ok;
    return ok;
}

content::StepRegistration registration{"art-view", WriteViews};

} // namespace

} // namespace art
