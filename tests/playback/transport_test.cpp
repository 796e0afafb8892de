// The transport without a window: a fake engine with its own clock and beat
// times, a view that records what it is asked, and a canvas the transport
// draws on. The point, the count-in digit and the LED column move when their
// beat is heard; observers learn of every pass and beat.

#include "platform/core/clock.h"
#include "playback/transport.h"
#include "tests/support/testsupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <map>
#include <utility>
#include <vector>

namespace {

using namespace platform;
using playback::PassInfo;
using playback::Transport;
using playback::TransportControl;

// An engine whose clock the test moves: once started, beat b of the counter
// falls at the start time plus (b - the start beat) beats.
class TimedEngine : public playback::ExerciseEngine {
public:
    long long now = 10'000'000;
    long long beatUs = 500'000; // 120 beats per minute
    int latency = 40'000;
    bool timeLine = true;
    std::vector<int> starts;
    long long startedAt = -1;
    int startBeat = 0;
    bool running = false;
    int status = 2;

    int NumDevs() override { return 0; }
    bool InitWin(QObject*) override { return true; }
    bool DeviceName(unsigned short, std::string&) override { return false; }
    bool Technology(unsigned short, unsigned short&) override { return false; }
    bool SetDeviceByID(unsigned short) override { return false; }
    bool SetDeviceByName(const std::string&) override { return false; }
    int LoadFile(const std::string&) override { return 1; }
    int Start(int start) override {
        starts.push_back(start);
        startBeat = (start + 7) / 8;
        startedAt = now;
        running = true;
        status = 1;
        return 1;
    }
    int Pause() override {
        const int beats = Beats();
        running = false;
        status = 3;
        return beats;
    }
    int Stop() override {
        running = false;
        status = 2;
        return 0;
    }
    bool IsRunning() override { return running; }
    int Status() override { return status; }
    int Beats() override {
        return running ? startBeat + static_cast<int>((now - startedAt) / beatUs) : startBeat;
    }
    long long Clock() override { return now; }
    long long BeatTime(int beats) override {
        if (!timeLine || !running) return -1;
        return startedAt + (beats - startBeat) * beatUs;
    }
    int OutputLatency() override { return latency; }
    long long HeardAt(int beats) { return startedAt + (beats - startBeat) * beatUs + latency; }
};

class RecordingView : public playback::TransportView {
public:
    std::map<TransportControl, bool> enabled;
    int loadFailures = 0, startFailures = 0;
    void EnableControl(TransportControl control, bool on) override { enabled[control] = on; }
    void StopOtherSounds() override {}
    void TellLoadFailed() override { ++loadFailures; }
    void TellStartFailed() override { ++startFailures; }
};

// What the observers hear, one line per event.
class Journal : public playback::TransportObserver {
public:
    std::vector<std::pair<int, long long>> beats; // exercise beat, heard at
    std::vector<PassInfo> started, playedThrough, paused, stopped;
    void PassStarted(const PassInfo& pass) override { started.push_back(pass); }
    void PassPlayedThrough(const PassInfo& pass) override { playedThrough.push_back(pass); }
    void PassPaused(const PassInfo& pass, int) override { paused.push_back(pass); }
    void PassStopped(const PassInfo& pass, int) override { stopped.push_back(pass); }
    void BeatHeard(const PassInfo&, int beat, long long heardAt) override {
        beats.emplace_back(beat, heardAt);
    }
};

constexpr TColor kLight = 0x00FF00;
constexpr TColor kDark = 0x000040;
constexpr TColor kPaper = 0xFFFFFF;

void Fill(TBitmap& bitmap, int width, int height, TColor colour) {
    bitmap.SetSize(width, height);
    bitmap.Canvas()->Brush()->SetColor(colour);
    bitmap.Canvas()->FillRect(TRect(0, 0, width, height));
}

class TransportAlone : public ::testing::Test {
protected:
    void SetUp() override {
        Fill(window_, 800, 600, kPaper);
        Fill(point_, 10, 10, 0x0000FF);
        Fill(dark_, 12, 6, kDark);
        Fill(light_, 12, 6, kLight);
        cursor_ = std::make_unique<playback::PlayCursor>(window_.Canvas());
        playback::TransportScreen screen;
        screen.Canvas = window_.Canvas();
        screen.Cursor = cursor_.get();
        screen.Point = &point_;
        screen.PointWork = &work_;
        screen.LedBackground = &ledBackground_;
        screen.Led = {window_.Canvas(), &dark_, &light_, 751, 139};
        transport_ = std::make_unique<Transport>(engine_, view_, screen);
        transport_->AddObserver(&journal_);
        // The pre-roll's clock runs ahead: it ends as soon as it begins.
        transport_->PreRollBlink().Now = [this] { return preRollClock_ += 10000; };
        lesson_.Lesson = 1;
        lesson_.CountInBeats = 4;
        lesson_.CursorActive = true;
        lesson_.Geometry.OriginX = 100;
        lesson_.Geometry.OriginY = 200;
        lesson_.Geometry.BeatWidth = 32.0f;
        lesson_.Geometry.BeatsPerLine = 16;
        lesson_.Geometry.BeatCount = 32;
        lesson_.Geometry.WrapLength = 32;
        lesson_.Geometry.InitialBeat = 0;
        lesson_.Tempo.fill(120);
        for (int level = 1; level <= playback::kTempoLevels; ++level)
            lesson_.LevelFiles[static_cast<std::size_t>(level)] =
                files_.Write("uebung1_" + std::to_string(level) + ".mid", "MThd");
    }

