// The transport of the main window: Play with its count-in and pre-roll, the
// 100 ms poll that moves the point and notices the end of a pass, Pause,
// Stop, Loop, bar forward and back, the locator and the tempo bar. Passes
// played whole at the top level from the start count toward the quiz and are
// kept in the list store at once.

#include "app/mainwindow.h"

#include "app/msgwin.h"
#include "app/testswitches.h"
#include "platform/ui/application.h"
#include "layout/screenlayout.h"
#include "platform/core/pathresolver.h"
#include "playback/beatdisplay.h"
#include "playback/exerciseengine.h"

#include <QDir>
#include <algorithm>

namespace app {

using namespace platform;

// A level or a play count for the plan entry being practised, written to
// the list files at once so that no counted pass is lost.
void TForm1::StoreInCurrentEntry(std::optional<int> level, std::optional<int> playCount) {
    const int entry = Lists->CurrentEntry;
    if (entry < 0 || entry >= plan::ListStore::kPlanSlots) return;
    plan::ListEntry& slot = Lists->Plan[static_cast<std::size_t>(entry)];
    if (level) slot.Level = *level;
    if (playCount) slot.PlayCount = *playCount;
    Lists->SaveNow();
    DescribePassCount();
}

// ---- Threads and wiring ------------------------------------------------------

// The LED column and the pre-roll threads, created suspended; the handlers of
// the transport's controls.
void TForm1::CreateLedThreads() {
    if (!Engine) Engine = std::make_unique<playback::SequenzorEngine>();
    playback::LedColumn column;
    column.Canvas = Canvas();
    column.Dark = &LedDark;
    column.Light = &LedLight;
    column.LedLeft = layout::LedPanel.x();
    column.LedTop = layout::LedPanel.y();
    LedThread = new playback::TDrawLEDThread(column, &ExerciseBeat);
    BeatThread = new playback::DrawBeat(column);
    BeatThread->OnCountInDone = [this] { CountInDone = true; };
    BeatThread->SizeDigitBitmaps(Canvas());
    WireTransportControls();
}

void TForm1::WireTransportControls() {
    BLoop->SetFix(true); // its pressed look shows that the loop is on
    BLoop->OnClick = [this](TObject* sender) { BLoopClick(sender); };
    BForward->OnClick = [this](TObject* sender) { BForwardClick(sender); };
    BRewind->OnClick = [this](TObject* sender) { BRewindClick(sender); };
    BLocator->OnClick = [this](TObject* sender) { BLocatorClick(sender); };
    TrBarTempo->OnMouseMove = [this](TObject* sender, TShiftState shift, int x, int y) {
        TrBarTempoMouseMove(sender, shift, x, y);
    };
    TrBarTempo->OnMouseUp = [this](TObject* sender, TMouseButton button, TShiftState shift, int x,
                                   int y) { TrBarTempoMouseUp(sender, button, shift, x, y); };
}

void TForm1::SetLedDelay(int delay) {
    LedDelay = delay;
    if (LedThread != nullptr) LedThread->SegmentDelay = delay;
}

void TForm1::SuspendLedThread() {
    if (LedThread != nullptr && !LedThread->Suspended()) LedThread->Suspend();
}

// Both threads free themselves once they leave their loops; a suspended one
// is woken so that it can see the request.
void TForm1::TerminateLedThreads() {
    for (platform::TThread* thread : {static_cast<platform::TThread*>(LedThread),
                                      static_cast<platform::TThread*>(BeatThread)}) {
        if (thread == nullptr) continue;
        thread->Terminate();
        thread->Resume();
    }
    LedThread = nullptr;
    BeatThread = nullptr;
}

// ---- Lesson values the transport reads --------------------------------------

int TForm1::CurrentLevel() const {
    return TrBarTempo->Position();
}

int TForm1::LevelTempo() const {
    if (!lessons::IsLesson(CurrentLesson)) return 120;
    const int level = std::clamp(CurrentLevel(), 1, lessons::kLevelCount);
    return TempoTable[static_cast<std::size_t>(CurrentLesson)][static_cast<std::size_t>(level - 1)];
}

// The count-in digit stands left of the cursor's unchanging origin.
TPoint TForm1::CountInDigitPlace() const {
    const playback::CursorGeometry& origin = CurrentGeometry();
    return TPoint(origin.OriginX - BeatDisplayOffset, origin.OriginY - 10);
}

const playback::CursorGeometry& TForm1::CurrentGeometry() const {
    static const playback::CursorGeometry none;
    if (!lessons::IsLesson(CurrentLesson)) return none;
    return CursorGeometry[static_cast<std::size_t>(CurrentLesson)];
}

// ---- Play ----------------------------------------------------------------------

void TForm1::BPlayClick(TObject*) {
    PassEnded = false;
    DisableTransport();
    TrBarTempo->SetEnabled(false);
    StopEverythingSounding();
    SaveCountInBackground();
    LedThread->SegmentDelay = playback::LedDelayAtPlay(LevelTempo());
    if (Paused) {
        PlayCursor->ErasePoint(&PointWork);
        PlayCursor->Position = PauseBeat;
    } else if (!LoadLevelFile()) {
        // Nothing of this lesson can play: back to Ready.
        ResetTransport();
        return;
    } else {
        ChooseStartPosition();
        // The count-in comes first: the LED column waits for the exercise's
        // first beat instead of lighting up for the beat the last pass ended on.
        ExerciseBeat = -CountInBeats;
    }
    if (CursorActive && LoopRecord.Beat <= LoopRecord.FirstBeat)
        PlayCursor->MovePoint(&PointWork, &PointBmp, PlayCursor->Moved);
    CountTopLevelRun();
    if (!ExplorerMode) StoreInCurrentEntry(CurrentLevel(), std::nullopt);
    BExplorer->SetEnabled(false);
    if (!Paused && LocatorBeat <= 1 && LoopRecord.Beat <= LoopRecord.FirstBeat && CursorActive)
        ShownBeat = 1;
    RunPreRoll();
    StartEngine();
    if (LedThread->Suspended()) LedThread->Resume();
    BStop->SetEnabled(true);
    TimerPC1->SetEnabled(true);
}

void TForm1::StopEverythingSounding() {
    if (MediaPlayerPlaying()) StopMediaPlayer();
    if (Engine->IsRunning()) Engine->Stop();
    playback::SoundCues::StopSound();
}

void TForm1::SaveCountInBackground() {
    const TPoint place = CountInDigitPlace();
    TBitmap& background = BeatThread->DigitBackground;
    background.Canvas()->CopyRect(TRect(0, 0, background.Width(), background.Height()), Canvas(),
                                  TRect(place.X, place.Y, place.X + background.Width(),
                                        place.Y + background.Height()));
}

// Loads the level's exercise. False when there is nothing of this lesson to
// play: the file is missing or could not be loaded (the learner is told).
bool TForm1::LoadLevelFile() {
    QDir::setCurrent(QString::fromStdString(ResolveAnsiPath(ProgramFolder)));
    const int level = std::clamp(CurrentLevel(), 1, lessons::kLevelCount);
    const std::string& file = LevelMidiFiles[static_cast<std::size_t>(level)];
    if (file.empty() || !AnsiPathExists(file)) return false;
    try {
        MidiLoadExercise(file);
    } catch (const std::exception&) {
        AskMessage(ErrorText(11), ErrorText(12), "", "OK");
        return false;
    }
    return true;
}

void TForm1::ChooseStartPosition() {
    StartPosition = 0;
    if (BLocator->Latched() && LocatorBeat > 1) {
        StartPosition = (CountInBeats + LocatorBeat - 1) * 8;
        PlayCursor->Position = LocatorBeat - 1;
    } else if (LoopRecord.Beat > 1 && PlayCursor->PassNumber == 1) {
        StartPosition = (CountInBeats + LoopRecord.Beat - 1) * 8;
        PlayCursor->Position = LoopRecord.Beat - 1;
    }
}

void TForm1::CountTopLevelRun() {
    TopLevelRun = CurrentLevel() == 10 && LocatorBeat <= 1 &&
                  LoopRecord.Beat <= LoopRecord.FirstBeat && PauseBeat <= 0;
    if (!TopLevelRun) return;
    PlayCount += 1;
    StoreInCurrentEntry(std::nullopt, PlayCount);
}

// Waits for the pre-roll blink: the beat thread runs it on this thread
// through Synchronize, which this loop dispatches.
void TForm1::RunPreRoll() {
    CountInDone = false;
    BeatThread->Tempo = LevelTempo();
    BeatThread->CountInBeats = CountInBeats;
    if (BeatThread->Suspended()) BeatThread->Resume();
    while (!CountInDone) Application->ProcessMessages();
}

// With ZUPFARI_TIMING set, the transport reports on standard error the moment
// the engine is started ("engine-start"), each move of the point ("point N",
// N the exercise beat) and its return to Ready ("transport-ready"), so that
// measurements from outside can line the engine's events up with the screen.
void TForm1::StartEngine() {
    ReportTestTime("engine-start");
    try {
        if (Paused) {
            Paused = false;
            Engine->Start(EnginePauseBeats * 8);
        } else {
            Engine->Start(StartPosition);
        }
    } catch (...) {
        // A failed start leaves the transport as it is; the poll ends it.
    }
}

// ---- Poll ----------------------------------------------------------------------

void TForm1::TimerPC1Timer(TObject*) {
    const int beats = Engine->Beats();
    ExerciseBeat = beats - CountInBeats;
    if (Engine->Status() == 2) {
        TimerPC1->SetEnabled(false);
        EndOfPass();
        return;
    }
    if (ExerciseBeat == ShownBeat) return;
    if (ExerciseBeat >= 0 && ExerciseBeat < PlayCursor->Geometry().BeatCount) {
        ShownBeat = ExerciseBeat;
        PlayCursor->Position = ExerciseBeat;
        if (CursorActive) {
            PlayCursor->MovePoint(&PointWork, &PointBmp, true);
            ReportTestTime(("point " + std::to_string(ShownBeat)).c_str());
        }
        BPause->SetEnabled(true);
        TrBarTempo->SetEnabled(true);
    } else if (beats < CountInBeats && CursorActive) {
        ShowCountInDigit(beats + 1);
    }
    if (beats == CountInBeats && CursorActive) RestoreCountInBackground();
}

void TForm1::ShowCountInDigit(int number) {
    TBitmap& work = BeatThread->DigitWork;
    const TBitmap& background = BeatThread->DigitBackground;
    work.Canvas()->Draw(0, 0, &background);
    work.Canvas()->Font()->Assign(Canvas()->Font());
    work.Canvas()->Brush()->SetStyle(bsClear);
    work.Canvas()->TextOut(0, 0, QString::number(number).left(1));
    const TPoint place = CountInDigitPlace();
    Canvas()->Draw(place.X, place.Y, &work);
}

void TForm1::RestoreCountInBackground() {
    const TPoint place = CountInDigitPlace();
    Canvas()->Draw(place.X, place.Y, &BeatThread->DigitBackground);
}

void TForm1::EndOfPass() {
    PassEnded = true;
    Engine->Stop();
    PlayCursor->ErasePoint(&PointWork);
    PlayCursor->Moved = false;
    if (!LoopOn || PlayCursor->PassNumber >= 4) {
        ResetTransport();
        return;
    }
    PlayCursor->InitCursor(CurrentGeometry());
    if (BLocator->Latched() && LocatorBeat > 1) PlayCursor->Position = LocatorBeat - 1;
    if (CursorActive) PlayCursor->MovePoint(&PointWork, &PointBmp, false);
    PlayCursor->PassNumber += 1;
    BPlayClick(BPlay);
}

// ---- Pause and Stop ---------------------------------------------------------------

void TForm1::BPauseClick(TObject*) {
    if (Paused) {
        BPlayClick(BPlay);
        return;
    }
    TimerPC1->SetEnabled(false);
    try {
        EnginePauseBeats = Engine->Pause();
    } catch (...) {
    }
    ClearLedColumn();
    PauseBeat = ExerciseBeat;
    Engine->Stop();
    LoopRecord.Beat = LoopRecord.FirstBeat;
    TakeBackTopLevelRun();
    Paused = true;
    BPlay->SetEnabled(true);
    EnableTransportTools();
    BExplorer->SetEnabled(true);
    TrBarTempo->SetEnabled(true);
}

void TForm1::BStopClick(TObject*) {
    if (VideoPlaying) {
        StopMediaPlayer();
        return;
    }
    if (CursorActive) {
        PlayCursor->ErasePoint(&PointWork);
        RestoreCountInBackground();
    }
    PlayCursor->Moved = false;
    ResetTransport();
    TakeBackTopLevelRun();
}

// A pass at the top level that was stopped or paused before its end does
// not count.
void TForm1::TakeBackTopLevelRun() {
    if (!TopLevelRun || PassEnded) return;
    TopLevelRun = false;
    PlayCount = std::max(0, PlayCount - 1);
    StoreInCurrentEntry(std::nullopt, PlayCount);
}

void TForm1::ClearLedColumn() {
    if (!LedThread->Suspended()) LedThread->Suspend();
    if (!LedBackground.Empty()) Canvas()->Draw(layout::LedPanel.x(), layout::LedPanel.y(), &LedBackground);
}

void TForm1::ResetTransport() {
    TrBarTempo->SetEnabled(true);
    Paused = false;
    PauseBeat = 0;
    TimerPC1->SetEnabled(false);
    PlayCursor->InitCursor(CurrentGeometry());
    PlayCursor->PassNumber = 1;
    if (BLocator->Latched() && LocatorBeat > 1) {
        PlayCursor->Position = LocatorBeat - 1;
        if (CursorActive) PlayCursor->MovePoint(&PointWork, &PointBmp, false);
        LoopRecord.Beat = LocatorBeat;
    } else {
        LoopRecord.Beat = LoopRecord.FirstBeat;
    }
    try {
        Engine->Stop();
        StartPosition = 0;
    } catch (...) {
    }
    ClearLedColumn();
    if (!BeatThread->Suspended()) BeatThread->Suspend();
    BStop->SetEnabled(false);
    BPause->SetEnabled(false);
    BPlay->SetEnabled(true);
    EnableTransportTools();
    BKontrolle->SetEnabled(true);
    BExplorer->SetEnabled(true);
    ReportTestTime("transport-ready");
}

// ---- Loop, bars and locator -------------------------------------------------------

void TForm1::BLoopClick(TObject*) {
    LoopOn = !LoopOn;
}

void TForm1::BForwardClick(TObject*) {
    if (!CursorActive) return;
    const int perBar = LoopRecord.BeatsPerBar;
    if (Paused) {
        LeavePause();
        LoopRecord.Beat = (PauseBeat / perBar) * perBar + 1;
    }
    if (LoopRecord.Beat < LoopRecord.TotalBeats - perBar) {
        const bool erase = LoopRecord.FirstBeat < LoopRecord.Beat || PlayCursor->Moved;
        LoopRecord.Beat += perBar;
        JumpCursor(erase);
    }
    BLocator->SetEnabled(true);
}

void TForm1::BRewindClick(TObject*) {
    if (!CursorActive) return;
    const int perBar = LoopRecord.BeatsPerBar;
    if (Paused) {
        LeavePause();
        LoopRecord.Beat = (PauseBeat / perBar) * perBar + 1;
        if (PauseBeat % perBar != 0) LoopRecord.Beat += perBar;
    }
    if (LoopRecord.Beat >= LoopRecord.FirstBeat + perBar && LoopRecord.Beat >= perBar + 1) {
        LoopRecord.Beat -= perBar;
        JumpCursor(true);
    }
    BLocator->SetEnabled(true);
}

void TForm1::LeavePause() {
    Paused = false;
    Engine->Stop();
    StartPosition = 0;
}

void TForm1::JumpCursor(bool erase) {
    PlayCursor->Position = LoopRecord.Beat - 1;
    if (!CursorActive) return;
    PlayCursor->Moved = true;
    PlayCursor->MovePoint(&PointWork, &PointBmp, erase);
}

void TForm1::BLocatorClick(TObject*) {
    if (!CursorActive) return;
    if (BLocator->Latched()) {
        if (Paused) {
            if (LoopRecord.BeatsPerBar > 0 && PauseBeat % LoopRecord.BeatsPerBar == 0)
                PauseBeat += LoopRecord.BeatsPerBar;
            BRewindClick(BRewind);
        }
        LocatorBeat = LoopRecord.Beat;
        PlayCursor->ShowMark();
        PlayCursor->MarkShown = true;
    } else {
        PlayCursor->MarkShown = false;
        LocatorBeat = 1;
        PlayCursor->RemoveMark();
    }
}

// ---- Tempo bar ------------------------------------------------------------------------

void TForm1::TrBarTempoMouseMove(TObject*, TShiftState, int, int) {
    LLevel->SetCaption(QString::number(TrBarTempo->Position()));
    LLevel->SetLeft(ImgLevel->Left() + (ImgLevel->Width() - LLevel->Width()) / 2);
}

void TForm1::TrBarTempoMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    if (Engine->IsRunning() || Paused) BStopClick(BStop);
}

} // namespace app
