// "Mitspielen prüfen" as the transport's observer, on a window of its own:
// the guitar track left out while a pass is checked (not with headphones),
// the marks under the notation as notes are decided, the summary line, the
// marks gone at the next pass. The passes are told as the transport tells
// them; the microphone's blocks come from a take rendered through the
// synthesizer.
#include "journal/journal.h"
#include "listening/clickcalibration.h"
#include "listening/playalongcheck.h"
#include "platform/core/cp1252.h"
#include "platform/ui/forms.h"
#include "sprachbank/sprachbank.h"
#include "tests/listening/learnertake.h"
#include "tests/support/testsupport.h"
#include "tools/playalong.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include <memory>
#include <utility>
#include <vector>

namespace {

using namespace platform;
using listening::Verdict;
using playback::PassInfo;

class MutingEngine : public playback::ExerciseEngine {
public:
    std::vector<std::pair<int, bool>> mutes;
    // A clock of its own for the calibration's clicks.
    long long clock = 0;
    long long startedAt = -1;
    std::string loaded;
    bool running = false;
    int NumDevs() override { return 0; }
    bool InitWin(QObject*) override { return true; }
    bool DeviceName(unsigned short, std::string&) override { return false; }
    bool Technology(unsigned short, unsigned short&) override { return false; }
    bool SetDeviceByID(unsigned short) override { return false; }
    bool SetDeviceByName(const std::string&) override { return false; }
    int LoadFile(const std::string& path) override {
        loaded = path;
        return 1;
    }
    int Start(int) override {
        startedAt = clock;
        running = true;
        return 1;
    }
    int Pause() override { return 0; }
    int Stop() override {
        running = false;
        return 0;
    }
    bool IsRunning() override { return running; }
    long long Clock() override { return clock; }
    long long BeatTime(int beats) override { return running && beats == 0 ? startedAt : -1; }
    int OutputLatency() override { return 30000; }
    int Status() override { return 2; }
    int Beats() override { return 0; }
    void SetTrackMute(int track, bool mute) override { mutes.emplace_back(track, mute); }
};

class SilentView : public playback::TransportView {
public:
    void EnableControl(playback::TransportControl, bool) override {}
    void StopOtherSounds() override {}
    void TellLoadFailed() override {}
    void TellStartFailed() override {}
};

constexpr TColor kPaper = 0xFFFFFF;

class PlayAlongPanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        canvas_.SetSize(800, 600);
        canvas_.Canvas()->Brush()->SetColor(kPaper);
        canvas_.Canvas()->FillRect(TRect(0, 0, 800, 600));
        point_.SetSize(10, 10);
        cursor_ = std::make_unique<playback::PlayCursor>(canvas_.Canvas());
        playback::TransportScreen screen;
        screen.Canvas = canvas_.Canvas();
        screen.Cursor = cursor_.get();
        screen.Point = &point_;
        screen.PointWork = &work_;
        screen.Led = {canvas_.Canvas(), &led_, &led_, 751, 139};
        transport_ = std::make_unique<playback::Transport>(engine_, view_, screen);
        lesson_.Lesson = 5;
        lesson_.CountInBeats = 4;
        lesson_.Geometry.OriginX = 100;
        lesson_.Geometry.OriginY = 200;
        lesson_.Geometry.LineSpacing = 60;
        lesson_.Geometry.BeatWidth = 20.0f;
        lesson_.Geometry.BeatsPerLine = 32;
        lesson_.Geometry.BeatCount = 64;
        lesson_.Geometry.WrapLength = 64;
        lesson_.Tempo.fill(120);
        for (int level = 1; level <= playback::kTempoLevels; ++level)
            lesson_.LevelFiles[std::size_t(level)] = listentest::ExerciseFileOf(5, level);
        ASSERT_TRUE(transport_->OpenLesson(lesson_, playback::kTopLevel));
        window_ = std::make_unique<TForm>(nullptr);
        panel_ = std::make_unique<tools::PlayAlongPanel>(window_.get(), canvas_.Canvas(), *transport_, engine_,
                                                         journal_, folder_.Path() + "/zupfaripref.ini");
        panel_->ChooseMicrophone = [] { return std::string("test-microphone"); };
        std::string error;
        ASSERT_TRUE(listening::ReadExercisePart(listentest::ExerciseFileOf(5, 10), part_, error));
    }
    void TearDown() override { panel_.reset(); }

    // The pass at the top level from the first beat, its file heard from
    // `heardStart` on; the microphone's frames arrive `delay` late.
    void PlayPass(const std::vector<listentest::PlayedStrike>& played, std::int64_t heardStart,
                  std::int64_t delay = listening::kDefaultMicrophoneDelayMicros) {
        // From the top: the transport counts the count-in's beats before 0.
        pass_ = PassInfo{5, playback::kTopLevel, 1, -lesson_.CountInBeats, false, true};
        panel_->PassStarted(pass_);
        panel_->BeatHeard(pass_, -4, heardStart);
        const auto take = listentest::RenderTake(played, double(part_.endMicros) / 1e6 + 1.5);
        for (std::size_t at = 0; at < take.size(); at += 882) {
            panel_->Listener().Hear(take.data() + at, std::min<std::size_t>(882, take.size() - at),
                                    heardStart + delay +
                                        std::int64_t(double(at) * 1e6 / listentest::kTakeRate),
                                    listentest::kTakeRate);
            if (at % (882 * 10) == 0) panel_->TimerMarksTimer();
        }
    }
    TColor PixelAt(const tools::PlayAlongPanel::Mark& mark) {
        const int middle = tools::PlayAlongPanel::kMarkSize / 2;
        return canvas_.Canvas()->Pixel(mark.x + middle, mark.y + middle);
    }

    testsupport::TempFolder folder_;
    TBitmap canvas_, point_, work_, led_;
    std::unique_ptr<playback::PlayCursor> cursor_;
    MutingEngine engine_;
    SilentView view_;
    std::unique_ptr<journal::Journal> journal_; // none: nothing is recorded
    playback::TransportLesson lesson_;
    std::unique_ptr<playback::Transport> transport_;
    std::unique_ptr<TForm> window_;
    std::unique_ptr<tools::PlayAlongPanel> panel_;
    listening::ExercisePart part_;
    PassInfo pass_;
};