    void Open(int level = playback::kTopLevel) { ASSERT_TRUE(transport_->OpenLesson(lesson_, level)); }
    // Lets the engine's clock run to `at` and the beat timer fire.
    void RunTo(long long at) {
        engine_.now = at;
        transport_->BeatDue();
    }
    TColor LedTop() { return window_.Canvas()->Pixel(751 + 3, 139 + 2 + 1); }
    QImage Digit() {
        const TPoint place = transport_->CountInDigitPlace();
        const TBitmap& shape = transport_->Digit().Background;
        return window_.Canvas()->Image().copy(place.X, place.Y, shape.Width(), shape.Height());
    }

    testsupport::TempFolder files_;
    TBitmap window_, point_, work_, dark_, light_, ledBackground_;
    std::unique_ptr<playback::PlayCursor> cursor_;
    TimedEngine engine_;
    RecordingView view_;
    Journal journal_;
    playback::TransportLesson lesson_;
    std::unique_ptr<Transport> transport_;
    std::uint32_t preRollClock_ = 1000;
};

// Every move waits for its beat's time plus the output latency: the digit
// during the count-in, then the point; a timer that fires early moves
// nothing, and beats heard while the thread was busy are passed over.
TEST_F(TransportAlone, ThePointMovesWhenItsBeatIsHeard) {
    Open();
    transport_->Play(playback::kTopLevel);
    ASSERT_EQ(engine_.starts, std::vector<int>{0});
    ASSERT_EQ(transport_->NextBeatDue(), engine_.HeardAt(0));

    const QImage blank = Digit();
    RunTo(engine_.HeardAt(0) - 1000);
    EXPECT_TRUE(journal_.beats.empty());
    EXPECT_EQ(Digit(), blank);
    RunTo(engine_.HeardAt(0));
    EXPECT_NE(Digit(), blank); // "1"
    // The large digit's plate covers the first beats' places: it goes
    // before the point comes, leaving the point and the bare paper.
    auto onlyPaperAndPoint = [&] {
        const QImage shown = Digit();
        int point = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x) {
                const QColor c = shown.pixelColor(x, y);
                if (c == platform::ToQColor(0x0000FF)) ++point;
                else if (c != platform::ToQColor(kPaper)) return -1;
            }
        return point;
    };
    for (int b = 1; b <= 6; ++b) {
        EXPECT_EQ(transport_->NextBeatDue(), engine_.HeardAt(b)) << b;
        RunTo(engine_.HeardAt(b));
        if (b == 4) {
            EXPECT_GT(onlyPaperAndPoint(), 0) << "the first beat's point shows";
        }
    }
    EXPECT_GE(onlyPaperAndPoint(), 0) << "no remnant of the digit";
    ASSERT_EQ(journal_.beats.size(), 7u);
    for (int b = 0; b <= 6; ++b) {
        EXPECT_EQ(journal_.beats[static_cast<std::size_t>(b)].first, b - 4);
        EXPECT_EQ(journal_.beats[static_cast<std::size_t>(b)].second, engine_.HeardAt(b));
    }
    const playback::CursorStep two = playback::ComputeCursorStep(lesson_.Geometry, 2);
    EXPECT_EQ(cursor_->PointX, two.PointX);
    EXPECT_EQ(cursor_->PointY, two.PointY);
    EXPECT_EQ(transport_->ShownBeat(), 2);

    // Three beats heard at once: the latest shows, with its own time.
    RunTo(engine_.HeardAt(9) + 5000);
    EXPECT_EQ(transport_->ShownBeat(), 5);
    EXPECT_EQ(journal_.beats.back(), std::make_pair(5, engine_.HeardAt(9)));
    EXPECT_EQ(transport_->NextBeatDue(), engine_.HeardAt(10));
}

