// Each kind of lesson file missing, or cut to half its bytes, while the real
// main window uses it: the lesson's main screen and notation, slide window A
// with its pictures and chord samples, the quiz, and Play at the plan's
// level. Nothing may crash, the learner hears of it through a box or gets
// the usual behaviour without the file, and the lists on disk stay as they
// were.

#include "app/mainwindow.h"
#include "lessons/quizwin.h"
#include "lessons/registrydata.h"
#include "lessons/slidewindows.h"
#include "platform/core/folders.h"
#include "playback/beatdisplay.h"
#include "playback/exerciseengine.h"
#include "tests/app/shellfixture.h"

#include <QFile>
#include <gtest/gtest.h>

namespace shelltest {
namespace {

using namespace platform;

// Reads files with the real engine, so that a damaged exercise is judged as
// the program judges it, but plays nothing: the test notes each start.
class ReadingEngine : public FakeDevices {
public:
    std::vector<std::string> loads;
    int starts = 0;
    int LoadFile(const std::string& path) override {
        loads.push_back(path);
        return SequenzorEngine::LoadFile(path);
    }
    int Start(int) override {
        ++starts;
        return 1;
    }
    int Pause() override { return 0; }
    int Stop() override { return 1; }
    bool IsRunning() override { return false; }
    int Status() override { return 2; }
    int Beats() override { return 0; }
};

class LessonFilesTest : public ShellTest {
protected:
    void TearDown() override {
        for (TForm* window : std::initializer_list<TForm*>{lessons::QuizWin, lessons::ExtWinA})
            delete window;
        lessons::QuizWin = nullptr;
        lessons::ExtWinA = nullptr;
        ShellTest::TearDown();
        OverrideProgramFolder("");
    }

    // A program folder without `missing` and with `halved` cut to the first
    // half of its bytes (a copy, not a link), then the windows, with lesson
    // `lesson` at tempo level `level` first in the plan.
    void Start(const std::vector<std::string>& missing, const std::vector<std::string>& halved,
               int lesson, int level) {
        std::vector<std::string> leftOut = missing;
        leftOut.insert(leftOut.end(), halved.begin(), halved.end());
        UseProgramFolderWithout(leftOut);
        for (const std::string& name : halved) {
            QFile original(QString::fromStdString(testsupport::BinFolder() + name));
            ASSERT_TRUE(original.open(QIODevice::ReadOnly)) << name;
            const QByteArray bytes = original.readAll();
            programCopy_->Write(name, bytes.left(bytes.size() / 2).toStdString());
        }
        // Skin pictures are read from the program folder.
        OverrideProgramFolder(programCopy_->Path());
        reading_ = std::make_unique<ReadingEngine>();
        reading_->devices = devices_.devices;
        engine_ = reading_.get();
        services_.Engine = engine_;
        CreateWindows();
        form_->realTransport = true;
        // The pre-roll's clock runs ahead: it ends as soon as it begins.
        form_->Transport->PreRollBlink().Now = [this] { return clock_ += 10000; };
        lessons::ExtWinA = new lessons::TExtWinA(nullptr);
        lessons::QuizWin = new lessons::TQuizWin(nullptr);
        ShowMainWindow();
        form_->Lists->CurrentEntry = 0;
        form_->Lists->Plan[0] = {lesson, level, 3};
        form_->Course->SetCurrentLesson(lesson);
        // The first start's greeting is not what the test looks for; the
        // lists are on disk before the lesson file is used.
        ASSERT_TRUE(form_->Lists->SaveNow());
        asked_.clear();
        platformBoxes_.clear();
        plan_ = ReadData("Listen/ListeUeplan.ztl");
        waiting_ = ReadData("Listen/ListeWarten.ztl");
        ASSERT_NE(plan_, "<missing>");
    }

    // A fresh start for the next case of the same test.
    void Restart() {
        TearDown();
        asked_.clear();
        platformBoxes_.clear();
        engine_ = nullptr;
        SetUp();
    }

