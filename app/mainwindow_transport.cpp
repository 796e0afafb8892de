// The transport of the main window: Play with its count-in and pre-roll, the
// 100 ms poll that moves the point and notices the end of a pass, Pause,
// Stop, Loop, bar forward and back, the locator and the tempo bar. Passes
// played whole at the top level from the start count toward the quiz and are
// kept in the list store at once.

#include "app/mainwindow.h"

#include "app/msgwin.h"
#include "playback/beatdisplay.h"
#include "playback/exerciseengine.h"
#include "playback/playcursor.h"
#include "sprachbank/sprachbank.h"

#include <QFileInfo>

#include <filesystem>

namespace app {

using namespace platform;

namespace {

bool FileExists(const std::string& path) {
    return !path.empty() && QFileInfo(QString::fromLocal8Bit(path.c_str())).isFile();
}

} // namespace

// ---- Lesson values the transport reads --------------------------------------

int TForm1::CurrentLevel() const {
    return TrBarTempo->Position();
}

int TForm1::LevelTempo() const {
    return LessonTempo(CurrentLevel());
}

TPoint TForm1::CountInDigitPlace() const {
    return TPoint(Cursor->OriginX0 - BeatThread->BeatDisplayOffset, Cursor->OriginY0 - 10);
}

// ---- Buttons ------------------------------------------------------------------

void TForm1::DisableTransport() {
    for (auto* button : {BStop, BPause, BPlay, BLoop, BForward, BRewind, BLocator})
        button->SetEnabled(false);
}

void TForm1::EnableTransportTools() {
    for (auto* button : {BLoop, BForward, BRewind, BLocator}) button->SetEnabled(true);
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
        Cursor->ErasePoint(Canvas(), &PointWork);
        Cursor->Position = PauseBeat;
    } else if (!LoadLevelFile()) {
        // Nothing of this lesson can play: back to Ready.
        ResetTransport();
        return;
    } else {
        ChooseStartPosition();
    }
    if (CursorActive && LoopRecord.Beat <= LoopRecord.FirstBeat)
        Cursor->MovePoint(Canvas(), &PointWork, &PointBmp, Cursor->Moved);
    CountTopLevelRun();
    if (!ExplorerMode) Lists->SetCurrentLevel(CurrentLevel());
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
    Cues->StopWave();
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
    std::filesystem::current_path(ProgramFolder);
    const std::string& file = LevelMidiFiles[CurrentLevel()];
    if (!FileExists(file)) return false;
    if (Engine->LoadFile(file) != 1) {
        ShowEngineError();
        return false;
    }
    return true;
}

void TForm1::ShowEngineError() {
    MsgWin->SetMessage(DLL_GetErrStr(11), DLL_GetErrStr(12), "", "OK");
    MsgWin->ShowModal();
}

void TForm1::ChooseStartPosition() {
    StartPosition = 0;
    if (BLocator->Fix() && LocatorBeat > 1) {
        StartPosition = (CountInBeats + LocatorBeat - 1) * 8;
        Cursor->Position = LocatorBeat - 1;
    } else if (LoopRecord.Beat > 1 && Cursor->PassNumber == 1) {
        StartPosition = (CountInBeats + LoopRecord.Beat - 1) * 8;
        Cursor->Position = LoopRecord.Beat - 1;
    }
}

void TForm1::CountTopLevelRun() {
    TopLevelRun = CurrentLevel() == 10 && LocatorBeat <= 1 &&
                  LoopRecord.Beat <= LoopRecord.FirstBeat && PauseBeat <= 0;
    if (!TopLevelRun) return;
    PlayCount += 1;
    Lists->SetCurrentPlayCount(PlayCount);
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

void TForm1::StartEngine() {
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
    if (ExerciseBeat >= 0 && ExerciseBeat < Cursor->BeatCount) {
        ShownBeat = ExerciseBeat;
        Cursor->Position = ExerciseBeat;
        if (CursorActive) Cursor->MovePoint(Canvas(), &PointWork, &PointBmp, true);
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
    Cursor->ErasePoint(Canvas(), &PointWork);
    Cursor->Moved = false;
    if (!LoopOn || Cursor->PassNumber >= 4) {
        ResetTransport();
        return;
    }
    Cursor->InitCursor(LessonGeometry());
    if (BLocator->Fix() && LocatorBeat > 1) Cursor->Position = LocatorBeat - 1;
    if (CursorActive) Cursor->MovePoint(Canvas(), &PointWork, &PointBmp, false);
    Cursor->PassNumber += 1;
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
        Cursor->ErasePoint(Canvas(), &PointWork);
        RestoreCountInBackground();
    }
    Cursor->Moved = false;
    ResetTransport();
    TakeBackTopLevelRun();
}

// A pass at the top level that was stopped or paused before its end does
// not count.
void TForm1::TakeBackTopLevelRun() {
    if (!TopLevelRun || PassEnded) return;
    TopLevelRun = false;
    PlayCount = std::max(0, PlayCount - 1);
    Lists->SetCurrentPlayCount(PlayCount);
}

void TForm1::ClearLedColumn() {
    if (!LedThread->Suspended()) LedThread->Suspend();
    if (!LedBackground.Empty()) Canvas()->Draw(LedLeft, LedTop, &LedBackground);
}

void TForm1::ResetTransport() {
    TrBarTempo->SetEnabled(true);
    Paused = false;
    PauseBeat = 0;
    TimerPC1->SetEnabled(false);
    Cursor->InitCursor(LessonGeometry());
    Cursor->PassNumber = 1;
    if (BLocator->Fix() && LocatorBeat > 1) {
        Cursor->Position = LocatorBeat - 1;
        if (CursorActive) Cursor->MovePoint(Canvas(), &PointWork, &PointBmp, false);
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
    BPlay->SetEnabled(PlayableLoaded);
    EnableTransportTools();
    BKontrolle->SetEnabled(true);
    BExplorer->SetEnabled(true);
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
        const bool erase = LoopRecord.FirstBeat < LoopRecord.Beat || Cursor->Moved;
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
    Cursor->Position = LoopRecord.Beat - 1;
    if (!CursorActive) return;
    Cursor->Moved = true;
    Cursor->MovePoint(Canvas(), &PointWork, &PointBmp, erase);
}

void TForm1::BLocatorClick(TObject*) {
    if (!CursorActive) return;
    if (BLocator->Fix()) {
        if (Paused) {
            if (LoopRecord.BeatsPerBar > 0 && PauseBeat % LoopRecord.BeatsPerBar == 0)
                PauseBeat += LoopRecord.BeatsPerBar;
            BRewindClick(BRewind);
        }
        LocatorBeat = LoopRecord.Beat;
        Cursor->ShowMark(Canvas());
        Cursor->MarkShown = true;
    } else {
        Cursor->MarkShown = false;
        LocatorBeat = 1;
        Cursor->RemoveMark(Canvas());
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
