// Videos in the main window: the intro video plays in its panel with the
// controls locked and unlocks them at its end; Esc and the video button stop
// it; an accompaniment plays through the MIDI engine exactly as long as the
// video; missing accompaniments and damaged video files leave the program
// usable.
#include "tests/app/shellfixture.h"

#include "sequenzor/sequenzor.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QVideoWidget>
#include <array>
#include <cstdlib>
#include <functional>

namespace shelltest {
namespace {

using namespace platform;

bool WaitFor(const std::function<bool()>& done, int ms) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

constexpr int kVideoEndMs = 30000;

// A Standard MIDI File of `count` quarter notes at 120 bpm (key 60 first,
// then rising), much longer than the course videos.
std::string QuarterNotes(int count) {
    std::string track;
    for (int i = 0; i < count; ++i) {
        const char key = char(60 + i % 12);
        track += std::string("\x00\x90", 2) + key + '\x64';
        track += std::string("\x60\x80", 2) + key + '\x00'; // 96 ticks later
    }
    track += std::string("\x00\xFF\x2F\x00", 4);
    auto be32 = [](std::size_t n) {
        return std::string{char(n >> 24), char(n >> 16), char(n >> 8), char(n)};
    };
    return std::string("MThd\0\0\0\x06\0\0\0\x01\0\x60", 14) + "MTrk" + be32(track.size()) + track;
}

// The note-ons in a "MIDI Log" file, as their key bytes in order.
QStringList NoteOns(const std::string& logPath) {
    QFile file(QString::fromStdString(logPath));
    QStringList keys;
    if (!file.open(QIODevice::ReadOnly)) return keys;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() >= 4 && fields[1] == "90" && fields[3] != "00")
            keys << QString::fromLatin1(fields[2]);
    }
    return keys;
}

class VideoTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        CreateWindows();
        ShowMainWindow();
        asked_.clear();
        // A first start waits 500 ms for the intro; its end would show the
        // greeting screen, which sets the transport's controls anew.
        form_->Timer2Timer(nullptr);
    }

    std::array<platform::TControl*, 11> Buttons() const {
        return {form_->BExplorer, form_->BKontrolle, form_->BUeplan, form_->BMonitor,
                form_->BStimm,    form_->BHilfe,     form_->BPlay,   form_->BPause,
                form_->BStop,     form_->BVonVorn,   form_->BNext};
    }
    // Every other of the twelve locked controls enabled, the rest disabled.
    void SetPattern() {
        bool on = true;
        for (platform::TControl* button : Buttons()) {
            button->SetEnabled(on);
            on = !on;
        }
        form_->TrBarTempo->SetEnabled(true);
    }
    void ExpectPattern() {
        bool on = true;
        for (platform::TControl* button : Buttons()) {
            EXPECT_EQ(button->Enabled(), on) << button->Name().toStdString();
            on = !on;
        }
        EXPECT_TRUE(form_->TrBarTempo->Enabled());
        EXPECT_TRUE(form_->BLogo->Enabled());
    }
    void ExpectLocked() {
        for (platform::TControl* button : Buttons())
            EXPECT_FALSE(button->Enabled()) << button->Name().toStdString();
        EXPECT_FALSE(form_->TrBarTempo->Enabled());
        EXPECT_FALSE(form_->BLogo->Enabled());
    }
    // The picture is up: the video widget shown at more than the single
    // pixel it stands at until the first picture.
    bool VideoShowing() const {
        const QVideoWidget* widget = form_->Video->Player().VideoWidget();
        return widget->isVisible() && widget->width() > 1;
    }
    bool Ended() const { return !form_->Video->Playing; }
    std::string CourseVideo(const char* name) const { return form_->Places->ProgramFolder + name; }
    void PlayInVideoPanel(const std::string& file, const std::string& midi) {
        form_->PlayVideo(file, midi, Rect(0, 0, 192, 144), 100, 120, form_->VideoPanel);
    }
    void ExpectUsableAfterError(const char* what) {
        SCOPED_TRACE(what);
        ASSERT_EQ(asked_.size(), 1u) << what;
        EXPECT_EQ(asked_[0].title, app::ErrorText(3)) << what;
        EXPECT_FALSE(asked_[0].body.isEmpty()) << what;
        EXPECT_EQ(asked_[0].ok, "OK");
        EXPECT_TRUE(asked_[0].cancel.isEmpty());
        EXPECT_FALSE(form_->Video->Playing) << what;
        EXPECT_FALSE(form_->MediaPlayerPlaying()) << what;
        EXPECT_FALSE(form_->VideoPanel->Visible()) << what;
        EXPECT_TRUE(form_->BVideoStop->Enabled()) << what;
        ExpectPattern();
        asked_.clear();
    }
};

