#include "tools/tuner.h"

#include "layout/screenlayout.h"
#include "plan/planpanel.h"
#include "platform/core/cp1252.h"
#include "platform/core/pathresolver.h"
#include "platform/ui/sound.h"
#include "sprachbank/sprachbank.h"

namespace tools {

using namespace platform;

namespace {

constexpr const char* kNames[TunerPanel::kEntries] = {"LSaite_E2", "LSaite_H",  "LSaite_G", "LSaite_D",
                                                  "LSaite_A",  "LSaite_E1", "L_Akkord"};
constexpr const char* kCaptions[TunerPanel::kStrings] = {"e", "h", "g", "D", "A", "E"};
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
    if (languageCode == 1) StringLabels[StringH]->SetCaption("b");
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
    PlayTunerTone(kTones[entry]);
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

} // namespace tools
