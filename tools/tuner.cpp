#include "tools/tuner.h"

#include "layout/screenlayout.h"
#include "listening/guitarstrings.h"
#include "plan/liststore.h"
#include "plan/planpanel.h"
#include "platform/ui/accessible.h"
#include "platform/core/cp1252.h"
#include "platform/core/inifile.h"
#include "platform/core/pathresolver.h"
#include "platform/ui/sound.h"
#include "sprachbank/sprachbank.h"

#include <QFontMetrics>
#include <cmath>

namespace tools {

using namespace platform;

namespace {

constexpr const char* kNames[TunerPanel::kEntries] = {"LSaite_E2", "LSaite_H",  "LSaite_G", "LSaite_D",
                                                  "LSaite_A",  "LSaite_E1", "L_Akkord"};
constexpr const char* kCaptions[TunerPanel::kStrings] = {"e", "h", "g", "D", "A", "E"};
constexpr const char* kEnglishCaptions[TunerPanel::kStrings] = {"E", "B", "G", "D", "A", "E"};
constexpr const char* kTones[TunerPanel::kEntries] = {
    "Sounds\\SaiteE2.wav", "Sounds\\SaiteH.wav", "Sounds\\SaiteG.wav",
    "Sounds\\SaiteD.wav",  "Sounds\\SaiteA.wav", "Sounds\\SaiteE1.wav",
    "Sounds\\EDurStimmAkkord.wav"};
constexpr unsigned kLoopFlags = SND_FILENAME | SND_LOOP | SND_NODEFAULT | SND_ASYNC; // 0x2000B

} // namespace

TunerPanel::TunerPanel(TPanel* panel, controls::TXFadeButton* chordButton, plan::PanelHost& host)
    : panel_(panel), chordButton_(chordButton), host_(host) {}

const char* TunerPanel::ToneFile(int entry) {
    return entry >= 0 && entry < kEntries ? kTones[entry] : "";
}

void TunerPanel::BuildTunerPanel(int languageCode) {
    language_ = languageCode;
    ImgTunerBG = new TImage(panel_);
    ImgTunerBG->SetName("ImgTunerBG");
    plan::DressToolPanel(panel_, ImgTunerBG, host_, "Bilder\\TunerBG.jpg", &background_);

    ImgTuner = new TImage(panel_);
    ImgTuner->SetName("ImgTuner");
    ImgTuner->SetParent(panel_);
    ImgTuner->SetCursor(crHandPoint);
    ImgTuner->SetBounds(layout::ImgTuner.x(), layout::ImgTuner.y(), 0, 0);
    host_.LoadPictureInto(ImgTuner, host_.ProgramFolder() + "Bilder\\Griffbrett.jpg");
    ImgTuner->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int y) {
        ImgTunerMouseDown(y);
    };
    MeasureStrings();

    for (int entry = 0; entry < kEntries; ++entry) {
        auto* label = new controls::TLabelFX(panel_);
        label->SetName(kNames[entry]);
        label->SetParent(panel_);
        label->SetTransparent(true);
        label->SetShowAccelChar(false);
        label->SetCursor(crHandPoint);
        label->Font()->SetStyle(fsBold);
        label->Font()->SetSize(12);
        label->Font()->SetColor(clBlack);
        label->OnClick = [this, entry](TObject*) { StringClick(entry); };
        StringLabels[entry] = label;
    }
    for (int entry = 0; entry < kStrings; ++entry)
        StringLabels[entry]->SetCaption(kCaptions[entry]);
    // The English edition names the strings as its lessons do (E A D G B E).
    if (languageCode != 0)
        for (int entry = 0; entry < kStrings; ++entry)
            StringLabels[entry]->SetCaption(kEnglishCaptions[entry]);
    StringLabels[Chord]->SetCaption(FromAnsi(DLL_GetCaption(26)));
    // A screen reader hears "String e" and whether its tone sounds; the
    // fretboard picture only repeats the strings for the mouse.
    for (int entry = 0; entry < kEntries; ++entry) {
        if (entry < kStrings)
            StringLabels[entry]->SetAccessibleName(
                FromAnsi(DLL_GetCaption(515)).arg(StringLabels[entry]->Caption()));
        StringLabels[entry]->SetAccessibleChecked(false);
    }
    ImgTuner->SetAccessibleName(FromAnsi(DLL_GetCaption(516)));