    void OpenLesson() {
        form_->OpenLesson();
        ProcessEvents();
    }
    void OpenSlidesA() {
        form_->OpenSlidesA();
        ProcessEvents();
    }
    // The quiz button's handler as a click runs it: an error that escapes it
    // goes to the program's error display (a platform box).
    void OpenQuiz() {
        GuardedCall(form_, [this] { form_->app::TForm1::BKontrolleClick(form_->BKontrolle); });
        ProcessEvents();
    }
    // F5, the learner's Play: it plays only while the button is enabled.
    void Play() {
        form_->KeyDown(VK_F5, TShiftState());
        ProcessEvents();
    }

    // Every box the program showed: its own ("title|body") and the
    // platform's ("caption|text").
    QStringList Boxes() const {
        QStringList all = platformBoxes_;
        for (const AskedBox& box : asked_) all << box.title + "|" + box.body;
        return all;
    }
    bool Told(const QString& part) const { return !Boxes().filter(part).isEmpty(); }
    std::string Shown() const { return Boxes().join("; ").toStdString(); }
    void ExpectListsUnchanged() const {
        EXPECT_EQ(ReadData("Listen/ListeUeplan.ztl"), plan_);
        EXPECT_EQ(ReadData("Listen/ListeWarten.ztl"), waiting_);
    }