TEST_F(PlayAlongPanelTest, APassCheckedMarksEveryNoteAndSumsItUp) {
    panel_->SwitchCheck(true);
    std::vector<listentest::PlayedStrike> played = listentest::AsWritten(part_);
    played[6].micros += 80000;
    PlayPass(played, 3'000'000);
    ASSERT_EQ(engine_.mutes, (std::vector<std::pair<int, bool>>{{part_.learnerTrack, true}}));
    // Marks come while the pass runs, not only at its end.
    EXPECT_GT(panel_->Marks().size(), part_.strikes.size() / 2);
    panel_->PassPlayedThrough(pass_);
    EXPECT_EQ(engine_.mutes.back(), std::make_pair(part_.learnerTrack, false));
    ASSERT_EQ(panel_->Marks().size(), part_.strikes.size());
    EXPECT_EQ(panel_->Marks()[6].verdict, Verdict::Late);
    EXPECT_EQ(panel_->Marks()[7].verdict, Verdict::OnTime);
    // Each mark sits under its beat on the cursor's grid, in its colour.
    EXPECT_EQ(panel_->Marks()[0].x, 100);
    EXPECT_GT(panel_->Marks()[1].x, panel_->Marks()[0].x);
    EXPECT_EQ(panel_->Marks()[0].y, 202);
    EXPECT_NE(PixelAt(panel_->Marks()[6]), PixelAt(panel_->Marks()[7]));
    EXPECT_NE(PixelAt(panel_->Marks()[7]), kPaper);
    const QString expected = FromAnsi(DLL_GetCaption(702)).arg(47).arg(48) +
                             FromAnsi(DLL_GetCaption(703)).arg(part_.strikes[6].bar);
    EXPECT_EQ(panel_->SummaryText(), expected);
    EXPECT_EQ(panel_->LErgebnis->Caption(), expected);

    // The next pass clears the marks and the line, leaving the paper.
    const tools::PlayAlongPanel::Mark first = panel_->Marks()[0];
    panel_->SwitchCheck(false);
    panel_->PassStarted(pass_);
    EXPECT_TRUE(panel_->Marks().empty());
    EXPECT_TRUE(panel_->SummaryText().isEmpty());
    EXPECT_EQ(PixelAt(first), kPaper);
    EXPECT_EQ(engine_.mutes.size(), 2u); // not checked: nothing muted
}