TEST_F(VideoTest, IntroVideoPlaysInItsPanelAndItsEndUnlocksTheControls) {
    SetPattern();
    form_->BVideoStop->Show();
    form_->BVideoStop->Click();
    EXPECT_TRUE(asked_.empty());
    ASSERT_TRUE(form_->Video->Playing);
    EXPECT_TRUE(form_->MediaPlayerPlaying());
    ExpectLocked();
    EXPECT_TRUE(form_->BVideoStop->Enabled());
    EXPECT_TRUE(form_->VideoPanel->Visible());
    EXPECT_EQ(form_->VideoPanel->BoundsRect(), Bounds(264, 268, 320, 240));
    auto* loading = form_->VideoPanel->findChild<TLabel*>("LVideoLoading");
    ASSERT_NE(loading, nullptr);
    EXPECT_EQ(loading->Caption(), app::MessageText(31));
    EXPECT_EQ(loading->Left(), 16);
    EXPECT_EQ(loading->Top(), 16);

    ASSERT_TRUE(WaitFor([&] { return VideoShowing(); }, 10000)) << "no picture";
    EXPECT_EQ(form_->Video->Player().VideoWidget()->geometry(), QRect(0, 0, 320, 240));
    // Top-row actions are refused while the video plays.
    form_->BHilfeClick(nullptr);
    EXPECT_TRUE(opener_.opened.isEmpty());

    ASSERT_TRUE(WaitFor([&] { return Ended(); }, kVideoEndMs));
    EXPECT_FALSE(form_->MediaPlayerPlaying());
    EXPECT_EQ(form_->Video->Player().Mode(), playback::mpNotReady) << "closed at its end";
    EXPECT_FALSE(form_->VideoPanel->Visible());
    EXPECT_TRUE(form_->BVideoStop->Enabled());
    ExpectPattern();
    EXPECT_TRUE(asked_.empty());
}

TEST_F(VideoTest, EscAndTheVideoButtonStopAVideoWhichThenStartsAgainFromTheBeginning) {
    SetPattern();
    form_->BVideoStopClick(nullptr);
    ASSERT_TRUE(WaitFor([&] { return form_->Video->Player().Position() > 1000; }, 15000));
    WORD key = VK_ESCAPE;
    form_->FormKeyDown(nullptr, key, {});
    EXPECT_EQ(key, 0);
    ASSERT_TRUE(WaitFor([&] { return Ended(); }, 2000));
    ExpectPattern();
    EXPECT_FALSE(form_->VideoPanel->Visible());

    form_->BVideoStopClick(nullptr);
    ASSERT_TRUE(form_->Video->Playing);
    ASSERT_TRUE(WaitFor([&] { return form_->Video->Player().Position() > 0; }, 10000));
    EXPECT_LT(form_->Video->Player().Position(), 900) << "started where it was stopped";
    form_->BVideoStopClick(nullptr); // the button now stops
    EXPECT_FALSE(form_->BVideoStop->Enabled());
    ASSERT_TRUE(WaitFor([&] { return Ended(); }, 2000));
    EXPECT_TRUE(form_->BVideoStop->Enabled());
    ExpectPattern();
    EXPECT_TRUE(asked_.empty());
}

TEST_F(VideoTest, IntroPendingShowsTheGreetingWhenTheVideoEnds) {
    form_->Videos->Pending = true;
    form_->BVideoStopClick(nullptr);
    ASSERT_TRUE(form_->Video->Playing);
    ASSERT_TRUE(WaitFor([&] { return form_->Video->Player().Position() > 0; }, 10000));
    form_->StopMediaPlayer();
    ASSERT_TRUE(WaitFor([&] { return Ended(); }, 2000));
    EXPECT_FALSE(form_->Videos->Pending);
}

TEST_F(VideoTest, AccompanimentPlaysFromTheVideosStartAndStopsAtItsEnd) {
    const std::string logPath = dataHome_.Path() + "midi.log";
    setenv("MXMIDI_LOG", logPath.c_str(), 1);
    ASSERT_NE(MidiInitWin(QCoreApplication::instance()), 0);
    char logName[32] = "MIDI Log";
    ASSERT_NE(MidiSetDeviceByName(logName), 0);
    const std::string midi = dataHome_.Write("begleitung.mid", QuarterNotes(40));

    SetPattern();
    PlayInVideoPanel(CourseVideo("lektionX\\FinalVideo.avi"), midi);
    ASSERT_TRUE(form_->Video->Playing);
    EXPECT_EQ(MidiIsRunning(), 1);
    EXPECT_EQ(form_->VideoPanel->BoundsRect(), Bounds(120, 100, 192, 144));
    ASSERT_TRUE(WaitFor([&] { return Ended(); }, kVideoEndMs));
    EXPECT_EQ(MidiIsRunning(), 0) << "the accompaniment outlived the video";
    const QStringList atEnd = NoteOns(logPath);
    ASSERT_GE(atEnd.size(), 3) << "no accompaniment while the video played";
    EXPECT_LT(atEnd.size(), 40) << "the whole accompaniment played";
    EXPECT_EQ(atEnd.first(), "3C") << "the accompaniment did not start at its beginning";
    WaitFor([] { return false; }, 1200);
    EXPECT_EQ(NoteOns(logPath), atEnd) << "notes after the end of the video";
    ExpectPattern();

    MidiStop();
    unsetenv("MXMIDI_LOG");
}

