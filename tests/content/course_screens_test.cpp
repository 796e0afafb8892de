// The screens of the 30 lessons as generated: the play cursor's point lands
// on each beat's printed glyph, the quiz's right boxes follow the answer key,
// every file a skin names exists, and no label leaves its window or overlaps
// another.

#include "content/generator/course_cursor.h"
#include "lessons/registrydata.h"
#include "playback/cursorgeometry.h"
#include "content/generator/course_outline.h"
#include "layout/screenlayout.h"
#include "tests/content/art_testsupport.h"

#include "platform/core/files.h"

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontMetrics>
#include <QRect>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>

using namespace content;

namespace {

const std::string kCourse = ZUPFARI_CONTENT_SOURCES "/course";

const Outline& Course(Edition edition = Edition::German) {
    static const std::vector<Outline> editions = [] {
        std::vector<std::string> errors, notes;
        std::vector<Outline> loaded;
        LoadEditions(kCourse, loaded, errors, notes);
        return loaded;
    }();
    return editions.at(edition == Edition::German ? 0 : 1);
}

// The screens of one edition: its outline, and its files read the way the
// program finds them (the English overlay first).
class EditionScreens : public ::testing::TestWithParam<Edition> {
protected:
    void SetUp() override { arttest::ReadEnglishEdition(GetParam() == Edition::English); }
    void TearDown() override { arttest::ReadEnglishEdition(false); }
    const Outline& Lessons() const { return Course(GetParam()); }
};

std::string LessonFolder(int lesson) { return "lektion" + std::to_string(lesson) + "/"; }

// The glyph boxes the generator recorded: per notation beat, right and bottom exclusive.
std::vector<QRect> GlyphBoxes(int lesson) {
    std::vector<QRect> boxes;
    const auto text = platform::ReadFileBytes(ZUPFARI_CONTENT_SIDE "/notation/lektion" + std::to_string(lesson) + ".txt");
    if (!text) return boxes;
    std::istringstream in(*text);
    for (int beat, l, t, r, b; in >> beat >> l >> t >> r >> b;) boxes.push_back(QRect(QPoint(l, t), QPoint(r - 1, b - 1)));
    return boxes;
}

arttest::Skin LoadSkin(const std::string& relative) { return arttest::ParseSkin(arttest::ProgramFile(relative)); }

TEST(LessonScreens, ThePointLandsOnTheGlyphOfEveryBeat) {
    for (int lesson = 0; lesson < kLessonCount; ++lesson) {
        const RegistryRow& row = Registry(lesson);
        const std::vector<QRect> boxes = GlyphBoxes(lesson);
        ASSERT_EQ(boxes.size(), static_cast<std::size_t>(row.geometry[kWrapLength])) << "lesson " << lesson;
        // The program's own cursor, as the lesson's main screen loads it.
        playback::CursorGeometry geometry = lessons::LessonGeometry(lesson, 0);
        const lessons::HoldRange hold = lessons::MainScreenHold(lesson);
        geometry.HoldFrom = hold.From;
        geometry.HoldTo = hold.To;
        playback::CursorStep point;
        for (int beat = 0; beat < geometry.BeatCount; ++beat) {
            const playback::CursorStep step = playback::ComputeCursorStep(geometry, beat);
            if (!step.Held) point = step; // while held, the point stays where it was
            ASSERT_GE(point.Position, 0);
            const QRect& box = boxes[static_cast<std::size_t>(point.Position)];
            const int centre = point.PointX + layout::PointBitmap.width() / 2;
            EXPECT_TRUE(!box.isEmpty() && box.left() <= centre && centre <= box.right())
                << "lesson " << lesson << " beat " << beat << ": point centre " << centre << ", glyph "
                << box.left() << ".." << box.right();
            // The glyph stands in the point's own line of notation.
            EXPECT_TRUE(box.bottom() > point.PointY - 40 && box.top() < point.PointY + 50) << "lesson " << lesson << " beat " << beat;
        }
    }
}

TEST_P(EditionScreens, QuizRightBoxesFollowTheAnswerKey) {
    ASSERT_EQ(Lessons().lessons.size(), 30u);
    for (const Lesson& lesson : Lessons().lessons) {
        SCOPED_TRACE(lesson.file);
        const arttest::Skin skin = LoadSkin(LessonFolder(lesson.number) + "Kontrolle.zs1");
        ASSERT_TRUE(skin.error.isEmpty()) << skin.error.toStdString();
        std::vector<const arttest::SkinRecord*> groups, labels;
        for (const auto& r : skin.records) (r.keyword == "$C" ? groups : labels).push_back(&r);
        ASSERT_EQ(groups.size(), 3u);
        for (int q = 0; q < 3; ++q) {
            const arttest::SkinRecord& group = *groups[static_cast<std::size_t>(q)];
            EXPECT_EQ(group.fields[0].toInt(), q);
            const int count = group.fields[1].toInt();
            const int key = Registry(lesson.number).answerKey[static_cast<std::size_t>(q)];
            ASSERT_GE(count, key);
            // The label beside the key's box must be the outline's right answer.
            const QPoint box(group.fields[2 + 2 * (key - 1)].toInt(), group.fields[3 + 2 * (key - 1)].toInt());
            QString beside;
            for (const auto* label : labels)
                if (label->keyword == "$L" && std::abs(label->fields[1].toInt() - box.y()) <= 2 &&
                    label->fields[0].toInt() > box.x() && label->fields[0].toInt() < box.x() + 40)
                    beside = label->fields[6];
            const Question& question = lesson.quiz[static_cast<std::size_t>(q)];
            EXPECT_EQ(beside.replace("$n", " ").toStdString(), question.choices[static_cast<std::size_t>(question.right - 1)]);
        }
    }
}

// A file named in a skin, as the program finds it: backslashes as folder
// separators, letter case ignored.
bool ProgramFileExists(QString name) {
    name.replace('\\', '/');
    QDir dir(QString::fromStdString(arttest::ProgramFolder()));
    for (const QString& part : name.split('/')) {
        const QStringList entries = dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        auto found = std::find_if(entries.begin(), entries.end(), [&](const QString& e) { return e.compare(part, Qt::CaseInsensitive) == 0; });
        if (found == entries.end()) return false;
        if (!dir.cd(*found)) return part == name.split('/').last();
    }
    return true;
}

TEST_P(EditionScreens, SkinsExistForTheirWindowsAndEveryFileTheyNameExists) {
    for (const Lesson& lesson : Lessons().lessons) {
        SCOPED_TRACE(lesson.file);
        const std::string folder = LessonFolder(lesson.number);
        std::vector<std::string> skins = {"MainWin.zs1", "Kontrolle.zs1"};
        for (int w = 0; w < 3; ++w) {
            const std::string name = std::string("Win") + char('A' + w) + ".zs1";
            const bool present = !arttest::ProgramFile(folder + name).empty();
            EXPECT_EQ(present, !SkipsWindow(lesson.number, w)) << name;
            if (present) skins.push_back(name);
            const std::string letter(1, char('A' + w));
            const std::size_t pictures = lesson.slides[w] ? lesson.slides[w]->pictures.size() : 0;
            for (int k = 1; k <= 4; ++k)
                EXPECT_EQ(ProgramFileExists(QString::fromStdString(folder + "dia" + letter + std::to_string(k) + ".jpg")),
                          static_cast<std::size_t>(k) <= pictures) << "picture " << letter << k;
        }
        for (const std::string& name : skins) {
            const arttest::Skin skin = LoadSkin(folder + name);
            ASSERT_TRUE(skin.error.isEmpty() && !skin.endedEarly) << name << ": " << skin.error.toStdString();
            EXPECT_EQ(skin.header.toStdString(), name == "Kontrolle.zs1" ? "0" : Registry(lesson.number).header);
            for (const auto& r : skin.records) {
                if (r.keyword == "$I" && r.fields[2] != "$$") {
                    EXPECT_TRUE(ProgramFileExists(r.fields[2])) << name << " names " << r.fields[2].toStdString();
                }
                if (r.keyword == "$I" && r.tag >= 141 && r.tag <= 143) {
                    const std::string sample = folder + "Akkord" + std::to_string(r.tag - 140) + ".wav";
                    EXPECT_TRUE(ProgramFileExists(QString::fromStdString(sample))) << sample;
                }
                if (r.keyword == "$L" && r.tag >= 121 && r.tag <= 124) {
                    const std::string picture = folder + "Dia" + name.substr(3, 1) + std::to_string(r.tag - 120) + ".jpg";
                    EXPECT_TRUE(ProgramFileExists(QString::fromStdString(picture))) << picture;
                }
            }
        }
    }
}

// The rectangle a label takes on screen, measured as the program's labels draw.
QRect LabelRect(const arttest::SkinRecord& r) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(static_cast<int>(std::floor(r.fields[3].toInt() * 96.0 / 72.0 + 0.5)));
    const int style = r.fields[4].toInt();
    font.setBold(style >= 1 && style <= 7 && (style & 1));
    font.setItalic(style >= 1 && style <= 7 && (style & 2));
    font.setKerning(false);
    const QFontMetrics metrics(font);
    const QStringList lines = r.fields[6].split(QStringLiteral("$n"), Qt::KeepEmptyParts, Qt::CaseInsensitive);
    int width = 0;
    for (const QString& line : lines) width = std::max(width, metrics.horizontalAdvance(line));
    return QRect(r.fields[0].toInt(), r.fields[1].toInt(), width, static_cast<int>(lines.size()) * (metrics.ascent() + metrics.descent()));
}