TEST_F(PlayAlongPanelTest, WithHeadphonesTheGuitarPlaysAndAPassCutShortSumsNothingUp) {
    panel_->SwitchCheck(true);
    panel_->SwitchHeadphones(true);
    PlayPass(listentest::AsWritten(part_), 2'000'000);
    EXPECT_TRUE(engine_.mutes.empty());
    panel_->PassStopped(pass_, 20);
    EXPECT_TRUE(panel_->SummaryText().isEmpty());
    EXPECT_FALSE(panel_->Listener().Listening());
    // The headphones are remembered for the next start.
    tools::PlayAlongPanel again(window_.get(), canvas_.Canvas(), *transport_, engine_, journal_,
                                folder_.Path() + "/zupfaripref.ini");
    EXPECT_TRUE(again.HeadphonesOn);
}

// The journal keeps the result of a pass played through, under the pass's
// own lesson and level, and nothing of a pass cut short.
TEST_F(PlayAlongPanelTest, APassPlayedThroughIsKeptInTheJournalAndOneCutShortIsNot) {
    journal_ = std::make_unique<journal::Journal>(folder_.QPath() + "/journal.sqlite");
    journal_->StartSession();
    panel_->SwitchCheck(true);
    std::vector<listentest::PlayedStrike> played = listentest::AsWritten(part_);
    played[6].micros += 80000;
    PlayPass(played, 3'000'000);
    panel_->PassPlayedThrough(pass_);
    PlayPass(listentest::AsWritten(part_), 40'000'000);
    panel_->PassStopped(pass_, 20);
    ASSERT_TRUE(journal_->Flush(5000));
    const journal::JournalSummary summary = journal_->Summary(5000);
    ASSERT_EQ(summary.LatestScores.size(), 1u);
    EXPECT_EQ(summary.LatestScores[0].Lesson, 5);
    EXPECT_EQ(summary.LatestScores[0].Level, playback::kTopLevel);
    EXPECT_EQ(summary.LatestScores[0].NotesOnTime, int(part_.strikes.size()) - 1);
    EXPECT_EQ(summary.LatestScores[0].Notes, int(part_.strikes.size()));
}

// Passes taken up after Pause or started further on are not listened to.
TEST_F(PlayAlongPanelTest, OnlyPassesFromTheTopAreChecked) {
    panel_->SwitchCheck(true);
    panel_->PassStarted(PassInfo{5, playback::kTopLevel, 1, 8, false, false});
    EXPECT_FALSE(panel_->Listener().Listening());
    EXPECT_EQ(panel_->SummaryText(), FromAnsi(DLL_GetCaption(713)));
    panel_->PassStarted(PassInfo{5, playback::kTopLevel, 1, 0, true, false});
    EXPECT_FALSE(panel_->Listener().Listening());
    EXPECT_EQ(panel_->SummaryText(), FromAnsi(DLL_GetCaption(713)));
    EXPECT_TRUE(engine_.mutes.empty());
    panel_->PassStarted(PassInfo{5, playback::kTopLevel, 1, -lesson_.CountInBeats, false, true});
    EXPECT_TRUE(panel_->Listener().Listening());
    panel_->PassStopped(PassInfo{5, playback::kTopLevel, 1, -lesson_.CountInBeats, false, true}, 3);
}