TEST_F(VideoTest, VideoWithoutItsAccompanimentPlaysAlone) {
    SetPattern();
    PlayInVideoPanel(CourseVideo("lektionX\\IntroVideo.avi"), form_->Places->ProgramFolder + "fehlt.mid");
    ASSERT_TRUE(form_->Video->Playing);
    EXPECT_EQ(MidiIsRunning(), 0);
    ASSERT_TRUE(WaitFor([&] { return Ended(); }, kVideoEndMs));
    ExpectPattern();
    EXPECT_TRUE(asked_.empty());
}

TEST_F(VideoTest, MissingVideoDoesNothing) {
    SetPattern();
    PlayInVideoPanel(form_->Places->ProgramFolder + "lektionX\\fehlt.avi", "0");
    EXPECT_FALSE(form_->Video->Playing);
    EXPECT_FALSE(form_->VideoPanel->Visible());
    EXPECT_TRUE(form_->BVideoStop->Enabled());
    EXPECT_TRUE(asked_.empty());
    ExpectPattern();
}

TEST_F(VideoTest, DamagedVideosAreReportedAndLeaveTheProgramUsable) {
    QFile good(QString::fromStdString(testsupport::BinFolder() + "lektionX/IntroVideo.avi"));
    ASSERT_TRUE(good.open(QIODevice::ReadOnly));
    const QByteArray whole = good.readAll();
    const std::vector<std::pair<const char*, std::string>> damaged = {
        {"truncated", whole.left(whole.size() / 3).toStdString()},
        {"zero bytes", ""},
        {"text", "Kein Video, nur ein Text mit der Endung .avi\n"}};
    SetPattern();
    for (const auto& [what, bytes] : damaged) {
        const std::string path = dataHome_.Write(std::string("kaputt ") + what + ".avi", bytes);
        PlayInVideoPanel(path, "0");
        ExpectUsableAfterError(what);
    }
    // A sound video still plays afterwards.
    form_->BVideoStopClick(nullptr);
    ASSERT_TRUE(form_->Video->Playing);
    ASSERT_TRUE(WaitFor([&] { return VideoShowing(); }, 10000));
    form_->StopMediaPlayer();
    ASSERT_TRUE(WaitFor([&] { return Ended(); }, 2000));
    ExpectPattern();
}

TEST_F(VideoTest, ASecondVideoReplacesTheFirstWithoutLosingTheControlsStates) {
    SetPattern();
    form_->BVideoStopClick(nullptr);
    ASSERT_TRUE(form_->Video->Playing);
    PlayInVideoPanel(CourseVideo("lektionX\\FinalVideo.avi"), "0");
    EXPECT_TRUE(form_->Video->Playing);
    EXPECT_TRUE(form_->actions.contains("BStop"));
    ExpectLocked();
    WaitFor([] { return false; }, 300); // a late notification of the first video
    EXPECT_TRUE(form_->Video->Playing);
    form_->StopMediaPlayer();
    ASSERT_TRUE(WaitFor([&] { return Ended(); }, 2000));
    ExpectPattern();
}

// The first start: the window waits half a second in which an intro's end
// would lead to the greeting; the intro does not start by itself, and when
// the wait is over only the flag is cleared. A later start does not wait.
class FirstStartTest : public ShellTest {};

TEST_F(FirstStartTest, TheIntroWaitsHalfASecondAndDoesNotStartByItself) {
    CreateWindows();
    ShowMainWindow();
    ASSERT_EQ(form_->Places->StartCount, 1);
    EXPECT_TRUE(form_->Videos->Pending);
    EXPECT_TRUE(form_->Videos->Delay->Enabled());
    EXPECT_EQ(form_->Videos->Delay->Interval(), 500u);
    ASSERT_TRUE(WaitFor([&] { return !form_->Videos->Pending; }, 5000));
    EXPECT_FALSE(form_->Videos->Delay->Enabled());
    EXPECT_FALSE(form_->Video->Playing);
    EXPECT_FALSE(form_->MediaPlayerPlaying());
    EXPECT_TRUE(form_->BVideoStop->Enabled());

    DestroyWindows();
    CreateWindows();
    ShowMainWindow();
    ASSERT_EQ(form_->Places->StartCount, 2);
    EXPECT_FALSE(form_->Videos->Pending);
    EXPECT_FALSE(form_->Videos->Delay->Enabled());
}

} // namespace
} // namespace shelltest