TEST_P(EditionScreens, NoLabelLeavesItsAreaOrOverlapsAnother) {
    // The main screen's labels stay on the lesson screen; the slide windows'
    // stay left of their buttons and number labels; the quiz's stay in the
    // window and off its buttons (691..775, 491..574).
    const QRect slideArea(0, 0, 690, 600), mainArea = layout::LessonScreen, quizArea(0, 0, 800, 600);
    const QRect quizButtons(QPoint(691, 491), QPoint(775, 574));
    for (const Lesson& lesson : Lessons().lessons) {
        for (const char* name : {"MainWin.zs1", "WinA.zs1", "WinB.zs1", "WinC.zs1", "Kontrolle.zs1"}) {
            const std::string relative = LessonFolder(lesson.number) + name;
            if (arttest::ProgramFile(relative).empty()) continue;
            SCOPED_TRACE(relative);
            const bool quiz = std::string(name) == "Kontrolle.zs1";
            const QRect area = std::string(name) == "MainWin.zs1" ? mainArea : quiz ? quizArea : slideArea;
            std::vector<QRect> taken; // labels, and pictures other than the backdrop
            if (quiz) taken.push_back(quizButtons);
            for (const auto& r : LoadSkin(relative).records) {
                QRect rect;
                if (r.keyword == "$L") rect = LabelRect(r);
                else if (r.keyword == "$I" && r.tag != 200) {
                    const QImage picture = arttest::ProgramPicture(QString(r.fields[2]).replace('\\', '/').toStdString());
                    rect = QRect(QPoint(r.fields[0].toInt(), r.fields[1].toInt()), picture.size());
                } else if (r.keyword == "$C") {
                    for (int i = 0; i < r.fields[1].toInt(); ++i)
                        taken.push_back(QRect(r.fields[2 + 2 * i].toInt(), r.fields[3 + 2 * i].toInt(), 12, 12));
                    continue;
                } else continue;
                EXPECT_TRUE(area.contains(rect)) << (r.keyword == "$L" ? r.fields[6].toStdString() : "picture")
                    << " at " << rect.x() << "," << rect.y() << " " << rect.width() << "x" << rect.height();
                for (const QRect& other : taken)
                    EXPECT_FALSE(rect.intersects(other)) << (r.keyword == "$L" ? r.fields[6].toStdString() : "picture")
                        << " overlaps the element at " << other.x() << "," << other.y();
                taken.push_back(rect);
            }
        }
    }
}

