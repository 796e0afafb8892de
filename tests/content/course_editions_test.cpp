// The course as the program opens it under language codes 0, 1 and 2: with
// the overlay the program sets at start-up and the registry tables it builds,
// every lesson's exercise files (found through the path resolver) hold the
// tempo of their level, the count-in and exactly the beat count, and the
// play cursor's point lands on the glyph of every beat of the notation the
// resolver serves.

#include "layout/screenlayout.h"
#include "lessons/lessonregistry.h"
#include "lessons/registrydata.h"
#include "mxmidi/smfreader.h"
#include "platform/core/files.h"
#include "platform/core/pathresolver.h"
#include "playback/cursorgeometry.h"

#include <QDir>
#include <QRect>
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace {

constexpr int kTicksPerBeat = 480;
constexpr int kClickChannel = 9;

const QString kProgram = QDir::cleanPath(QStringLiteral(ZUPFARI_PROGRAM_FOLDER)) + "/";

// The overlay exactly as the program sets it for `code` (app start-up).
class ProgramUnderCode {
public:
    explicit ProgramUnderCode(int code) {
        const bool english = lessons::CourseEdition(code) != 0;
        platform::SetContentOverlay(kProgram, english ? kProgram + lessons::kEnglishEditionFolder : QString());
    }
    ~ProgramUnderCode() { platform::SetContentOverlay(QString(), QString()); }
};

// The file the program opens for a path of the registry ("lektion12\\...").
QString Opened(const std::string& relative) {
    return platform::ResolvePath(kProgram + QString::fromStdString(relative));
}

bool InOverlay(const QString& path) {
    return path.startsWith(kProgram + lessons::kEnglishEditionFolder + "/");
}

// The glyph boxes of the notation picture the program shows: the edition's
// side file that belongs to the Notation.jpg the resolver serves.
std::vector<QRect> GlyphBoxes(int lesson) {
    const QString notation = Opened("lektion" + std::to_string(lesson) + "\\Notation.jpg");
    const std::string edition = InOverlay(notation) ? "/English" : "";
    std::vector<QRect> boxes;
    const auto text = platform::ReadFileBytes(ZUPFARI_CONTENT_SIDE + edition + "/notation/lektion" +
                                              std::to_string(lesson) + ".txt");
    if (!text) return boxes;
    std::istringstream in(*text);
    for (int beat, l, t, r, b; in >> beat >> l >> t >> r >> b;) boxes.push_back(QRect(QPoint(l, t), QPoint(r - 1, b - 1)));
    return boxes;
}

struct MidiFacts {
    bool read = false;
    int tempo = 0;  // beats per minute
    int clicks = 0; // count-in clicks
    std::uint32_t firstNote = ~0u, end = 0;
};

MidiFacts Inspect(const QString& path) {
    MidiFacts facts;
    const auto bytes = platform::ReadFileBytes(QFile::encodeName(path).toStdString());
    if (!bytes) return facts;
    const auto smf = mxmidi::smf::ParseSmf(reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size());
    if (!smf || smf->tracks.empty() || smf->resolution != kTicksPerBeat) return facts;
    facts.read = true;
    if (const auto* tempo = smf->tracks[0].FindMeta(0x51); tempo && tempo->data.size() == 3) {
        const auto* d = reinterpret_cast<const unsigned char*>(tempo->data.data());
        facts.tempo = static_cast<int>(std::lround(60000000.0 / ((d[0] << 16) | (d[1] << 8) | d[2])));
    }
    for (const auto& track : smf->tracks) {
        std::uint32_t now = 0;
        for (const MidiEvent& e : track.events) {
            now += e.time;
            const bool noteOn = (e.status & 0xF0) == 0x90 && e.data2 > 0;
            if (noteOn && (e.status & 0x0F) == kClickChannel) ++facts.clicks;
            else if (noteOn) facts.firstNote = std::min(facts.firstNote, now);
        }
        facts.end = std::max(facts.end, now);
    }
    return facts;
}

class CourseUnderCode : public ::testing::TestWithParam<int> {};

TEST_P(CourseUnderCode, TempoCountInAndBeatCountOfEveryLevelFitTheRegistrysRows) {
    const int code = GetParam();
    ProgramUnderCode program(code);
    const lessons::CourseTables tables = lessons::LessonRegistry::BuildCourseTables(code);
    for (int lesson = 0; lesson < lessons::kLessonCount; ++lesson) {
        const auto n = static_cast<std::size_t>(lesson);
        const lessons::LessonValues& values = lessons::LessonValuesOf(lesson);
        const std::uint32_t head = static_cast<std::uint32_t>(values.CountInBeats * kTicksPerBeat);
        for (int level = 1; level <= lessons::kLevelCount; ++level) {
            SCOPED_TRACE("code " + std::to_string(code) + " lesson " + std::to_string(lesson) + " level " +
                         std::to_string(level));
            const MidiFacts facts = Inspect(Opened(lessons::ExerciseFile(lesson, level)));
            ASSERT_TRUE(facts.read);
            EXPECT_EQ(facts.tempo, tables.TempoTable[n][static_cast<std::size_t>(level - 1)]);
            EXPECT_EQ(facts.clicks, values.CountInBeats);
            EXPECT_GE(facts.firstNote, head);
            EXPECT_EQ(facts.end, head + static_cast<std::uint32_t>(tables.CursorGeometry[n].BeatCount * kTicksPerBeat));
        }
    }
}

TEST_P(CourseUnderCode, ThePointLandsOnTheGlyphOfEveryBeat) {
    const int code = GetParam();
    ProgramUnderCode program(code);
    const lessons::CourseTables tables = lessons::LessonRegistry::BuildCourseTables(code);
    for (int lesson = 0; lesson < lessons::kLessonCount; ++lesson) {
        SCOPED_TRACE("code " + std::to_string(code) + " lesson " + std::to_string(lesson));
        playback::CursorGeometry geometry = tables.CursorGeometry[static_cast<std::size_t>(lesson)];
        const lessons::HoldRange hold = lessons::MainScreenHold(lesson);
        geometry.HoldFrom = hold.From;
        geometry.HoldTo = hold.To;
        const std::vector<QRect> boxes = GlyphBoxes(lesson);
        ASSERT_EQ(boxes.size(), static_cast<std::size_t>(geometry.WrapLength));
        playback::CursorStep point;
        for (int beat = 0; beat < geometry.BeatCount; ++beat) {
            const playback::CursorStep step = playback::ComputeCursorStep(geometry, beat);
            if (!step.Held) point = step;
            ASSERT_GE(point.Position, 0);
            const QRect& box = boxes[static_cast<std::size_t>(point.Position)];
            const int centre = point.PointX + layout::PointBitmap.width() / 2;
            EXPECT_TRUE(!box.isEmpty() && box.left() <= centre && centre <= box.right())
                << "beat " << beat << ": point centre " << centre << ", glyph " << box.left() << ".." << box.right();
            EXPECT_TRUE(box.bottom() > point.PointY - 40 && box.top() < point.PointY + 50) << "beat " << beat;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Codes, CourseUnderCode, ::testing::Values(0, 1, 2));

TEST(CourseEditions, EveryCodeButZeroIsServedTheEnglishEditionOfLessonTwelve) {
    for (int code : {0, 1, 2}) {
        ProgramUnderCode program(code);
        const bool english = code != 0;
        EXPECT_EQ(InOverlay(Opened("lektion12\\MainWin.zs1")), english) << code;
        EXPECT_EQ(InOverlay(Opened("lektion12\\Notation.jpg")), english) << code;
        EXPECT_EQ(InOverlay(Opened("Midi\\uebung12_1.mid")), english) << code;
        EXPECT_EQ(InOverlay(Opened("Listen\\LTextXplorer.ztl")), english) << code;
        // The chord samples are the same in both editions.
        EXPECT_FALSE(InOverlay(Opened("lektion12\\Akkord1.wav"))) << code;
        EXPECT_EQ(lessons::LessonRegistry::BuildCourseTables(code).CursorGeometry[12].BeatCount, english ? 64 : 56);
    }
}

} // namespace