    std::unique_ptr<ReadingEngine> reading_;
    ReadingEngine* engine_ = nullptr;
    std::uint32_t clock_ = 5000;
    std::string plan_, waiting_;
};

const QString kPictureError = QString::fromUtf8("Fehler beim Öffnen der Bild-Datei");

TEST_F(LessonFilesTest, AllFilesPresentOpenWithoutABox) {
    Start({}, {}, 12, 5);
    OpenLesson();
    OpenSlidesA();
    lessons::ExtWinA->ChordSample(nullptr, 1);
    EXPECT_TRUE(form_->BPlay->Enabled());
    Play();
    EXPECT_EQ(engine_->starts, 1);
    OpenQuiz();
    EXPECT_TRUE(lessons::QuizWin->isVisible());
    EXPECT_TRUE(Boxes().isEmpty()) << Shown();
}

// The lesson's main screen: without its skin the screen stays empty and the
// lesson can still be played; half a skin shows what was read.
TEST_F(LessonFilesTest, MainScreenSkinMissingOrCutLeavesTheLessonPlayable) {
    for (bool cut : {false, true}) {
        SCOPED_TRACE(cut ? "cut" : "missing");
        const std::vector<std::string> file{"lektion1/MainWin.zs1"};
        Start(cut ? std::vector<std::string>{} : file, cut ? file : std::vector<std::string>{}, 1, 10);
        OpenLesson();
        if (!cut) {
            EXPECT_TRUE(form_->Skin->Pictures().empty());
        }
        EXPECT_TRUE(form_->BPlay->Enabled());
        EXPECT_TRUE(Boxes().isEmpty()) << Shown();
        ExpectListsUnchanged();
        Play();
        EXPECT_EQ(engine_->starts, 1);
        EXPECT_TRUE(Boxes().isEmpty()) << Shown();
        Restart();
    }
}

// The notation picture: missing, the skin's grey placeholder stands in
// silently; unreadable, the picture box is shown once and the lesson opens.
TEST_F(LessonFilesTest, NotationMissingIsAPlaceholderAndCutIsReported) {
    Start({"lektion12/Notation.jpg"}, {}, 12, 5);
    OpenLesson();
    EXPECT_FALSE(form_->Skin->Pictures().empty());
    EXPECT_TRUE(Boxes().isEmpty()) << Shown();
    EXPECT_TRUE(form_->BPlay->Enabled());
    ExpectListsUnchanged();
    Restart();

    Start({}, {"lektion12/Notation.jpg"}, 12, 5);
    OpenLesson();
    EXPECT_EQ(Boxes().filter(kPictureError).size(), 1) << Shown();
    EXPECT_TRUE(form_->BPlay->Enabled());
    ExpectListsUnchanged();
}

// Slide window A without its skin opens empty; half a skin shows what was
// read; the way on to window B still works. (The half ends where a record
// begins; a skin cut inside a record is the error the quiz's test shows.)
TEST_F(LessonFilesTest, SlideSkinMissingOrCutStillOpensWindowA) {
    for (bool cut : {false, true}) {
        SCOPED_TRACE(cut ? "cut" : "missing");
        const std::string name = "lektion12/WinA.zs1";
        const std::vector<std::string> file{name};
        Start(cut ? std::vector<std::string>{} : file, cut ? file : std::vector<std::string>{}, 12, 5);
        if (cut) {
            QFile original(QString::fromStdString(testsupport::BinFolder() + name));
            ASSERT_TRUE(original.open(QIODevice::ReadOnly));
            const QByteArray bytes = original.readAll();
            const qsizetype record = bytes.lastIndexOf("\r\n$", bytes.size() / 2);
            ASSERT_GT(record, 0);
            programCopy_->Write(name, bytes.left(record + 2).toStdString());
        }
        OpenSlidesA();
        EXPECT_TRUE(lessons::ExtWinA->isVisible());
        if (!cut) {
            EXPECT_TRUE(lessons::ExtWinA->Skin->Texts().empty());
        }
        lessons::ExtWinA->ChordSample(nullptr, 1);
        lessons::ExtWinA->Hide();
        EXPECT_TRUE(Boxes().isEmpty()) << Shown();
        ExpectListsUnchanged();
        Restart();
    }
}

// The slide and chord pictures of window A: missing, a placeholder; cut,
// the picture box once per picture.
TEST_F(LessonFilesTest, SlideAndChordPicturesMissingOrCut) {
    for (const char* name : {"lektion12/DiaA1.jpg", "lektion12/AkkordBild1.jpg"}) {
        for (bool cut : {false, true}) {
            SCOPED_TRACE(std::string(name) + (cut ? " cut" : " missing"));
            const std::vector<std::string> file{name};
            Start(cut ? std::vector<std::string>{} : file, cut ? file : std::vector<std::string>{}, 12,
                  5);
            OpenSlidesA();
            EXPECT_TRUE(lessons::ExtWinA->isVisible());
            EXPECT_FALSE(lessons::ExtWinA->Skin->Pictures().empty());
            EXPECT_EQ(Boxes().filter(kPictureError).size(), cut ? 1 : 0) << Shown();
            EXPECT_EQ(Boxes().size(), cut ? 1 : 0) << Shown();
            ExpectListsUnchanged();
            Restart();
        }
    }
}

// A chord sample that is missing stays silent; one cut in half is played as
// far as it goes (or refused by the sound output) without a crash.
TEST_F(LessonFilesTest, ChordSampleMissingOrCutIsQuiet) {
    for (bool cut : {false, true}) {
        SCOPED_TRACE(cut ? "cut" : "missing");
        const std::vector<std::string> file{"lektion12/Akkord1.wav"};
        Start(cut ? std::vector<std::string>{} : file, cut ? file : std::vector<std::string>{}, 12, 5);
        OpenSlidesA();
        lessons::ExtWinA->ChordSample(nullptr, 1);
        lessons::ExtWinA->ChordSample(nullptr, 2); // the other one is there
        ProcessEvents();
        EXPECT_TRUE(lessons::ExtWinA->isVisible());
        EXPECT_TRUE(Boxes().isEmpty()) << Shown();
        ExpectListsUnchanged();
        Restart();
    }
}

// A quiz without its skin has no questions: "Weiter" ends it with the
// program's box and the plan stays as it is, on disk too.
TEST_F(LessonFilesTest, QuizSkinMissingEndsWithoutQuestions) {
    Start({"lektion12/Kontrolle.zs1"}, {}, 12, 5);
    OpenLesson();
    OpenQuiz();
    ASSERT_TRUE(lessons::QuizWin->isVisible());
    EXPECT_EQ(lessons::QuizWin->Skin->Group(0), nullptr);
    lessons::QuizWin->BNext->Click();
    ProcessEvents();
    EXPECT_FALSE(lessons::QuizWin->isVisible());
    EXPECT_TRUE(form_->Course->QuizIdle());
    ASSERT_EQ(asked_.size(), 1u) << Shown();
    EXPECT_EQ(asked_[0].title, app::MessageText(13));
    EXPECT_EQ(form_->Lists->Plan[0].Lesson, 12);
    ExpectListsUnchanged();
}

// Half a quiz skin ends inside a record: the quiz button reports the skin
// error through the error display and the quiz does not open, so it can be
// neither passed nor failed; the plan keeps the lesson.
TEST_F(LessonFilesTest, QuizSkinCutIsReportedAndTheQuizStaysShut) {
    const std::string name = "lektion12/Kontrolle.zs1";
    Start({}, {name}, 12, 5);
    // Cut inside a record, whatever the skin's bytes: the half's last record
    // keeps its tag line and one value.
    QFile original(QString::fromStdString(testsupport::BinFolder() + name));
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    const QByteArray bytes = original.readAll();
    const qsizetype record = bytes.lastIndexOf("\r\n$", bytes.size() / 2);
    ASSERT_GT(record, 0);
    const qsizetype tagEnd = bytes.indexOf("\r\n", record + 2);
    const qsizetype valueEnd = bytes.indexOf("\r\n", tagEnd + 2);
    ASSERT_GT(valueEnd, tagEnd);
    programCopy_->Write(name, bytes.left(valueEnd + 2).toStdString());
    OpenLesson();
    OpenQuiz();
    EXPECT_FALSE(lessons::QuizWin->isVisible());
    EXPECT_TRUE(form_->Course->QuizIdle());
    ASSERT_EQ(platformBoxes_.size(), 1) << Shown();
    EXPECT_TRUE(platformBoxes_[0].contains(
        QString::fromUtf8("Der Index der Liste überschreitet das Maximum")))
        << Shown();
    EXPECT_TRUE(asked_.empty()) << Shown();
    EXPECT_EQ(form_->Lists->Plan[0].Lesson, 12);
    EXPECT_TRUE(form_->BPlay->Enabled());
    ExpectListsUnchanged();
}

// The level's exercise missing: the lesson opens, the transport stays Ready
// with Play off, and F5 starts nothing.
TEST_F(LessonFilesTest, ExerciseMissingPlaysNothing) {
    for (int lesson : {1, 12}) {
        const std::string name = "Midi/uebung" + std::to_string(lesson) + "_4.mid";
        SCOPED_TRACE(name);
        Start({name}, {}, lesson, 4);
        OpenLesson();
        EXPECT_FALSE(form_->BPlay->Enabled());
        EXPECT_FALSE(form_->BStop->Enabled());
        Play();
        EXPECT_EQ(engine_->starts, 0);
        EXPECT_TRUE(engine_->loads.empty());
        EXPECT_FALSE(form_->BStop->Enabled());
        EXPECT_FALSE(form_->Keys->Poll->Enabled());
        EXPECT_TRUE(Boxes().isEmpty()) << Shown();
        ExpectListsUnchanged();
        // The other levels are still there.
        form_->Lists->Plan[0].Level = 5;
        OpenLesson();
        EXPECT_TRUE(form_->BPlay->Enabled());
        Restart();
    }
}

// An exercise cut in half: the MIDI reader keeps what it can read of a track
// cut short, so the file loads and Play plays its first half, without a box.
TEST_F(LessonFilesTest, ExerciseCutPlaysWhatWasRead) {
    for (int lesson : {1, 12}) {
        const std::string name = "Midi/uebung" + std::to_string(lesson) + "_4.mid";
        SCOPED_TRACE(name);
        Start({}, {name}, lesson, 4);
        OpenLesson();
        EXPECT_TRUE(form_->BPlay->Enabled());
        Play();
        EXPECT_EQ(engine_->starts, 1);
        ASSERT_EQ(engine_->loads.size(), 2u); // at opening and at Play
        EXPECT_NE(engine_->loads.back().find(name.substr(5)), std::string::npos);
        EXPECT_TRUE(form_->BStop->Enabled());
        EXPECT_TRUE(Boxes().isEmpty()) << Shown();
        Restart();
    }
}

} // namespace
} // namespace shelltest