    LAusschalten = new controls::TLabelFX(panel_);
    LAusschalten->SetName("LAusschalten");
    LAusschalten->SetParent(panel_);
    LAusschalten->SetTransparent(true);
    LAusschalten->SetShowAccelChar(false);
    LAusschalten->SetCursor(crHandPoint);
    LAusschalten->Font()->SetStyle(fsBold);
    LAusschalten->Font()->SetSize(12);
    LAusschalten->Font()->SetColor(clBlack);
    LAusschalten->SetCaption(FromAnsi(DLL_GetCaption(27)));
    LAusschalten->OnClick = [this](TObject*) { LAusschaltenClick(); };
    LAusschalten->OnMouseEnter = [this](TObject*) { LAusschaltenMouseEnter(); };
    LAusschalten->OnMouseLeave = [this](TObject*) { LAusschaltenMouseLeave(); };
    PlaceLabels();
    if (chordButton_ != nullptr) {
        chordButton_->OnClick = [this](TObject*) { BTunerAkkordClick(); };
        // Its picture is its face: no caption over the chord diagram.
        chordButton_->SetText(" ");
        chordButton_->SetAccessibleName(StringLabels[Chord]->Caption());
    }
    BuildListening();
}

void TunerPanel::MeasureStrings() {
    StringSpacing = float(ImgTuner->Height()) * (1.0f / 6.0f);
    BandShift = int(StringSpacing * (1.0f / 3.0f));
}

void TunerPanel::PlaceLabels() {
    const int left = ImgTuner->Width() + 40;
    const float top = float(ImgTuner->Top());
    const float s = StringSpacing;
    const float tops[kStrings] = {top - 4, top + s - 4, top + 2 * s - 4,
                                  top + 3 * s, top + 4 * s, top + 5 * s};
    for (int entry = 0; entry < kStrings; ++entry) {
        StringLabels[entry]->SetLeft(left);
        StringLabels[entry]->SetTop(int(tops[entry]));
    }
    controls::TLabelFX* lowE = StringLabels[StringE1];
    LAusschalten->SetLeft(lowE->Left() + 48);
    LAusschalten->SetTop(lowE->Top());
    StringLabels[Chord]->SetTop(StringLabels[StringE2]->Top());
    StringLabels[Chord]->SetLeft(LAusschalten->Left());
    if (chordButton_ != nullptr) {
        chordButton_->SetTop(StringLabels[StringE2]->Top() + 24);
        chordButton_->SetLeft(LAusschalten->Left());
    }
}

void TunerPanel::AllLabelsBlack() {
    for (controls::TLabelFX* label : StringLabels) {
        label->Font()->SetColor(clBlack);
        label->SetAccessibleChecked(false);
    }
}

void TunerPanel::StringClick(int entry) {
    if (entry < 0 || entry >= kEntries) return;
    AllLabelsBlack();
    StringLabels[entry]->Font()->SetColor(clWhite);
    StringLabels[entry]->SetAccessibleChecked(true);
    // A string clicked is also the one the microphone compares with.
    if (entry != Chord) {
        ListeningString = GuitarStringOf(entry);
        if (listening_) listening_->SetString(ListeningString);
    }
    PlayTunerTone(kTones[entry]);
    if (MikrofonOn) {
        listening_->SetPaused(SoundIsPlaying());
        ShowListening();
    }
}

void TunerPanel::PlayTunerTone(const std::string& relativePath) {
    const std::string path = host_.ProgramFolder() + relativePath;
    if (AnsiPathExists(path)) {
        PlaySound(path.c_str(), kLoopFlags);
        return;
    }
    host_.AskMessage(FromAnsi(DLL_GetErrStr(1)),
                     FromAnsi(DLL_GetErrStr(10)) + FromAnsi(relativePath), "", "OK");
}

void TunerPanel::LAusschaltenClick() {
    PlaySound(nullptr, 0);
    AllLabelsBlack();
}

void TunerPanel::LAusschaltenMouseEnter() {
    LAusschalten->Font()->SetColor(clWhite);
}

