#pragma once
// TunerPanel: the tuner on the main window's panel PTuner. A fretboard
// picture with the six strings and seven hover labels; a label or a click on
// the picture plays that string's recorded reference tone (or an E major
// chord) over and over until "Aus", another tone or any other sound.
//
// The switch "Mikrofon" lets the tuner hear the string: the fretboard gives
// way to a display with the note, a needle from -50 to +50 cents and
// "gestimmt" within 3 cents. It compares with the string last clicked, or
// with the nearest string ("automatisch"); the input can be chosen from the
// display's bottom line. Listening pauses while a tone of the program
// sounds, and stops when the panel is hidden.

#include "controls/fadebutton.h"
#include "controls/labelfx.h"
#include "listening/tunerlistener.h"
#include "plan/panelhost.h"
#include "platform/ui/controls.h"
#include "platform/ui/menus.h"
#include "platform/ui/timer.h"
#include "tools/tunerdisplay.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace tools {

class TunerPanel {
public:
    // The strings from the top of the picture (high e) down, then the chord.
    enum Entry { StringE2, StringH, StringG, StringD, StringA, StringE1, Chord, kEntries };
    static constexpr int kStrings = 6;

    // Works on `panel` (PTuner); `chordButton` is BTunerAkkord.
    TunerPanel(platform::TPanel* panel, controls::TXFadeButton* chordButton,
               plan::PanelHost& host);

    // Background, fretboard picture, the seven labels and "Aus" (once).
    // `languageCode` 1 writes the second string "b".
    void BuildTunerPanel(int languageCode);

    // The tone file of an entry, relative to the program folder.
    static const char* ToneFile(int entry);
    // StringSpacing and BandShift from the fretboard picture's height.
    void MeasureStrings();
    // The string under a click at height y of the picture (StringE2..StringE1).
    int StringAt(double y) const;

    void StringClick(int entry); // LSaite_E2Click .. LSaite_E1Click, L_AkkordClick
    void BTunerAkkordClick() { StringClick(Chord); }
    void LAusschaltenClick();
    void LAusschaltenMouseEnter();
    void LAusschaltenMouseLeave();
    void ImgTunerMouseDown(int y);
    // Plays the tone file in a loop; a missing file is reported.
    void PlayTunerTone(const std::string& relativePath);

    // ---- Listening.
    void LMikrofonClick() { SwitchMikrofon(!MikrofonOn); } // ImgMikrofon too
    void SwitchMikrofon(bool on);
    void LAutomatischClick();
    void LEingangClick();          // pops up PopupEingang with the inputs
    void FillInputMenu();          // PopupEingang: the inputs the server has now
    void EingangClick(int index);  // an entry of PopupEingang
    void TimerHoerenTimer();       // every 50 ms while listening
    // The listening behind the switch; the microphone's unless a test puts
    // its own here (before switching on).
    void UseListening(std::unique_ptr<listening::TunerListening> listening);
    // The string of an entry (LowE .. HighE), kAutoString for the chord.
    static int GuitarStringOf(int entry);
    // The display's content for the listening's state and reading.
    TunerDisplayState DisplayState() const;

    bool MikrofonOn = false;
    int ListeningString = listening::kAutoString;
    std::string InputId; // the input in use (or last chosen)
    platform::TImage* ImgMikrofon = nullptr; // the switch
    controls::TLabelFX* LMikrofon = nullptr;
    platform::TImage* ImgHoeren = nullptr; // the display, over ImgTuner
    controls::TLabelFX* LAutomatisch = nullptr;
    controls::TLabelFX* LEingang = nullptr;
    platform::TPopupMenu* PopupEingang = nullptr;
    platform::TTimer* TimerHoeren = nullptr;

    platform::TImage* ImgTunerBG = nullptr;
    platform::TImage* ImgTuner = nullptr;
    std::array<controls::TLabelFX*, kEntries> StringLabels{}; // e h g D A E, then L_Akkord
    controls::TLabelFX* LAusschalten = nullptr;
    float StringSpacing = 0; // height of one string band
    int BandShift = 0;       // StringSpacing / 3, truncated

private:
    void PlaceLabels();
    void AllLabelsBlack();
    void BuildListening();
    controls::TLabelFX* MakeListeningLabel(const char* name, int size);
    void DrawSwitch();
    void ShowListening();
    void ShowInput();
    void SaveInput() const;
    std::string SavedInput() const;

    platform::TPanel* panel_;
    controls::TXFadeButton* chordButton_;
    plan::PanelHost& host_;
    platform::TBitmap background_;
    int language_ = 0;
    std::unique_ptr<listening::TunerListening> listening_;
    std::vector<listening::InputDevice> inputs_; // as PopupEingang lists them
    TunerDisplayState shown_;   // what the display shows
    bool displayDrawn_ = false; // since the switch was last turned
};

} // namespace tools