TEST_F(PlayAlongPanelTest, NoMicrophoneIsToldAndNothingIsMuted) {
    panel_->ChooseMicrophone = [] { return std::string(); };
    panel_->SwitchCheck(true);
    panel_->PassStarted(PassInfo{5, playback::kTopLevel, 1, 0, false, true});
    EXPECT_TRUE(engine_.mutes.empty());
    EXPECT_EQ(panel_->SummaryText(), FromAnsi(DLL_GetCaption(704)));
    EXPECT_FALSE(panel_->Listener().Listening());
}

// ---- Calibration

// Feeds the calibration what the microphone heard from `firstFrame` on, in
// blocks, the engine's clock running along, until it has judged the clicks.
void HearCalibration(tools::PlayAlongPanel& panel, MutingEngine& engine, const std::vector<float>& heard,
                     std::int64_t firstFrame) {
    for (std::size_t at = 0; at < heard.size(); at += 882) {
        engine.clock = firstFrame + std::int64_t(double(at) * 1e6 / listentest::kTakeRate);
        panel.Calibration().Hear(heard.data() + at, std::min<std::size_t>(882, heard.size() - at),
                                 engine.clock, listentest::kTakeRate);
        panel.TimerEinmessenTimer();
        if (panel.Calibration().CurrentPhase() != tools::MicrophoneCalibration::Phase::Clicking) return;
    }
    engine.clock += 1'000'000;
    panel.TimerEinmessenTimer();
}

// The clicks go through the engine, are found 60 ms late in the
// microphone, and that delay is kept for this input and placed the next
// pass's frames: a take that arrives 60 ms late is all on time. Another
// input keeps what its stream reports.
TEST_F(PlayAlongPanelTest, TheCalibratedDelayIsKeptForItsInputAndUsedByTheCheck) {
    panel_->Calibration().WithoutMicrophone = true;
    engine_.clock = 10'000'000;
    panel_->LEinmessenClick();
    ASSERT_EQ(panel_->Calibration().CurrentPhase(), tools::MicrophoneCalibration::Phase::Opening);
    EXPECT_EQ(panel_->SummaryText(), FromAnsi(DLL_GetCaption(707)));
    // The clicks start once the microphone delivers.
    const std::int64_t recordFrom = engine_.clock;
    const std::vector<float> quiet(882, 0.0f);
    panel_->Calibration().Hear(quiet.data(), quiet.size(), recordFrom, listentest::kTakeRate);
    panel_->TimerEinmessenTimer();
    ASSERT_EQ(panel_->Calibration().CurrentPhase(), tools::MicrophoneCalibration::Phase::Clicking);
    std::ifstream file(engine_.loaded, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), listening::CalibrationClickFile());
    // Heard an output latency after the engine's start, and 60 ms later in the microphone.
    const std::int64_t heardStart = engine_.startedAt + 30000;
    const auto heard = listentest::RenderMidiBytes(listening::CalibrationClickFile(),
                                                   heardStart - (recordFrom + 20000) + 60000, 7.5, -60);
    HearCalibration(*panel_, engine_, heard, recordFrom + 20000);
    ASSERT_EQ(panel_->Calibration().CurrentPhase(), tools::MicrophoneCalibration::Phase::Idle);
    EXPECT_FALSE(engine_.running);
    const auto stored = panel_->CalibratedDelay("test-microphone");
    ASSERT_TRUE(stored.has_value());
    EXPECT_NEAR(double(*stored), 60000.0, 3000);
    EXPECT_EQ(panel_->SummaryText(), FromAnsi(DLL_GetCaption(709)).arg(int(std::lround(*stored / 1000.0))));

    // A new panel reads it back, and its pass places the frames with it.
    panel_.reset();
    panel_ = std::make_unique<tools::PlayAlongPanel>(window_.get(), canvas_.Canvas(), *transport_, engine_, journal_,
                                                     folder_.Path() + "/zupfaripref.ini");
    panel_->ChooseMicrophone = [] { return std::string("test-microphone"); };
    panel_->SwitchCheck(true);
    PlayPass(listentest::AsWritten(part_), 3'000'000, 60000);
    EXPECT_EQ(panel_->Listener().DelayInUse(), *stored);
    panel_->PassPlayedThrough(pass_);
    for (const auto& mark : panel_->Marks()) EXPECT_EQ(mark.verdict, Verdict::OnTime);
    EXPECT_FALSE(panel_->CalibratedDelay("another-microphone").has_value());
    panel_->ChooseMicrophone = [] { return std::string("another-microphone"); };
    PlayPass(listentest::AsWritten(part_), 40'000'000);
    EXPECT_EQ(panel_->Listener().DelayInUse(), listening::kDefaultMicrophoneDelayMicros);
    panel_->PassStopped(pass_, 20);
}

