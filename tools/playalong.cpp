#include "tools/playalong.h"

#include "layout/screenlayout.h"
#include "listening/inputdevices.h"
#include "platform/core/cp1252.h"
#include "platform/core/inifile.h"
#include "platform/core/pathresolver.h"
#include "sprachbank/sprachbank.h"

#include <cmath>

namespace tools {

using namespace platform;
using listening::NoteResult;
using listening::Verdict;

namespace {

constexpr int kCaptionCheck = 700;      // "Mitspielen prüfen"
constexpr int kCaptionHeadphones = 701; // "Kopfhörer"
constexpr int kCaptionOnTime = 702;     // "%1 von %2 Tönen im Takt"
constexpr int kCaptionWorstBar = 703;   // " – am unsichersten Takt %1"
constexpr int kCaptionNoMicrophone = 704;
constexpr int kCaptionListening = 705;
constexpr int kCaptionCalibrate = 706;  // "Einmessen"
constexpr int kCaptionStopFirst = 711;  // "Erst anhalten, dann einmessen"
constexpr int kCaptionFromTheTop = 713; // "Nur Durchgänge vom Anfang werden geprüft"

constexpr int kMarksIntervalMs = 40;
constexpr int kSwitchWidth = 26, kSwitchHeight = layout::PlayAlongSwitches.height();
constexpr int kControlsTop = layout::PlayAlongSwitches.y();
constexpr int kLeft = layout::PlayAlongSwitches.x();
constexpr int kHeadphonesLeft = kLeft + 137;
// Under the summary line on the lesson's paper: the switches' row has no
// room left before the logo, and the title lies under it.
constexpr int kCalibrateLeft = layout::PlayAlongSummary.x();
constexpr int kCalibrateTop = layout::PlayAlongSummary.y() + layout::PlayAlongSummary.height() + 2;
constexpr TColor kCalibrateColor = RGB(150, 60, 20); // a link's on the paper
constexpr TColor kCaptionColor = RGB(246, 236, 214); // light on the dark wood

QString Caption(int number) {
    return FromAnsi(DLL_GetCaption(number));
}

TColor MarkColor(Verdict verdict) {
    switch (verdict) {
    case Verdict::OnTime: return RGB(40, 170, 60);
    case Verdict::Early:
    case Verdict::Late: return RGB(240, 140, 20);
    default: return RGB(210, 40, 40);
    }
}

} // namespace

PlayAlongPanel::PlayAlongPanel(TControl* window, TCanvas* canvas, playback::Transport& transport,
                               playback::ExerciseEngine& engine, const std::unique_ptr<journal::Journal>& journal,
                               std::string settingsPath)
    : window_(window), canvas_(canvas), transport_(transport), engine_(engine), journal_(journal),
      settingsPath_(std::move(settingsPath)), calibration_(engine) {
    BuildControls();
    BuildCalibration();
    ChooseMicrophone = [this] {
        const IniFile settings(ResolveAnsiPath(settingsPath_));
        const std::string wanted = settings.ReadString("Listening", "Input", "").toStdString();
        return listening::ChooseInput(listening::InputDevices(), wanted, listening::ServerDefaultSource());
    };
    const IniFile settings(ResolveAnsiPath(settingsPath_));
    HeadphonesOn = settings.ReadString("Listening", "Headphones", "0") == "1";
    DrawSwitch(ImgKopfhoerer, HeadphonesOn);
    transport_.AddObserver(this);
}

PlayAlongPanel::~PlayAlongPanel() {
    transport_.RemoveObserver(this);
    calibration_.Cancel();
    if (checking_) EndPass(false);
}

// ---- The controls ------------------------------------------------------------------------

TLabel* PlayAlongPanel::MakeLabel(const char* name, const QString& caption, int left, int top) {
    auto* label = new TLabel(window_);
    label->SetName(name);
    label->SetParent(window_);
    label->SetTransparent(true);
    label->SetShowAccelChar(false);
    label->Font()->SetSize(8);
    label->Font()->SetStyle(fsBold);
    label->Font()->SetColor(kCaptionColor);
    label->SetCaption(caption);
    label->SetLeft(left);
    label->SetTop(top);
    return label;
}

TImage* PlayAlongPanel::MakeSwitch(const char* name, int left, int top) {
    auto* image = new TImage(window_);
    image->SetName(name);
    image->SetParent(window_);
    image->SetCursor(crHandPoint);
    image->SetBounds(left, top, kSwitchWidth, kSwitchHeight);
    image->Picture()->SetSize(kSwitchWidth, kSwitchHeight);
    image->SetAccessibleRole(arCheckBox);
    return image;
}

void PlayAlongPanel::BuildControls() {
    ImgPruefen = MakeSwitch("ImgPruefen", kLeft, kControlsTop);
    LPruefen = MakeLabel("LPruefen", Caption(kCaptionCheck), kLeft + kSwitchWidth + 4, kControlsTop);
    ImgKopfhoerer = MakeSwitch("ImgKopfhoerer", kHeadphonesLeft, kControlsTop);
    LKopfhoerer = MakeLabel("LKopfhoerer", Caption(kCaptionHeadphones), kHeadphonesLeft + kSwitchWidth + 4,
                            kControlsTop);
    const QRect summary = layout::PlayAlongSummary;
    LErgebnis = MakeLabel("LErgebnis", QString(), summary.x(), summary.y());
    LErgebnis->SetAutoSize(false);
    LErgebnis->SetWordWrap(true);
    LErgebnis->SetBounds(summary.x(), summary.y(), summary.width(), summary.height());
    LErgebnis->Font()->SetColor(clBlack); // on the lesson screen's paper
    LErgebnis->SetAccessibleRole(arText);
    LPruefen->SetCursor(crHandPoint);
    LKopfhoerer->SetCursor(crHandPoint);
    for (TControl* control : {static_cast<TControl*>(ImgPruefen), static_cast<TControl*>(LPruefen)})
        control->OnClick = [this](TObject*) { LPruefenClick(); };
    for (TControl* control : {static_cast<TControl*>(ImgKopfhoerer), static_cast<TControl*>(LKopfhoerer)})
        control->OnClick = [this](TObject*) { LKopfhoererClick(); };
    // A screen reader meets each switch as a tick box named by its label.
    ImgPruefen->SetAccessibleName(LPruefen->Caption());
    ImgKopfhoerer->SetAccessibleName(LKopfhoerer->Caption());
    LPruefen->SetAccessibleRole(arHidden);
    LKopfhoerer->SetAccessibleRole(arHidden);
    DrawSwitch(ImgPruefen, false);
    DrawSwitch(ImgKopfhoerer, false);
    TimerMarks = new TTimer(window_);
    TimerMarks->SetEnabled(false);
    TimerMarks->SetInterval(kMarksIntervalMs);
    TimerMarks->OnTimer = [this](TObject*) { TimerMarksTimer(); };
}

void PlayAlongPanel::DrawSwitch(TImage* image, bool on) {
    TCanvas* canvas = image->Canvas();
    const int w = image->Width(), h = image->Height();
    canvas->Brush()->SetColor(RGB(60, 44, 30));
    canvas->FillRect(Rect(0, 0, w, h));
    canvas->Pen()->SetColor(RGB(40, 30, 20));
    canvas->Brush()->SetColor(on ? RGB(40, 170, 60) : RGB(190, 184, 172));
    canvas->RoundRect(0, 0, w, h, h, h);
    const int knob = h - 4;
    const int left = on ? w - knob - 2 : 2;
    canvas->Brush()->SetColor(clWhite);
    canvas->Ellipse(left, 2, left + knob, 2 + knob);
    image->Invalidate();
    image->SetAccessibleChecked(on);
}

// Switching off ends a pass being listened to (nothing is recorded of it).
void PlayAlongPanel::SwitchCheck(bool on) {
    CheckOn = on;
    DrawSwitch(ImgPruefen, on);
    if (!on && checking_) EndPass(false);
}

void PlayAlongPanel::SwitchHeadphones(bool on) {
    HeadphonesOn = on;
    DrawSwitch(ImgKopfhoerer, on);
    IniFile(ResolveAnsiPath(settingsPath_)).WriteString("Listening", "Headphones", on ? "1" : "0");
}

// A stored value out of all reason (a hand-edited file) counts as none.
std::optional<std::int64_t> PlayAlongPanel::CalibratedDelay(const std::string& inputId) const {
    const QString stored = IniFile(ResolveAnsiPath(settingsPath_))
                               .ReadString("Listening", "Delay " + QString::fromStdString(inputId), "");
    bool number = false;
    const long long micros = stored.toLongLong(&number);
    if (!number || micros <= -200000 || micros >= 1000000) return std::nullopt;
    return micros;
}

void PlayAlongPanel::StoreMicrophoneDelay(const std::string& inputId, std::int64_t micros) {
    IniFile(ResolveAnsiPath(settingsPath_))
        .WriteString("Listening", "Delay " + QString::fromStdString(inputId), QString::number(micros));
}

// ---- Calibration ------------------------------------------------------------------------

void PlayAlongPanel::BuildCalibration() {
    LEinmessen = MakeLabel("LEinmessen", Caption(kCaptionCalibrate), kCalibrateLeft, kCalibrateTop);
    LEinmessen->SetCursor(crHandPoint);
    LEinmessen->Font()->SetColor(kCalibrateColor);
    LEinmessen->Font()->SetStyle(TFontStyle(fsBold | fsUnderline));
    LEinmessen->SetAccessibleRole(arButton);
    LEinmessen->OnClick = [this](TObject*) { LEinmessenClick(); };
    TimerEinmessen = new TTimer(window_);
    TimerEinmessen->SetEnabled(false);
    TimerEinmessen->SetInterval(kMarksIntervalMs);
    TimerEinmessen->OnTimer = [this](TObject*) { TimerEinmessenTimer(); };
    calibration_.Tell = [this](const QString& line) { ShowLine(line); };
    calibration_.Store = [this](const std::string& input, std::int64_t micros) { StoreMicrophoneDelay(input, micros); };
    calibration_.CurrentDelay = [this](const std::string& input) {
        return CalibratedDelay(input).value_or(listening::kDefaultMicrophoneDelayMicros);
    };
}

// The clicks need the engine to themselves: not while a pass plays, is
// counted in or waits paused.
void PlayAlongPanel::LEinmessenClick() {
    if (calibration_.CurrentPhase() != MicrophoneCalibration::Phase::Idle) { // a second click stops it
        calibration_.Cancel();
        TimerEinmessen->SetEnabled(false);
        ShowLine(QString());
        return;
    }
    if (transport_.Busy() || transport_.PreRolling() || transport_.Paused() || checking_) {
        ShowLine(Caption(kCaptionStopFirst));
        return;
    }
    const std::string input = ChooseMicrophone();
    if (input.empty()) {
        ShowLine(Caption(kCaptionNoMicrophone));
        return;
    }
    ClearMarks();
    calibration_.Begin(input);
    TimerEinmessen->SetEnabled(true);
}

void PlayAlongPanel::TimerEinmessenTimer() {
    calibration_.Tick();
    if (calibration_.CurrentPhase() == MicrophoneCalibration::Phase::Idle) TimerEinmessen->SetEnabled(false);
}

void PlayAlongPanel::ShowLine(const QString& line) {
    summary_ = line;
    LErgebnis->SetCaption(summary_);
}

// ---- The passes --------------------------------------------------------------------------

void PlayAlongPanel::PassStarted(const playback::PassInfo& pass) {
    if (calibration_.CurrentPhase() != MicrophoneCalibration::Phase::Idle) {
        calibration_.Cancel(false); // the transport has the engine now
        TimerEinmessen->SetEnabled(false);
    }
    // The microphone is lined up with the pass by its count-in: a pass
    // taken up after Pause (its marks stay) or started further on is not
    // checked, and the learner is told so.
    if (pass.Resumed) {
        if (CheckOn) ShowLine(Caption(kCaptionFromTheTop));
        return;
    }
    if (checking_) EndPass(false);
    ClearMarks();
    if (!CheckOn) return;
    if (pass.StartBeat > 0 || transport_.LocatorSet()) {
        ShowLine(Caption(kCaptionFromTheTop));
        return;
    }
    checking_ = BeginPass(pass);
}

// The level's exercise file gives the notes; the guitar part is left out
// unless the learner wears headphones.
bool PlayAlongPanel::BeginPass(const playback::PassInfo& pass) {
    const std::string& file = transport_.Lesson().LevelFiles[std::size_t(pass.Level)];
    std::string error;
    if (file.empty() || !listening::ReadExercisePart(ResolveAnsiPath(file), part_, error)) return false;
    const std::string input = ChooseMicrophone();
    if (input.empty()) {
        summary_ = Caption(kCaptionNoMicrophone);
        LErgebnis->SetCaption(summary_);
        return false;
    }
    listener_.Begin(input, part_, pass.Level, CalibratedDelay(input));
    marksLesson_ = pass.Lesson;
    checkedLevel_ = pass.Level;
    if (!HeadphonesOn) MuteGuitar(true);
    summary_ = Caption(kCaptionListening);
    LErgebnis->SetCaption(summary_);
    TimerMarks->SetEnabled(true);
    return true;
}

// The moment the file's time 0 is heard. A checked pass starts at the
// top, so that is the engine's run start heard an output latency later;
// only without the engine's time line it is a beat's moment less the
// beat's time in the file (the engine counts the count-in's beats too).
// (The beat numbers the transport reports lag the run start by one count,
// so the run start is the sure reference.)
void PlayAlongPanel::BeatHeard(const playback::PassInfo&, int exerciseBeat, long long heardAt) {
    if (!checking_) return;
    const long long runStart = engine_.BeatTime(0);
    if (runStart >= 0) {
        listener_.SetFileStart(runStart + engine_.OutputLatency());
        return;
    }
    const int fileBeat = exerciseBeat + transport_.Lesson().CountInBeats;
    listener_.SetFileStart(heardAt - part_.MicrosAtFileBeat(fileBeat));
}

void PlayAlongPanel::PassPlayedThrough(const playback::PassInfo&) {
    if (checking_) EndPass(true);
}

void PlayAlongPanel::PassPaused(const playback::PassInfo&, int) {
    if (checking_) EndPass(false);
}

void PlayAlongPanel::PassStopped(const playback::PassInfo&, int) {
    if (checking_) EndPass(false);
}

// A pass played to its end is decided whole, summed up and recorded; one
// cut short keeps the marks it has and records nothing.
void PlayAlongPanel::EndPass(bool playedThrough) {
    checking_ = false;
    TimerMarks->SetEnabled(false);
    const std::vector<NoteResult> results = listener_.End(playedThrough);
    MuteGuitar(false);
    if (!playedThrough) {
        summary_.clear();
        LErgebnis->SetCaption(summary_);
        return;
    }
    for (std::size_t i = marks_.size(); i < results.size(); ++i) DrawMark(results[i]);
    ShowSummary(results);
    const listening::CheckSummary summary = listening::Summarize(part_, results);
    if (journal_)
        journal_->PlayAlongChecked(marksLesson_, checkedLevel_, summary.onTime, summary.notes);
}

void PlayAlongPanel::MuteGuitar(bool mute) {
    if (mute && part_.learnerTrack >= 0) {
        engine_.SetTrackMute(part_.learnerTrack, true);
        mutedTrack_ = part_.learnerTrack;
    } else if (!mute && mutedTrack_ >= 0) {
        engine_.SetTrackMute(mutedTrack_, false);
        mutedTrack_ = -1;
    }
}

void PlayAlongPanel::ShowSummary(const std::vector<NoteResult>& results) {
    const listening::CheckSummary summary = listening::Summarize(part_, results);
    summary_ = Caption(kCaptionOnTime).arg(summary.onTime).arg(summary.notes);
    if (summary.worstBar > 0) summary_ += Caption(kCaptionWorstBar).arg(summary.worstBar);
    LErgebnis->SetCaption(summary_);
}

// ---- The marks ---------------------------------------------------------------------------

void PlayAlongPanel::TimerMarksTimer() {
    if (!checking_) return;
    const std::vector<NoteResult> results = listener_.Results();
    for (std::size_t i = marks_.size(); i < results.size(); ++i) DrawMark(results[i]);
}

// A mark sits just under the baseline of the point at the note's beat, at
// the note's share of the beat.
void PlayAlongPanel::DrawMark(const NoteResult& result) {
    const playback::CursorGeometry& geometry = transport_.Lesson().Geometry;
    const double beat = std::max(0.0, part_.strikes[result.strike].beat);
    const int whole = int(std::floor(beat));
    const playback::CursorStep step = playback::ComputeCursorStep(geometry, whole);
    const int x = step.PointX + int((beat - whole) * geometry.BeatWidth);
    const int y = step.PointY + 2;
    auto under = std::make_unique<TBitmap>();
    under->SetSize(kMarkSize, kMarkSize);
    BitBlt(under->Canvas(), 0, 0, kMarkSize, kMarkSize, canvas_, x, y, SRCCOPY);
    underMarks_.push_back(std::move(under));
    marks_.push_back({x, y, result.verdict});
    const TColor brush = canvas_->Brush()->Color(), pen = canvas_->Pen()->Color();
    canvas_->Brush()->SetColor(MarkColor(result.verdict));
    canvas_->Pen()->SetColor(MarkColor(result.verdict));
    canvas_->Ellipse(x, y, x + kMarkSize, y + kMarkSize);
    canvas_->Brush()->SetColor(brush);
    canvas_->Pen()->SetColor(pen);
}

// The pixels under the marks go back, last first; on another lesson's
// screen they are only forgotten.
void PlayAlongPanel::ClearMarks() {
    const bool sameLesson = marksLesson_ == transport_.Lesson().Lesson;
    for (std::size_t i = marks_.size(); i-- > 0;)
        if (sameLesson)
            BitBlt(canvas_, marks_[i].x, marks_[i].y, kMarkSize, kMarkSize, underMarks_[i]->Canvas(), 0, 0, SRCCOPY);
    marks_.clear();
    underMarks_.clear();
    summary_.clear();
    LErgebnis->SetCaption(summary_);
}

} // namespace tools