TEST_F(TransportAlone, TheLedColumnStaysStillDuringTheCountInAndLightsOnTheFirstBeat) {
    Open();
    transport_->Play(playback::kTopLevel);
    for (int b = 0; b < 4; ++b) {
        RunTo(engine_.HeardAt(b));
        EXPECT_EQ(LedTop(), kPaper) << "count-in beat " << b;
    }
    transport_->Led().SegmentDelay = 1000; // no draining step meanwhile
    RunTo(engine_.HeardAt(4));
    // The top segment darkens as soon as the column is full; the one
    // below it stays lit.
    const int second = transport_->Led().SegmentTop(1) + 1;
    EXPECT_EQ(window_.Canvas()->Pixel(751 + 3, second), kLight);
    EXPECT_EQ(LedTop(), kDark);
}

// Without beat times from the engine the poll of the beat counter moves
// the point, as it always did.
TEST_F(TransportAlone, WithoutATimeLineThePollMovesThePoint) {
    engine_.timeLine = false;
    Open();
    transport_->Play(playback::kTopLevel);
    EXPECT_EQ(transport_->NextBeatDue(), -1);
    engine_.now += 7 * engine_.beatUs;
    transport_->Poll();
    EXPECT_EQ(transport_->ShownBeat(), 3);
    EXPECT_EQ(journal_.beats.back().first, 3);
}

// Play waits for its pre-roll on a timer, not in a loop of its own: the
// learner can stop it meanwhile, and the engine then never starts.
TEST_F(TransportAlone, AStopDuringThePreRollMeansTheEngineNeverStarts) {
    Open();
    transport_->PreRollBlink().Now = [] { return platform::timeGetTime(); };
    transport_->Play(playback::kTopLevel);
    EXPECT_TRUE(transport_->PreRolling());
    EXPECT_TRUE(transport_->Busy());
    EXPECT_FALSE(view_.enabled[TransportControl::Play]);
    transport_->Stop();
    EXPECT_FALSE(transport_->Busy());
    EXPECT_TRUE(view_.enabled[TransportControl::Play]);
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 1200) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_TRUE(engine_.starts.empty());
    EXPECT_TRUE(journal_.started.empty());
}

// Observers learn of each pass: only one played through at the top level
// from its first beat is marked as counting; one taken up after a pause is not.
TEST_F(TransportAlone, ObserversHearOfEveryPassAndWhichOneCounts) {
    Open();
    transport_->Play(playback::kTopLevel);
    ASSERT_EQ(journal_.started.size(), 1u);
    EXPECT_TRUE(journal_.started[0].TopLevel);
    EXPECT_EQ(journal_.started[0].Lesson, 1);
    engine_.status = 2;
    engine_.running = false;
    transport_->Poll();
    ASSERT_EQ(journal_.playedThrough.size(), 1u);
    EXPECT_TRUE(journal_.playedThrough[0].TopLevel);

    transport_->Play(playback::kTopLevel);
    RunTo(engine_.HeardAt(7));
    transport_->Pause();
    ASSERT_EQ(journal_.paused.size(), 1u);
    transport_->Pause(); // resumes
    ASSERT_EQ(journal_.started.size(), 3u);
    EXPECT_TRUE(journal_.started[2].Resumed);
    EXPECT_FALSE(journal_.started[2].TopLevel);
    EXPECT_EQ(engine_.starts.back(), 7 * 8);
    transport_->Stop();
    ASSERT_EQ(journal_.stopped.size(), 1u);
    EXPECT_EQ(journal_.playedThrough.size(), 1u);

    transport_->Play(9);
    EXPECT_FALSE(journal_.started.back().TopLevel);
}

// A pass paused in one lesson is not taken up in the next: its Play starts
// from the beginning.
TEST_F(TransportAlone, AnotherLessonForgetsAPausedPass) {
    Open();
    transport_->Play(playback::kTopLevel);
    RunTo(engine_.HeardAt(9));
    transport_->Pause();
    ASSERT_TRUE(transport_->Paused());
    transport_->LeaveLesson();
    EXPECT_FALSE(transport_->Paused());
    lesson_.Lesson = 2;
    Open();
    transport_->Play(playback::kTopLevel);
    EXPECT_EQ(engine_.starts.back(), 0);
    EXPECT_FALSE(journal_.started.back().Resumed);
    EXPECT_TRUE(journal_.started.back().TopLevel);
}

} // namespace
