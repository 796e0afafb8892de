#pragma once
// PlayAlongPanel: "Mitspielen prüfen" beside the transport. With the switch
// on, every pass that starts at the first beat is listened to through the
// microphone: the exercise's guitar part is left out of playback (the
// count-in and any accompaniment still play) unless the learner says they
// use headphones, each expected note gets a small mark under the notation
// as soon as it is decided (green on time, orange early or late, red wrong
// or missed), and a pass played to its end shows one line with the notes
// on time and the bar that went worst, and goes into the practice journal.
// The marks go at the next pass. "Einmessen" measures the microphone's
// delay (MicrophoneCalibration) and keeps it for that input.
//
// It follows the transport as one of its observers; the main window only
// builds it and attaches it.

#include "journal/journal.h"
#include "listening/playalonglistener.h"
#include "tools/calibration.h"
#include "playback/exerciseengine.h"
#include "playback/transport.h"
#include "platform/ui/controls.h"
#include "platform/ui/graphics.h"
#include "platform/ui/timer.h"

#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tools {

class PlayAlongPanel : public playback::TransportObserver {
public:
    // Builds its controls on `window` and draws its marks on the window's
    // canvas; reads the settings from `settingsPath` (zupfaripref.ini).
    PlayAlongPanel(platform::TControl* window, platform::TCanvas* canvas, playback::Transport& transport, playback::ExerciseEngine& engine,
                   const std::unique_ptr<journal::Journal>& journal, std::string settingsPath);
    ~PlayAlongPanel() override;

    // ---- The controls
    void LPruefenClick() { SwitchCheck(!CheckOn); }   // ImgPruefen too
    void LKopfhoererClick() { SwitchHeadphones(!HeadphonesOn); } // ImgKopfhoerer too
    void SwitchCheck(bool on);
    void SwitchHeadphones(bool on);
    void TimerMarksTimer(); // every 40 ms while a pass is checked
    void LEinmessenClick();  // calibrates the microphone (not while playing)
    void TimerEinmessenTimer(); // every 40 ms while calibrating

    // ---- The transport
    void PassStarted(const playback::PassInfo& pass) override;
    void PassPlayedThrough(const playback::PassInfo& pass) override;
    void PassPaused(const playback::PassInfo& pass, int exerciseBeat) override;
    void PassStopped(const playback::PassInfo& pass, int exerciseBeat) override;
    void BeatHeard(const playback::PassInfo& pass, int exerciseBeat, long long heardAt) override;

    // The microphone's delay as calibrated for an input; none when it never
    // was (the input's own report is used then).
    std::optional<std::int64_t> CalibratedDelay(const std::string& inputId) const;
    void StoreMicrophoneDelay(const std::string& inputId, std::int64_t micros);
    MicrophoneCalibration& Calibration() { return calibration_; }

    // The line shown after a pass (empty before the first).
    QString SummaryText() const { return summary_; }
    struct Mark {
        int x = 0, y = 0; // top left
        listening::Verdict verdict = listening::Verdict::Missed;
    };
    const std::vector<Mark>& Marks() const { return marks_; }
    // The listening behind the switch (tests hear through it without a
    // microphone once a pass has begun).
    listening::PlayAlongListener& Listener() { return listener_; }
    // The microphone a pass listens to: the one chosen in the tuner (kept
    // in the settings), else the server's default; empty for none.
    std::function<std::string()> ChooseMicrophone;

    bool CheckOn = false;
    bool HeadphonesOn = false;
    platform::TImage* ImgPruefen = nullptr;
    platform::TLabel* LPruefen = nullptr;
    platform::TImage* ImgKopfhoerer = nullptr;
    platform::TLabel* LKopfhoerer = nullptr;
    platform::TLabel* LEinmessen = nullptr;
    platform::TLabel* LErgebnis = nullptr; // the summary line
    platform::TTimer* TimerMarks = nullptr;
    platform::TTimer* TimerEinmessen = nullptr;

    static constexpr int kMarkSize = 7;

private:
    void BuildControls();
    void BuildCalibration();
    void ShowLine(const QString& line);
    platform::TLabel* MakeLabel(const char* name, const QString& caption, int left, int top);
    platform::TImage* MakeSwitch(const char* name, int left, int top);
    void DrawSwitch(platform::TImage* image, bool on);
    bool BeginPass(const playback::PassInfo& pass);
    void EndPass(bool playedThrough);
    void MuteGuitar(bool mute);
    void DrawNewMarks();
    void DrawMark(const listening::NoteResult& result);
    void ClearMarks();
    void ShowSummary(const std::vector<listening::NoteResult>& results);

    platform::TControl* window_;
    platform::TCanvas* canvas_;
    playback::Transport& transport_;
    playback::ExerciseEngine& engine_;
    const std::unique_ptr<journal::Journal>& journal_;
    std::string settingsPath_;
    listening::PlayAlongListener listener_;
    MicrophoneCalibration calibration_;
    listening::ExercisePart part_;
    bool checking_ = false;      // a pass is being listened to
    int mutedTrack_ = -1;
    int marksLesson_ = -1;       // the lesson the marks were drawn on
    int checkedLevel_ = 0;       // the tempo level of the pass being checked
    std::vector<Mark> marks_;
    std::vector<std::unique_ptr<platform::TBitmap>> underMarks_; // the pixels each mark covers
    QString summary_;
};

} // namespace tools