// A dot of the course's accent colour round `at` (the finger's number is
// written in its middle), allowing for the picture's JPEG compression.
bool AccentAt(const QImage& picture, QPointF at) {
    int accent = 0;
    for (int dy = -4; dy <= 4; ++dy)
        for (int dx = -4; dx <= 4; ++dx) {
            const QColor c = picture.pixelColor(at.toPoint() + QPoint(dx, dy));
            accent += c.red() > 170 && c.green() < 150 && c.blue() < 110 && c.red() - c.blue() > 100;
        }
    return accent >= 12; // a dot fills a good part of the square, a bare place none
}

TEST_P(EditionScreens, EveryChordDiagramMarksExactlyTheChordsFrettedPlaces) {
    // A "chord" picture's diagram: 52 x 72 pixels at 22, 28, six strings,
    // four frets (or as many as the chord reaches), a dot per fretted place.
    int diagrams = 0;
    for (const Lesson& lesson : Lessons().lessons)
        for (int w = 0; w < 3; ++w) {
            const auto& slide = lesson.slides[static_cast<std::size_t>(w)];
            if (!slide) continue;
            const auto& drawings = Course().lessons[static_cast<std::size_t>(lesson.number)].slides[static_cast<std::size_t>(w)]->drawings;
            for (std::size_t k = 0; k < drawings.size(); ++k) {
                if (drawings[k].rfind("chord ", 0) != 0) continue;
                const ChordShape& shape = Lessons().chords.at(drawings[k].substr(6));
                const std::string file = LessonFolder(lesson.number) + "Dia" + std::string(1, char('A' + w)) +
                                         std::to_string(k + 1) + ".jpg";
                const QImage picture = arttest::ProgramPicture(file);
                ASSERT_FALSE(picture.isNull()) << file;
                const int frets = std::max(4, *std::max_element(shape.frets.begin(), shape.frets.end()));
                for (int string = 0; string < 6; ++string)
                    for (int fret = 1; fret <= frets; ++fret) {
                        const QPointF at(22 + string * 52 / 5.0, 28 + (fret - 0.5) * 72.0 / frets);
                        EXPECT_EQ(AccentAt(picture, at), shape.frets[static_cast<std::size_t>(string)] == fret)
                            << file << " (" << shape.name << "): string " << string << ", fret " << fret;
                    }
                ++diagrams;
            }
        }
    EXPECT_EQ(diagrams, 7); // Em, Am, C, G, D, Dm, G5
}

