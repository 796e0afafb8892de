#pragma once
// Transport: plays the open lesson's exercise through the MIDI engine as the
// main window's transport buttons ask: Play with its pre-roll, Pause (a
// second Pause resumes), Stop, Loop (four passes at most), a bar forward and
// back, the locator and the ten tempo levels. It keeps the loop record, the
// locator, the count-in and the passes, and moves the play cursor's point,
// the count-in digit and the LED column when their beat is heard: at the
// engine's beat time plus the device's output latency, on a precise
// single-shot timer. While the engine cannot tell its beat times, the
// 100 ms poll of the beat counter moves them instead. The poll also notices
// the end of a pass.
//
// It has no widgets: it draws on the main window's canvas, asks the window
// (TransportView) to switch its controls and to tell the learner what
// failed, and tells its observers (TransportObserver) what happens: a pass
// started, played through, paused or stopped, and every beat heard. A pass
// counts toward the quiz once it has been played through at the top level
// from the start; the observers do the counting.

#include "playback/beatdisplay.h"
#include "playback/cursorgeometry.h"
#include "playback/exerciseengine.h"
#include "playback/playcursor.h"
#include "platform/ui/deadlinetimer.h"

#include <array>
#include <string>
#include <vector>

namespace playback {

inline constexpr int kTempoLevels = 10;
// A pass at this level, begun at the first beat, counts toward the quiz.
inline constexpr int kTopLevel = 10;

// The window's controls the transport switches on and off; Poll is the
// window's 100 ms poll timer.
enum class TransportControl {
    Play, Pause, Stop, Loop, Forward, Rewind, Locator, TempoBar, Explorer, Kontrolle, Poll
};

// What the transport is doing, as its keys show it: Playing from Play (its
// pre-roll included) until the pass ends, Paused from Pause until Play.
enum class TransportState { Ready, Playing, Paused };

class TransportView {
public:
    virtual ~TransportView() = default;
    virtual void EnableControl(TransportControl control, bool enabled) = 0;
    // The transport started playing, paused or became Ready.
    virtual void ShowTransportState(TransportState state) { (void)state; }
    // Play stops whatever else sounds: the media player and the cue sound.
    virtual void StopOtherSounds() = 0;
    // The level's exercise file could not be read as a MIDI file.
    virtual void TellLoadFailed() = 0;
    // The engine did not start the exercise.
    virtual void TellStartFailed() = 0;
    // A moment worth a timing line for measurements from outside:
    // "engine-start", "first-beat-heard", "point N" (N the exercise beat),
    // "transport-ready"; now, or at `atClock` on the engine's clock.
    virtual void ReportTime(const char* what, long long atClock = -1) {
        (void)what;
        (void)atClock;
    }
};

// One pass through the exercise as the observers see it.
struct PassInfo {
    int Lesson = -1;
    int Level = 1;
    int PassNumber = 1;    // 1 to 4 while Loop is on
    int StartBeat = 0;     // the exercise beat (from 0) the pass starts at
    bool Resumed = false;  // taken up again after Pause
    bool TopLevel = false; // at level 10 from the first beat: counts once played through
};

class TransportObserver {
public:
    virtual ~TransportObserver() = default;
    virtual void PassStarted(const PassInfo& pass) { (void)pass; }
    virtual void PassPlayedThrough(const PassInfo& pass) { (void)pass; }
    virtual void PassPaused(const PassInfo& pass, int exerciseBeat) { (void)pass, (void)exerciseBeat; }
    virtual void PassStopped(const PassInfo& pass, int exerciseBeat) { (void)pass, (void)exerciseBeat; }
    // `exerciseBeat` is negative during the count-in; `heardAt` is the
    // moment on the engine's clock (microseconds) the beat is heard.
    virtual void BeatHeard(const PassInfo& pass, int exerciseBeat, long long heardAt) {
        (void)pass, (void)exerciseBeat, (void)heardAt;
    }
};

// The beat the next Play starts from, and the bars it moves by.
struct LoopRecord {
    int Beat = 1;        // 1-based beat of the exercise where the next Play starts
    int FirstBeat = 1;   // always 1
    int TotalBeats = 0;  // the cursor geometry's BeatCount
    int BeatsPerBar = 0; // the cursor geometry's BeatsPerBar
    int LastBeat = 0;    // the registry's fifth value; not read
};

// The open lesson as the transport plays it.
struct TransportLesson {
    int Lesson = -1;
    int CountInBeats = 4;
    bool CursorActive = false;
    int BeatDisplayOffset = 20;
    int LoopRecordFifth = 0;
    CursorGeometry Geometry;
    std::array<int, kTempoLevels> Tempo{}; // beats per minute of levels 1 to 10
    // The exercise file of each level, as content paths name them
    // (Windows-1252, resolved when loaded); [0] unused.
    std::array<std::string, kTempoLevels + 1> LevelFiles;
};

// Where the transport draws: the main window's canvas, the play cursor with
// the point's bitmap and the bitmap that keeps what lies under it, the LED
// column's place and the picture that clears it (may be empty).
struct TransportScreen {
    platform::TCanvas* Canvas = nullptr;
    PlayCursor* Cursor = nullptr;
    platform::TBitmap* Point = nullptr;
    platform::TBitmap* PointWork = nullptr;
    const platform::TBitmap* LedBackground = nullptr;
    LedColumn Led;
    // Where the count-in digit stands, centred (none: left of the cursor).
    platform::TRect CountInArea{};
    // Shows the digit over the window's controls (see CountInDigit::Cover).
    platform::TImage* CountInCover = nullptr;
};

class Transport {
public:
    Transport(ExerciseEngine& engine, TransportView& view, const TransportScreen& screen);
    Transport(const Transport&) = delete;
    Transport& operator=(const Transport&) = delete;

