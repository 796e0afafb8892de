// The main window's lesson work: the registry's tables for the learner's
// language, opening a lesson on the main screen, starting the course again,
// and the play cursor drawn onto the window.

#include "app/mainwindow.h"

#include "app/msgwin.h"
#include "app/shellservices.h"
#include "platform/core/pathresolver.h"
#include "sequenzor/sequenzor.h"
#include "sprachbank/sprachbank.h"

#include <QDir>
#include <stdexcept>

namespace app {

using namespace platform;

namespace {

constexpr int kPollIntervalMs = 100;
constexpr int kFirstTempoLesson = 1;
constexpr int kLastTempoLesson = 28;
constexpr int kModeRead = 'r';

// What LoadMainScreen sets, on the main window.
class MainWindowFields : public lessons::MainScreenHost {
public:
    explicit MainWindowFields(TForm1& form) : form_(form) {}
    void SetCountInBeats(int beats) override { form_.CountInBeats = beats; }
    void SetLoopRecordFifth(int value) override { form_.LoopRecord.LastBeat = value; }
    void SetBeatDisplayOffset(int offset) override { form_.BeatDisplayOffset = offset; }
    void SetPlayCount(int count) override { form_.PlayCount = count; }
    void SetHoldRange(int lesson, const lessons::HoldRange& hold) override {
        playback::CursorGeometry& g = form_.CursorGeometry.at(static_cast<std::size_t>(lesson));
        g.HoldFrom = hold.From;
        g.HoldTo = hold.To;
    }
    void SetCursorActive(bool active) override { form_.CursorActive = active; }
    lessons::SkinLoader* MainScreenSkin() override { return form_.Skin.get(); }

private:
    TForm1& form_;
};

// The LED thread's delay for a tempo: (150 - tempo) x 0.2 + 19 ms, truncated.
int LedDelayFor(int tempo) {
    const long double delay = (150.0L - tempo) * 0.2L + 19.0L;
    return static_cast<int>(delay);
}

} // namespace

// ============================================================ construction

void TForm1::CreatePlayCursor() {
    PointBmp.LoadFromResourceName("RPOINTBMP");
    PointWork.SetSize(PointBmp.Width(), PointBmp.Height());
    PlayCursor = std::make_unique<playback::PlayCursor>(Canvas());
    TimerPC1 = new TTimer(this);
    TimerPC1->SetEnabled(false);
    TimerPC1->SetInterval(kPollIntervalMs);
    TimerPC1->OnTimer = [this](TObject* sender) { TimerPC1Timer(sender); };
}

void TForm1::FreePlayCursor() {
    PlayCursor.reset();
}

void TForm1::BuildCursorGeometry() {
    const lessons::CourseTables tables =
        lessons::LessonRegistry::BuildCourseTables(DLL_GetLanguage());
    CursorGeometry = tables.CursorGeometry;
    TempoTable = tables.TempoTable;
}

void TForm1::FillLessonRegistry() {
    MainScreenFields = std::make_unique<MainWindowFields>(*this);
    MainScreenEntries = lessons::LessonRegistry::MainScreenTable(*MainScreenFields);
}

// ============================================================ opening a lesson

int TForm1::OpeningLevel() const {
    if (ExplorerMode) return 1;
    const int entry = Lists->CurrentEntry;
    if (entry < 0 || entry >= plan::ListStore::kPlanSlots) return 1;
    const int level = Lists->Plan[static_cast<std::size_t>(entry)].Level;
    return level >= 1 && level <= lessons::kLevelCount ? level : 1;
}

void TForm1::OpenLesson() {
    const int lesson = CurrentLesson;
    if (!lessons::IsLesson(lesson)) return; // negative: none; above 29: a damaged list
    const auto index = static_cast<std::size_t>(lesson);
    // 2. No cursor, no transport, no video button.
    CursorActive = false;
    DisableTransport();
    BVideoStop->Hide();
    // 3., 4. Tempo level and play count from the plan.
    const int level = OpeningLevel();
    TrBarTempo->SetPosition(level);
    LLevel->SetCaption(QString::number(level));
    LLevel->SetLeft(ImgLevel->Left() + (ImgLevel->Width() - LLevel->Width()) / 2);
    const int entry = Lists->CurrentEntry;
    if (entry >= 0 && entry < plan::ListStore::kPlanSlots)
        PlayCount = Lists->Plan[static_cast<std::size_t>(entry)].PlayCount;
    // 5. The loop record and the transport's counters.
    LoopRecord.FirstBeat = 1;
    LoopRecord.TotalBeats = CursorGeometry[index].BeatCount;
    LoopRecord.BeatsPerBar = CursorGeometry[index].BeatsPerBar;
    LoopRecord.Beat = 1;
    LocatorBeat = PauseBeat = ExerciseBeat = ShownBeat = 0;
    // 6. Nothing plays on.
    if (MediaPlayerPlaying() || Midi().IsRunning()) BStopClick(this);
    // 7., 8. Files are found relative to the program folder.
    QDir::setCurrent(QString::fromStdString(ResolveAnsiPath(ProgramFolder)));
    SlidePicturePrefix = ProgramFolder + "lektion" + std::to_string(lesson) + "\\DiaA";
    ResetMonitorPicture();
    // 9. The level files, the lesson's values and its main screen. The last
    // lesson's backdrop, point and mark go first, so that a lesson whose skin
    // is missing shows an empty screen rather than the one before.
    for (int l = 1; l <= lessons::kLevelCount; ++l)
        LevelMidiFiles[static_cast<std::size_t>(l)] = ProgramFolder + lessons::ExerciseFile(lesson, l);
    BackdropBitmap.SetSize(0, 0);
    if (PlayCursor) PlayCursor->Forget();
    if (lessons::LessonRegistry::Run(MainScreenEntries, lesson)) {
        WireScreenElements();
        QuizFinished = false;
    }
    // 10. to 12. Poll interval, cursor, LED delay.
    TimerPC1->SetInterval(kPollIntervalMs);
    if (PlayCursor) PlayCursor->InitCursor(CursorGeometry[index]);
    SetLedDelay(LedDelayFor(TempoTable[index][static_cast<std::size_t>(level - 1)]));
    StartPosition = 0;
    // 13. The exercise of the level.
    const std::string& exercise = LevelMidiFiles[static_cast<std::size_t>(level)];
    if (AnsiPathExists(exercise)) {
        try {
            MidiLoadExercise(exercise);
            BPlay->SetEnabled(true);
            EnableTransportTools();
        } catch (const std::exception&) {
            AskMessage(ErrorText(11), ErrorText(12), "", "OK");
        }
    }
    // 14. to 16.
    BMonitor->SetEnabled(true);
    BKontrolle->SetEnabled(true);
    BLocator->SetLatched(false);
    TrBarTempo->SetEnabled(lesson >= kFirstTempoLesson && lesson <= kLastTempoLesson);
    DescribePassCount();
    Repaint();
}

void TForm1::EnableTransportTools() {
    for (TControl* button : {static_cast<TControl*>(BLoop), static_cast<TControl*>(BForward),
                             static_cast<TControl*>(BRewind), static_cast<TControl*>(BLocator)})
        button->SetEnabled(true);
}


// Loads an exercise into the engine; a file the engine cannot read as a MIDI
// file is reported (the caller shows errors 11 and 12).
void TForm1::MidiLoadExercise(const std::string& ansiPath) {
    const std::string path = ResolveAnsiPath(ansiPath);
    if (Engine->LoadFile(path) != 1) throw std::runtime_error("not a MIDI file: " + path);
}

// ============================================================ the course

void TForm1::ResetCourse() {
    Lists->ResetLists();
    // A reset is a change of progress: it is written at once.
    Lists->SaveLists(DataFolder, ProgramOnCdRom());
    CurrentLesson = -1;
    IntroVideoPath = ProgramFolder + "lektionX\\IntroVideo.avi";
    RefreshPlanPanel();
    ClearLessonScreen();
    ShowNoLessonScreen();
}

// ============================================================ play cursor

void TForm1::MovePlayPoint(bool erase) {
    if (PlayCursor) PlayCursor->MovePoint(&PointWork, &PointBmp, erase);
}

void TForm1::RedrawPlayPoint() {
    if (PlayCursor) PlayCursor->RedrawPoint(&PointBmp);
}

void TForm1::RedrawMark() {
    if (PlayCursor) PlayCursor->RedrawMark();
}

bool TForm1::MarkShown() const {
    return PlayCursor && PlayCursor->MarkShown;
}

} // namespace app
