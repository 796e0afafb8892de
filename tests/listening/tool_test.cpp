// zupfari-listen on recordings: the tuner's lines every 50 ms, the onsets,
// and clear refusals of bad arguments and bad files.
#include "listening/guitarstrings.h"
#include "tests/listening/listentool.h"
#include "tests/listening/pluck.h"
#include "tests/support/testsupport.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <gtest/gtest.h>

namespace {

using namespace listening;

using listentest::Listen;
using listentest::ToolRun;

// "   0.250  A    110.21 Hz    +3.2 cents" or "   0.050  -"
struct Line {
    double seconds = 0;
    QString string;
    double hz = 0, cents = 0;
};

Line Parse(const QString& text) {
    static const QRegularExpression pattern(
        R"(^\s*(\d+\.\d{3})\s+(?:(-)|([EADGBe])\s+(\d+\.\d{2}) Hz\s+([+-]\d+\.\d) cents)$)");
    const auto match = pattern.match(text);
    Line line;
    if (!match.hasMatch()) {
        ADD_FAILURE() << "not a tune line: " << text.toStdString();
        return line;
    }
    line.seconds = match.captured(1).toDouble();
    line.string = match.captured(2).isEmpty() ? match.captured(3) : "-";
    line.hz = match.captured(4).toDouble();
    line.cents = match.captured(5).toDouble();
    return line;
}

TEST(ListenTool, TunePrintsALineEvery50MsWithStringFrequencyAndCents) {
    testsupport::TempFolder folder;
    const int rate = 44100;
    auto pluck = listentest::GuitarPluck(StringB, -7);
    pluck.seconds = 1.8;
    const std::string file = folder.Write("b.wav", listentest::WaveFile16(listentest::Render(pluck, rate), rate));

    for (const char* string : {"auto", "B", "H"}) {
        SCOPED_TRACE(string);
        const ToolRun run = Listen({"tune", "--string", string, QString::fromStdString(file)});
        ASSERT_EQ(run.code, 0) << run.err.toStdString();
        EXPECT_EQ(run.lines.size(), 40); // 2.0 s of sound
        for (int i = 0; i < run.lines.size(); ++i) {
            const Line line = Parse(run.lines[i]);
            EXPECT_NEAR(line.seconds, 0.05 * (i + 1), 1e-9);
            if (line.seconds < 0.2) {
                EXPECT_EQ(line.string, "-") << "before the pluck";
            }
            if (line.seconds < 0.45) continue;
            EXPECT_EQ(line.string, "B");
            EXPECT_NEAR(line.hz, OpenStringFrequency(StringB) * std::pow(2.0, -7 / 1200.0), 0.2);
            EXPECT_NEAR(line.cents, -7, 1.05);
        }
    }
    // The low E string chosen, the B string heard: nothing to read.
    const ToolRun wrong = Listen({"tune", "--string", "E", QString::fromStdString(file)});
    ASSERT_EQ(wrong.code, 0);
    for (const QString& text : wrong.lines) EXPECT_EQ(Parse(text).string, "-") << text.toStdString();
}

TEST(ListenTool, OnsetsPrintsTheTimeOfEachPluck) {
    testsupport::TempFolder folder;
    const int rate = 48000;
    std::vector<float> take(std::size_t(rate / 2), 0.0f);
    for (int string : {StringA, StringD, HighE}) {
        auto pluck = listentest::GuitarPluck(string, 0);
        pluck.leadSeconds = 0;
        pluck.seconds = 0.7;
        listentest::MixInto(take, listentest::Render(pluck, rate), take.size());
    }
    const std::string file = folder.Write("take.wav", listentest::WaveFile16(take, rate));
    const ToolRun run = Listen({"onsets", QString::fromStdString(file)});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    ASSERT_EQ(run.lines.size(), 3) << run.lines.join('\n').toStdString();
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(run.lines[i].trimmed().toDouble(), 0.5 + 0.7 * i, 0.015);
}

TEST(ListenTool, BadArgumentsAndBadFilesAreRefusedClearly) {
    testsupport::TempFolder folder;
    const std::string text = folder.Write("notes.txt", "not a sound");
    struct Case {
        QStringList arguments;
        int code;
        const char* says;
    } cases[] = {
        {{}, 2, "usage"},
        {{"transpose", "x.wav"}, 2, "usage"},
        {{"tune"}, 2, "usage"},
        {{"tune", "--string", "X", "x.wav"}, 2, "unknown string X"},
        {{"tune", "--seconds", "soon", "-"}, 2, "usage"},
        {{"tune", QString::fromStdString(folder.Path() + "missing.wav")}, 1, "cannot open"},
        {{"tune", QString::fromStdString(text)}, 1, "not a WAV file"},
        {{"onsets", QString::fromStdString(text)}, 1, "not a WAV file"},
    };
    for (const Case& c : cases) {
        const ToolRun run = Listen(c.arguments);
        EXPECT_EQ(run.code, c.code) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(c.says)) << c.arguments.join(' ').toStdString() << ": " << run.err.toStdString();
        EXPECT_TRUE(run.lines.isEmpty());
    }
}

} // namespace