void TunerPanel::LAusschaltenMouseLeave() {
    LAusschalten->Font()->SetColor(clBlack);
}

int TunerPanel::StringAt(double y) const {
    const double s = StringSpacing;
    const double q = BandShift;
    for (int band = 1; band < kStrings; ++band)
        if (y <= band * s - q) return band - 1;
    return StringE1;
}

void TunerPanel::ImgTunerMouseDown(int y) {
    StringClick(StringAt(y));
}

// ---------------------------------------------------------------- listening

int TunerPanel::GuitarStringOf(int entry) {
    using namespace listening;
    switch (entry) {
    case StringE2: return HighE;
    case StringH: return listening::StringB;
    case StringG: return listening::StringG;
    case StringD: return listening::StringD;
    case StringA: return listening::StringA;
    case StringE1: return LowE;
    default: return kAutoString;
    }
}

controls::TLabelFX* TunerPanel::MakeListeningLabel(const char* name, int size) {
    auto* label = new controls::TLabelFX(panel_);
    label->SetName(name);
    label->SetParent(panel_);
    label->SetTransparent(true);
    label->SetShowAccelChar(false);
    label->SetCursor(crHandPoint);
    label->Font()->SetSize(size);
    return label;
}

void TunerPanel::BuildListening() {
    ImgMikrofon = new TImage(panel_);
    ImgMikrofon->SetName("ImgMikrofon");
    ImgMikrofon->SetParent(panel_);
    ImgMikrofon->SetCursor(crHandPoint);
    const QRect knob = layout::TunerSwitch;
    ImgMikrofon->SetBounds(knob.x(), knob.y(), knob.width(), knob.height());
    ImgMikrofon->Picture()->SetSize(knob.width(), knob.height());
    ImgMikrofon->OnClick = [this](TObject*) { LMikrofonClick(); };

    LMikrofon = MakeListeningLabel("LMikrofon", 11);
    LMikrofon->Font()->SetStyle(fsBold);
    LMikrofon->SetCaption(FromAnsi(DLL_GetCaption(200)));
    LMikrofon->SetLeft(layout::TunerSwitchLabel.x());
    LMikrofon->SetTop(layout::TunerSwitchLabel.y());
    LMikrofon->OnClick = [this](TObject*) { LMikrofonClick(); };
    // A screen reader meets the switch as a tick box called "Mikrofon"; its
    // label says the same and is left out (and no second tab stop).
    ImgMikrofon->SetAccessibleRole(arCheckBox);
    ImgMikrofon->SetAccessibleName(LMikrofon->Caption());
    LMikrofon->SetAccessibleRole(arHidden);
    LMikrofon->SetTabStop(false);
    DrawSwitch();

    ImgHoeren = new TImage(panel_);
    ImgHoeren->SetName("ImgHoeren");
    ImgHoeren->SetParent(panel_);
    ImgHoeren->SetBounds(ImgTuner->Left(), ImgTuner->Top(), layout::ImgTuner.width(), layout::ImgTuner.height());
    ImgHoeren->Picture()->SetSize(ImgHoeren->Width(), ImgHoeren->Height());
    ImgHoeren->Hide();
    ImgHoeren->SetAccessibleRole(arText); // the reading in words (ShowListening)

    LAutomatisch = MakeListeningLabel("LAutomatisch", 9);
    LAutomatisch->Font()->SetStyle(fsBold);
    LAutomatisch->SetCaption(FromAnsi(DLL_GetCaption(201)));
    LAutomatisch->SetLeft(ImgHoeren->Left() + layout::TunerAutomatic.x());
    LAutomatisch->SetTop(ImgHoeren->Top() + layout::TunerAutomatic.y());
    LAutomatisch->OnClick = [this](TObject*) { LAutomatischClick(); };
    LAutomatisch->Hide();

    LEingang = MakeListeningLabel("LEingang", 7);
    LEingang->SetAutoSize(false);
    const QRect input = layout::TunerInput;
    LEingang->SetBounds(ImgHoeren->Left() + input.x(), ImgHoeren->Top() + input.y(), input.width(), input.height());
    LEingang->Font()->SetColor(RGB(150, 156, 164));
    LEingang->OnClick = [this](TObject*) { LEingangClick(); };
    LEingang->Hide();

    PopupEingang = new TPopupMenu(panel_);
    TimerHoeren = new TTimer(panel_);
    TimerHoeren->SetEnabled(false);
    TimerHoeren->SetInterval(50);
    TimerHoeren->OnTimer = [this](TObject*) { TimerHoerenTimer(); };
}