// Clicks the microphone does not hear turn the calibration to the
// learner's strings: the clicks once more, a string struck on each.
TEST_F(PlayAlongPanelTest, ClicksNotHeardAskTheLearnerToPlayAlongWithThem) {
    panel_->Calibration().WithoutMicrophone = true;
    const std::vector<float> quiet(882, 0.0f);
    for (int round = 0; round < 2; ++round) {
        if (round == 0) panel_->LEinmessenClick();
        const std::int64_t recordFrom = engine_.clock;
        panel_->Calibration().Hear(quiet.data(), quiet.size(), recordFrom, listentest::kTakeRate);
        panel_->TimerEinmessenTimer();
        ASSERT_EQ(panel_->Calibration().CurrentPhase(), tools::MicrophoneCalibration::Phase::Clicking);
        const std::int64_t heardStart = engine_.startedAt + 30000;
        std::vector<listentest::PlayedStrike> strikes;
        if (round == 1)
            for (const std::int64_t click : listening::CalibrationClickTimes())
                strikes.push_back({heardStart + click + 80000 - (recordFrom + 20000), {40}});
        HearCalibration(*panel_, engine_, listentest::RenderTake(strikes, 7.5), recordFrom + 20000);
        if (round == 0) {
            EXPECT_EQ(panel_->Calibration().Source(), listening::ClickSource::Played);
            EXPECT_EQ(panel_->SummaryText(), FromAnsi(DLL_GetCaption(708)));
            EXPECT_FALSE(panel_->CalibratedDelay("test-microphone").has_value());
        }
    }
    const auto stored = panel_->CalibratedDelay("test-microphone");
    ASSERT_TRUE(stored.has_value());
    EXPECT_NEAR(double(*stored), 80000.0, 8000);
}

TEST_F(PlayAlongPanelTest, NoCalibrationWhilePlayingOrWithoutAMicrophone) {
    panel_->Calibration().WithoutMicrophone = true;
    transport_->Play(playback::kTopLevel); // the pre-roll runs
    panel_->LEinmessenClick();
    EXPECT_EQ(panel_->Calibration().CurrentPhase(), tools::MicrophoneCalibration::Phase::Idle);
    EXPECT_EQ(panel_->SummaryText(), FromAnsi(DLL_GetCaption(711)));
    transport_->Stop();
    panel_->ChooseMicrophone = [] { return std::string(); };
    panel_->LEinmessenClick();
    EXPECT_EQ(panel_->Calibration().CurrentPhase(), tools::MicrophoneCalibration::Phase::Idle);
    EXPECT_EQ(panel_->SummaryText(), FromAnsi(DLL_GetCaption(704)));
}

} // namespace