// How different two pictures are: the mean difference of their pixels'
// channels (0 = the same picture).
double Difference(const QImage& a, const QImage& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * a.width() * a.height());
}

TEST_P(EditionScreens, EverySlidePictureShowsItsOwnDrawing) {
    // The drawing area above the caption of every slide picture: never bare
    // paper, and no two pictures that name different drawings look alike
    // (a caption never gets some stock picture; a drawing of its own differs
    // by at least a dot of a chord diagram, as D and Dm do: about 2.5).
    struct Drawn {
        std::string file, drawing;
        QImage area;
    };
    std::vector<Drawn> pictures;
    for (const Lesson& lesson : Lessons().lessons)
        for (int w = 0; w < 3; ++w) {
            if (!lesson.slides[static_cast<std::size_t>(w)]) continue;
            const auto& drawings = Course().lessons[static_cast<std::size_t>(lesson.number)].slides[static_cast<std::size_t>(w)]->drawings;
            for (std::size_t k = 0; k < drawings.size(); ++k) {
                const std::string file = LessonFolder(lesson.number) + "Dia" + std::string(1, char('A' + w)) +
                                         std::to_string(k + 1) + ".jpg";
                const QImage picture = arttest::ProgramPicture(file);
                ASSERT_EQ(picture.size(), layout::SlidePicture) << file;
                pictures.push_back({file, drawings[k], picture.copy(0, 0, 192, 108).convertToFormat(QImage::Format_RGB32)});
            }
        }
    EXPECT_GE(pictures.size(), 84u);
    const QImage paper = [&] {
        QImage blank(192, 108, QImage::Format_RGB32);
        blank.fill(pictures.front().area.pixel(3, 3)); // the paper's own colour in a corner
        return blank;
    }();
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        EXPECT_GT(Difference(pictures[i].area, paper), 8.0) << pictures[i].file << " is nearly blank";
        for (std::size_t j = i + 1; j < pictures.size(); ++j)
            if (pictures[i].drawing != pictures[j].drawing)
                EXPECT_GT(Difference(pictures[i].area, pictures[j].area), 1.0)
                    << pictures[i].file << " (" << pictures[i].drawing << ") and " << pictures[j].file << " ("
                    << pictures[j].drawing << ") look alike";
    }
}

INSTANTIATE_TEST_SUITE_P(Editions, EditionScreens, ::testing::Values(Edition::German, Edition::English),
                         [](const auto& info) { return info.param == Edition::German ? "German" : "English"; });

} // namespace