void TunerPanel::DrawSwitch() {
    TCanvas* canvas = ImgMikrofon->Canvas();
    const int w = ImgMikrofon->Width(), h = ImgMikrofon->Height();
    canvas->Brush()->SetColor(RGB(60, 44, 30)); // the wood behind, dark
    canvas->FillRect(Rect(0, 0, w, h));
    canvas->Pen()->SetColor(RGB(40, 30, 20));
    canvas->Brush()->SetColor(MikrofonOn ? kDisplayInTune : RGB(190, 184, 172));
    canvas->RoundRect(0, 0, w, h, h, h);
    const int knob = h - 4;
    const int left = MikrofonOn ? w - knob - 2 : 2;
    canvas->Brush()->SetColor(clWhite);
    canvas->Ellipse(left, 2, left + knob, 2 + knob);
    ImgMikrofon->Invalidate();
    ImgMikrofon->SetAccessibleChecked(MikrofonOn);
}

void TunerPanel::UseListening(std::unique_ptr<listening::TunerListening> listening) {
    if (MikrofonOn) SwitchMikrofon(false);
    listening_ = std::move(listening);
}

void TunerPanel::SwitchMikrofon(bool on) {
    if (on == MikrofonOn) return;
    MikrofonOn = on;
    DrawSwitch();
    if (on) {
        if (!listening_) listening_ = std::make_unique<listening::MicrophoneTuner>();
        listening_->SetString(ListeningString);
        listening_->SetPaused(SoundIsPlaying());
        InputId = listening_->Start(InputId.empty() ? SavedInput() : InputId);
        TimerHoeren->SetEnabled(true);
    } else {
        TimerHoeren->SetEnabled(false);
        if (listening_) listening_->Stop();
    }
    ImgTuner->SetVisible(!on);
    ImgHoeren->SetVisible(on);
    displayDrawn_ = false;
    LAutomatisch->SetVisible(on);
    LEingang->SetVisible(on);
    if (on) {
        ShowInput();
        ShowListening();
    }
}

void TunerPanel::LAutomatischClick() {
    ListeningString = listening::kAutoString;
    if (listening_) listening_->SetString(ListeningString);
    ShowListening();
}

void TunerPanel::LEingangClick() {
    if (!listening_) return;
    FillInputMenu();
    const TPoint origin = LEingang->ClientToScreen(TPoint{0, LEingang->Height()});
    PopupEingang->Popup(origin.X, origin.Y);
}

void TunerPanel::FillInputMenu() {
    inputs_ = listening_ ? listening_->Inputs() : std::vector<listening::InputDevice>{};
    PopupEingang->Clear();
    if (inputs_.empty()) {
        PopupEingang->Add(FromAnsi(DLL_GetCaption(206)))->SetEnabled(false);
    } else {
        for (const listening::InputDevice& input : inputs_) {
            TMenuItem* item = PopupEingang->Add(input.description);
            item->OnClick = [this, item](TObject*) { EingangClick(item->MenuIndex()); };
        }
    }
}

void TunerPanel::EingangClick(int index) {
    if (index < 0 || index >= int(inputs_.size()) || !listening_) return;
    InputId = listening_->Start(inputs_[std::size_t(index)].id);
    SaveInput();
    ShowInput();
    ShowListening();
}

void TunerPanel::TimerHoerenTimer() {
    if (!MikrofonOn || !listening_) return;
    // The microphone is for the tuner only: a hidden panel stops listening.
    if (!panel_->Visible()) {
        SwitchMikrofon(false);
        return;
    }
    listening_->SetPaused(SoundIsPlaying());
    ShowListening();
}