    void AddObserver(TransportObserver* observer);
    void RemoveObserver(TransportObserver* observer);

    // ---- The lesson -------------------------------------------------------
    // Another lesson is about to open: the counters go back to 0 and a pass
    // that plays or is paused is stopped.
    void LeaveLesson();
    // The lesson opens at `level`: loop record, cursor, LED delay, and the
    // level's file loaded into the engine. True when it loaded (Play and the
    // tools are enabled); a file that cannot be read is told.
    bool OpenLesson(const TransportLesson& lesson, int level);
    const TransportLesson& Lesson() const { return lesson_; }
    // The lesson screen is cleared: the next Play would start at the first
    // beat; the buttons are disabled.
    void ClearLesson();

    // ---- The buttons --------------------------------------------------------
    void Play(int level);
    void Pause();
    void Stop();
    void Loop();
    void Forward();
    void Rewind();
    void Locator(bool latched);
    // The tempo bar was let go: a pass that plays or is paused stops.
    void TempoLevelChosen();
    // The window's 100 ms poll.
    void Poll();
    // Stops playback and brings the transport to Ready.
    void Reset();
    // Disables the seven transport buttons.
    void DisableControls();

    // ---- The heard beat -----------------------------------------------------
    // The next beat's move is due: shows the latest beat heard by now and
    // waits for the next one (the beat timer calls it).
    void BeatDue();
    // When the next beat will be heard (engine clock, microseconds); -1
    // while no beat is waited for on the engine's time line.
    long long NextBeatDue() const;

    // ---- State ----------------------------------------------------------------
    // A pass is under way: its pre-roll or the engine playing.
    bool Busy() const;
    bool PreRolling() const { return preRoll_.Running(); }
    bool Paused() const { return paused_; }
    bool LoopOn() const { return loopOn_; }
    // The locator stands at a bar after the first: passes from it do not
    // count toward the quiz.
    bool LocatorSet() const { return locatorLatched_ && locatorBeat_ > 1; }
    int Level() const { return level_; }
    int ExerciseBeat() const { return exerciseBeat_; }
    int ShownBeat() const { return shownBeat_; }
    int PauseBeat() const { return pauseBeat_; }
    int StartPosition() const { return startPosition_; }
    int LocatorBeat() const { return locatorBeat_; }
    const LoopRecord& Record() const { return record_; }
    const PassInfo& Pass() const { return pass_; }
    int LevelTempo() const;
    // Where the count-in digit stands (see TransportScreen::CountInArea).
    platform::TPoint CountInDigitPlace() const;

    // The parts of the beat display, for the window's paint handler and tests.
    LedBeat& Led() { return led_; }
    PreRoll& PreRollBlink() { return preRoll_; }
    CountInDigit& Digit() { return digit_; }

private:
    bool LoadLevelFile();
    void ChooseStartPosition();
    void StartEngine();
    void EndOfPass();
    void ShowBeat(int beats, long long heardAt);
    void ShowPointOrDigit(int beats);
    void ScheduleBeats(int firstBeat);
    void ArmBeatTimer();
    long long HeardAt(int beats);
    void StopBeats();
    void ClearLedColumn();
    void LeavePause();
    void JumpCursor(bool erase);
    void EnableReadyControls();
    void EnableTools();
    void MovePoint(bool erase);
    void ErasePoint();
    template <typename Call> void Tell(Call call);

    ExerciseEngine& engine_;
    TransportView& view_;
    TransportScreen screen_;
    std::vector<TransportObserver*> observers_;
    TransportLesson lesson_;
    LedBeat led_;
    PreRoll preRoll_;
    CountInDigit digit_;
    bool digitSaved_ = false;

    int level_ = 1;
    int exerciseBeat_ = 0; // engine beat counter minus the count-in
    int shownBeat_ = 0;    // the last exercise beat the point was moved to
    bool paused_ = false;
    int pauseBeat_ = 0;
    int enginePauseBeats_ = 0;
    int startPosition_ = 0; // eighths of a beat
    bool passEnded_ = false;
    bool loopOn_ = false;
    bool locatorLatched_ = false;
    int locatorBeat_ = 0;
    LoopRecord record_;
    PassInfo pass_;

    // The beat the next timed move shows, on the engine's time line.
    bool timed_ = false;
    int nextBeat_ = 0;
    int heardBeats_ = -1; // the engine's beat counter last heard
    int latency_ = 0;
    platform::DeadlineTimer beatTimer_;
};

} // namespace playback
