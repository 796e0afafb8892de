#include "playback/transport.h"

#include "platform/core/pathresolver.h"

#include <algorithm>
#include <exception>
#include <string>

namespace playback {

using namespace platform;

namespace {

// Engine status once playback has stopped or reached the end.
constexpr int kEnded = 2;
// A loop plays four passes at the most.
constexpr int kMaxPasses = 4;
constexpr int kDefaultTempo = 120;

} // namespace

Transport::Transport(ExerciseEngine& engine, TransportView& view, const TransportScreen& screen)
    : engine_(engine), view_(view), screen_(screen), led_(screen.Led), preRoll_(screen.Led),
      beatTimer_([this] { BeatDue(); }) {
    digit_.Cover = screen.CountInCover;
}

void Transport::AddObserver(TransportObserver* observer) {
    if (std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
        observers_.push_back(observer);
}

void Transport::RemoveObserver(TransportObserver* observer) {
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

template <typename Call> void Transport::Tell(Call call) {
    const std::vector<TransportObserver*> observers = observers_;
    for (TransportObserver* observer : observers) call(*observer);
}

// ---- Lesson values ------------------------------------------------------------

int Transport::LevelTempo() const {
    const int tempo = lesson_.Tempo[static_cast<std::size_t>(std::clamp(level_, 1, kTempoLevels) - 1)];
    return tempo > 0 ? tempo : kDefaultTempo;
}

// In the count-in area, centred, where the window gives one; else left of
// the cursor's origin.
TPoint Transport::CountInDigitPlace() const {
    const TRect& area = screen_.CountInArea;
    if (area.Width() > 0 && area.Height() > 0)
        return TPoint(area.Left + (area.Width() - digit_.Background.Width()) / 2,
                      area.Top + (area.Height() - digit_.Background.Height()) / 2);
    return TPoint(lesson_.Geometry.OriginX - digit_.BeatDisplayOffset, lesson_.Geometry.OriginY - 10);
}

void Transport::MovePoint(bool erase) {
    screen_.Cursor->MovePoint(screen_.PointWork, screen_.Point, erase);
}

void Transport::ErasePoint() {
    screen_.Cursor->ErasePoint(screen_.PointWork);
}

// ---- The lesson -----------------------------------------------------------------

void Transport::LeaveLesson() {
    locatorBeat_ = pauseBeat_ = exerciseBeat_ = shownBeat_ = 0;
    if (Busy() || paused_) Stop();
}

bool Transport::OpenLesson(const TransportLesson& lesson, int level) {
    lesson_ = lesson;
    level_ = std::clamp(level, 1, kTempoLevels);
    record_ = LoopRecord{1, 1, lesson.Geometry.BeatCount, lesson.Geometry.BeatsPerBar,
                         lesson.LoopRecordFifth};
    locatorBeat_ = pauseBeat_ = exerciseBeat_ = shownBeat_ = 0;
    locatorLatched_ = false;
    digit_.BeatDisplayOffset = lesson.BeatDisplayOffset;
    digitSaved_ = false;
    screen_.Cursor->InitCursor(lesson.Geometry);
    led_.SegmentDelay = LedDelayAtOpen(LevelTempo());
    startPosition_ = 0;
    if (!LoadLevelFile()) return false;
    view_.EnableControl(TransportControl::Play, true);
    EnableTools();
    return true;
}

void Transport::ClearLesson() {
    record_.Beat = record_.FirstBeat;
    DisableControls();
}

// ---- Play -------------------------------------------------------------------------

void Transport::DisableControls() {
    for (TransportControl control :
         {TransportControl::Stop, TransportControl::Pause, TransportControl::Play,
          TransportControl::Loop, TransportControl::Forward, TransportControl::Rewind,
          TransportControl::Locator})
        view_.EnableControl(control, false);
}

void Transport::EnableTools() {
    for (TransportControl control : {TransportControl::Loop, TransportControl::Forward,
                                     TransportControl::Rewind, TransportControl::Locator})
        view_.EnableControl(control, true);
}

// Everything up to the pre-roll; the engine starts when the pre-roll ends.
void Transport::Play(int level) {
    level_ = std::clamp(level, 1, kTempoLevels);
    passEnded_ = false;
    DisableControls();
    view_.EnableControl(TransportControl::TempoBar, false);
    view_.StopOtherSounds();
    if (engine_.IsRunning()) engine_.Stop();
    digit_.SaveBackground(screen_.Canvas, CountInDigitPlace());
    digitSaved_ = true;
    led_.SegmentDelay = LedDelayAtPlay(LevelTempo());
    if (paused_) {
        ErasePoint();
        screen_.Cursor->Position = pauseBeat_;
    } else if (!LoadLevelFile()) {
        Reset(); // nothing of this lesson can play
        return;
    } else {
        ChooseStartPosition();
        // The count-in comes first: the LED column waits for the exercise's
        // first beat instead of lighting up for the beat the last pass ended on.
        exerciseBeat_ = -lesson_.CountInBeats;
    }
    if (lesson_.CursorActive && record_.Beat <= record_.FirstBeat)
        MovePoint(screen_.Cursor->Moved);
    const bool fromStart = locatorBeat_ <= 1 && record_.Beat <= record_.FirstBeat;
    pass_ = PassInfo{lesson_.Lesson, level_, screen_.Cursor->PassNumber, 0, paused_,
                     level_ == kTopLevel && fromStart && pauseBeat_ <= 0};
    view_.EnableControl(TransportControl::Explorer, false);
    view_.ShowTransportState(TransportState::Playing);
    if (!paused_ && fromStart && lesson_.CursorActive) shownBeat_ = 1;
    preRoll_.Start(LevelTempo(), lesson_.CountInBeats, [this] { StartEngine(); });
}

// Loads the level's exercise. False when there is nothing of this lesson to
// play: the file is missing or could not be loaded (the learner is told).
bool Transport::LoadLevelFile() {
    const std::string& file = lesson_.LevelFiles[static_cast<std::size_t>(level_)];
    if (file.empty() || !AnsiPathExists(file)) return false;
    if (engine_.LoadFile(ResolveAnsiPath(file)) == 1) return true;
    view_.TellLoadFailed();
    return false;
}

void Transport::ChooseStartPosition() {
    startPosition_ = 0;
    if (locatorLatched_ && locatorBeat_ > 1) {
        startPosition_ = (lesson_.CountInBeats + locatorBeat_ - 1) * 8;
        screen_.Cursor->Position = locatorBeat_ - 1;
    } else if (record_.Beat > 1 && screen_.Cursor->PassNumber == 1) {
        startPosition_ = (lesson_.CountInBeats + record_.Beat - 1) * 8;
        screen_.Cursor->Position = record_.Beat - 1;
    }
}

// A start the engine refuses is told, and the transport goes back to Ready.
void Transport::StartEngine() {
    view_.ReportTime("engine-start");
    const int start = paused_ ? enginePauseBeats_ * 8 : startPosition_;
    paused_ = false;
    bool started = false;
    try {
        started = engine_.Start(start) == 1;
    } catch (const std::exception&) {
        started = false;
    }
    if (!started) {
        Reset();
        view_.TellStartFailed();
        return;
    }
    pass_.StartBeat = (start + 7) / 8 - lesson_.CountInBeats;
    Tell([this](TransportObserver& o) { o.PassStarted(pass_); });
    view_.EnableControl(TransportControl::Stop, true);
    view_.EnableControl(TransportControl::Poll, true);
    ScheduleBeats((start + 7) / 8);
}

// ---- The heard beat -------------------------------------------------------------------

// The moves follow the engine's time line when it has one: each beat at its
// time plus the output latency.
void Transport::ScheduleBeats(int firstBeat) {
    nextBeat_ = firstBeat;
    heardBeats_ = -1;
    latency_ = engine_.OutputLatency();
    timed_ = engine_.BeatTime(firstBeat) >= 0;
    if (!timed_) return;
    view_.ReportTime("first-beat-heard", HeardAt(firstBeat));
    ArmBeatTimer();
}

long long Transport::HeardAt(int beats) {
    const long long due = engine_.BeatTime(beats);
    return due < 0 ? -1 : due + latency_;
}

long long Transport::NextBeatDue() const {
    if (!timed_) return -1;
    const long long due = engine_.BeatTime(nextBeat_);
    return due < 0 ? -1 : due + latency_;
}

void Transport::ArmBeatTimer() {
    const long long at = HeardAt(nextBeat_);
    if (at < 0) {
        timed_ = false; // the engine lost its time line: the poll takes over
        return;
    }
    const long long wait = at - engine_.Clock();
    beatTimer_.StartAfter(wait);
}

void Transport::BeatDue() {
    if (!timed_ || !engine_.IsRunning()) return;
    const long long now = engine_.Clock();
    long long at = HeardAt(nextBeat_);
    if (at < 0 || at > now) {
        ArmBeatTimer(); // early, or the time line is gone
        return;
    }
    // Beats heard while the thread was busy are passed over: the display
    // shows the latest one, as the beat counter would.
    int beat = nextBeat_;
    for (long long later = HeardAt(beat + 1); later >= 0 && later <= now; later = HeardAt(beat + 1)) {
        beat += 1;
        at = later;
    }
    nextBeat_ = beat + 1;
    // When the timer woke the thread for this beat, to tell a late wake-up
    // from slow drawing in the measurements.
    view_.ReportTime(("beat-wake " + std::to_string(beat - lesson_.CountInBeats)).c_str(), now);
    ShowBeat(beat, at);
    if (timed_) ArmBeatTimer();
}

void Transport::StopBeats() {
    beatTimer_.Stop();
    timed_ = false;
}

// The display for the engine's beat counter at `beats`: the point on a beat
// the cursor follows, else the count-in digit (the digit goes when the
// exercise proper begins); then the LED column on a new exercise beat and the
// observers. The point comes first: it is what the learner follows.
void Transport::ShowBeat(int beats, long long heardAt) {
    const int beat = beats - lesson_.CountInBeats;
    const bool newExerciseBeat = beat != exerciseBeat_ && beat >= 0;
    exerciseBeat_ = beat;
    if (beat != shownBeat_) ShowPointOrDigit(beats);
    if (newExerciseBeat) led_.Beat();
    if (beats != heardBeats_) {
        heardBeats_ = beats;
        Tell([this, beat, heardAt](TransportObserver& o) { o.BeatHeard(pass_, beat, heardAt); });
    }
}

void Transport::ShowPointOrDigit(int beats) {
    const int beat = beats - lesson_.CountInBeats;
    const bool onTheNotation = beat >= 0 && beat < screen_.Cursor->Geometry().BeatCount;
    const bool digitGoes = beats == lesson_.CountInBeats && lesson_.CursorActive;
    {
        // The digit going and the point coming reach the screen in one
        // picture, and the point's report comes after it.
        platform::TCanvas::ChangeBatch together(screen_.Canvas);
        // The digit goes before the point comes: where the two overlap, the
        // point's kept pixels must be the notation's, not the digit's plate.
        if (digitGoes) digit_.RestorePlate(screen_.Canvas, CountInDigitPlace());
        if (onTheNotation) {
            shownBeat_ = beat;
            screen_.Cursor->Position = beat;
            if (lesson_.CursorActive) MovePoint(true);
        } else if (beats < lesson_.CountInBeats && lesson_.CursorActive) {
            digit_.Show(screen_.Canvas, CountInDigitPlace(), beats + 1);
        }
    }
    if (onTheNotation && lesson_.CursorActive)
        view_.ReportTime(("point " + std::to_string(beat)).c_str());
    if (digitGoes) digit_.Uncover();
    if (!onTheNotation) return;
    view_.EnableControl(TransportControl::Pause, true);
    view_.EnableControl(TransportControl::TempoBar, true);
}

// ---- Poll and the end of a pass ---------------------------------------------------

void Transport::Poll() {
    const int beats = engine_.Beats();
    if (engine_.Status() == kEnded) {
        view_.EnableControl(TransportControl::Poll, false);
        EndOfPass();
        return;
    }
    if (!timed_) ShowBeat(beats, engine_.Clock());
}

void Transport::EndOfPass() {
    passEnded_ = true;
    StopBeats();
    engine_.Stop();
    ErasePoint();
    screen_.Cursor->Moved = false;
    Tell([this](TransportObserver& o) { o.PassPlayedThrough(pass_); });
    if (!loopOn_ || screen_.Cursor->PassNumber >= kMaxPasses) {
        Reset();
        return;
    }
    screen_.Cursor->InitCursor(lesson_.Geometry);
    if (locatorLatched_ && locatorBeat_ > 1) screen_.Cursor->Position = locatorBeat_ - 1;
    if (lesson_.CursorActive) MovePoint(false);
    screen_.Cursor->PassNumber += 1;
    Play(level_);
}

// ---- Pause, Stop, Reset ---------------------------------------------------------------

void Transport::Pause() {
    if (paused_) {
        Play(level_); // a second Pause resumes
        return;
    }
    view_.EnableControl(TransportControl::Poll, false);
    StopBeats();
    enginePauseBeats_ = engine_.Pause();
    ClearLedColumn();
    pauseBeat_ = exerciseBeat_;
    engine_.Stop();
    record_.Beat = record_.FirstBeat;
    paused_ = true;
    view_.ShowTransportState(TransportState::Paused);
    Tell([this](TransportObserver& o) { o.PassPaused(pass_, pauseBeat_); });
    view_.EnableControl(TransportControl::Play, true);
    EnableTools();
    view_.EnableControl(TransportControl::Explorer, true);
    view_.EnableControl(TransportControl::TempoBar, true);
}

void Transport::Stop() {
    const bool underWay = Busy() || paused_;
    if (lesson_.CursorActive) {
        ErasePoint();
        if (digitSaved_) digit_.Restore(screen_.Canvas, CountInDigitPlace());
    }
    screen_.Cursor->Moved = false;
    Reset();
    if (underWay) Tell([this](TransportObserver& o) { o.PassStopped(pass_, exerciseBeat_); });
}

void Transport::Reset() {
    view_.EnableControl(TransportControl::TempoBar, true);
    paused_ = false;
    pauseBeat_ = 0;
    view_.EnableControl(TransportControl::Poll, false);
    preRoll_.Cancel();
    StopBeats();
    screen_.Cursor->InitCursor(lesson_.Geometry);
    screen_.Cursor->PassNumber = 1;
    if (locatorLatched_ && locatorBeat_ > 1) {
        screen_.Cursor->Position = locatorBeat_ - 1;
        if (lesson_.CursorActive) MovePoint(false);
        record_.Beat = locatorBeat_;
    } else {
        record_.Beat = record_.FirstBeat;
    }
    engine_.Stop();
    startPosition_ = 0;
    ClearLedColumn();
    EnableReadyControls();
    view_.ShowTransportState(TransportState::Ready);
    view_.ReportTime("transport-ready");
}

void Transport::EnableReadyControls() {
    view_.EnableControl(TransportControl::Stop, false);
    view_.EnableControl(TransportControl::Pause, false);
    view_.EnableControl(TransportControl::Play, true);
    EnableTools();
    view_.EnableControl(TransportControl::Kontrolle, true);
    view_.EnableControl(TransportControl::Explorer, true);
}

void Transport::ClearLedColumn() {
    led_.Stop();
    const TBitmap* background = screen_.LedBackground;
    if (background != nullptr && !background->Empty())
        screen_.Canvas->Draw(screen_.Led.LedLeft, screen_.Led.LedTop, background);
}

bool Transport::Busy() const {
    return preRoll_.Running() || engine_.IsRunning();
}

void Transport::TempoLevelChosen() {
    if (Busy() || paused_) Stop();
}

// ---- Loop, bars and locator -------------------------------------------------------------

void Transport::Loop() {
    loopOn_ = !loopOn_;
}

void Transport::Forward() {
    if (!lesson_.CursorActive) return;
    const int perBar = record_.BeatsPerBar;
    if (paused_) {
        LeavePause();
        record_.Beat = (pauseBeat_ / perBar) * perBar + 1;
    }
    if (record_.Beat < record_.TotalBeats - perBar) {
        const bool erase = record_.FirstBeat < record_.Beat || screen_.Cursor->Moved;
        record_.Beat += perBar;
        JumpCursor(erase);
    }
    view_.EnableControl(TransportControl::Locator, true);
}

void Transport::Rewind() {
    if (!lesson_.CursorActive) return;
    const int perBar = record_.BeatsPerBar;
    if (paused_) {
        LeavePause();
        record_.Beat = (pauseBeat_ / perBar) * perBar + 1;
        if (pauseBeat_ % perBar != 0) record_.Beat += perBar;
    }
    if (record_.Beat >= record_.FirstBeat + perBar && record_.Beat >= perBar + 1) {
        record_.Beat -= perBar;
        JumpCursor(true);
    }
    view_.EnableControl(TransportControl::Locator, true);
}

void Transport::LeavePause() {
    paused_ = false;
    engine_.Stop();
    startPosition_ = 0;
    view_.ShowTransportState(TransportState::Ready);
}

void Transport::JumpCursor(bool erase) {
    screen_.Cursor->Position = record_.Beat - 1;
    if (!lesson_.CursorActive) return;
    screen_.Cursor->Moved = true;
    MovePoint(erase);
}

// The locator button's latch is kept even where the lesson has no cursor.
void Transport::Locator(bool latched) {
    locatorLatched_ = latched;
    if (!lesson_.CursorActive) return;
    if (latched) {
        if (paused_) {
            if (record_.BeatsPerBar > 0 && pauseBeat_ % record_.BeatsPerBar == 0)
                pauseBeat_ += record_.BeatsPerBar;
            Rewind();
        }
        locatorBeat_ = record_.Beat;
        screen_.Cursor->ShowMark();
        screen_.Cursor->MarkShown = true;
    } else {
        screen_.Cursor->MarkShown = false;
        locatorBeat_ = 1;
        screen_.Cursor->RemoveMark();
    }
}

} // namespace playback