TunerDisplayState TunerPanel::DisplayState() const {
    using Status = listening::TunerListening::Status;
    TunerDisplayState state;
    const Status status = listening_ ? listening_->CurrentStatus() : Status::Off;
    auto caption = [](int number) { return FromAnsi(DLL_GetCaption(number)); };
    if (ListeningString != listening::kAutoString)
        state.noteName = QString::fromStdString(
            listening::NoteName(listening::OpenStringNote(ListeningString), language_));
    switch (status) {
    case Status::NoMicrophone: state.line = caption(206); state.mood = TunerDisplayState::Trouble; return state;
    case Status::Lost: state.line = caption(207); state.mood = TunerDisplayState::Trouble; return state;
    case Status::Silent: state.line = caption(208); state.mood = TunerDisplayState::Trouble; return state;
    case Status::Failed: state.line = caption(209); state.mood = TunerDisplayState::Trouble; return state;
    case Status::Paused: state.line = caption(210); return state;
    case Status::Starting: state.line = caption(211); return state;
    case Status::Off: return state;
    case Status::Listening: break;
    }
    const listening::TuningReading reading = listening_->Latest();
    if (!reading.heard) {
        state.line = caption(205);
        return state;
    }
    state.heard = true;
    state.noteName = QString::fromStdString(listening::NoteName(listening::OpenStringNote(reading.string), language_));
    state.cents = reading.cents;
    QString hz = QString::number(reading.frequency, 'f', 1) + " Hz";
    if (language_ == 0) hz.replace('.', ',');
    state.frequency = hz;
    if (std::fabs(reading.cents) <= kInTuneCents) {
        state.line = caption(202);
        state.mood = TunerDisplayState::InTune;
    } else {
        const QString cents = (reading.cents > 0 ? "+" : "-") + QString::number(int(std::lround(std::fabs(reading.cents)))) + " cent";
        state.line = caption(reading.cents < 0 ? 203 : 204) + "  (" + cents + ")";
        state.mood = TunerDisplayState::OffPitch;
    }
    return state;
}

void TunerPanel::ShowListening() {
    LAutomatisch->Font()->SetColor(ListeningString == listening::kAutoString ? clWhite : RGB(96, 102, 110));
    LAutomatisch->SetAccessibleChecked(ListeningString == listening::kAutoString);
    const TunerDisplayState state = DisplayState();
    if (displayDrawn_ && state.line == shown_.line && state.noteName == shown_.noteName &&
        state.heard == shown_.heard && state.cents == shown_.cents && state.frequency == shown_.frequency)
        return;
    shown_ = state;
    displayDrawn_ = true;
    DrawTunerDisplay(*ImgHoeren->Canvas(), ImgHoeren->Width(), ImgHoeren->Height(), state);
    ImgHoeren->Invalidate();
    // The reading in words for a screen reader, announced as it changes.
    QStringList words;
    for (const QString& part : {state.noteName, state.frequency, state.line})
        if (!part.trimmed().isEmpty()) words << part.trimmed();
    ImgHoeren->SetAccessibleName(words.join(", "));
}

void TunerPanel::ShowInput() {
    QString name = FromAnsi(DLL_GetCaption(213)) + ": ";
    if (listening_) {
        for (const listening::InputDevice& input : listening_->Inputs())
            if (input.id == InputId) name += input.description;
    }
    if (InputId.empty()) name += "-";
    LEingang->SetAccessibleName(name); // the whole name, also when the label cuts it
    const QFontMetrics metrics(LEingang->Font()->ToQFont());
    LEingang->SetCaption(metrics.elidedText(name, Qt::ElideRight, LEingang->Width()));
}

// The chosen input lives in the settings file, section "Listening".
void TunerPanel::SaveInput() const {
    std::string folder;
    if (InputId.empty() || !plan::ListStore::FindDataFolder(folder)) return;
    IniFile(ResolveAnsiPath(folder + "zupfaripref.ini")).WriteString("Listening", "Input", QString::fromStdString(InputId));
}

std::string TunerPanel::SavedInput() const {
    std::string folder;
    if (!plan::ListStore::FindDataFolder(folder)) return {};
    return IniFile(ResolveAnsiPath(folder + "zupfaripref.ini")).ReadString("Listening", "Input", "").toStdString();
}

} // namespace tools
