#pragma once
// TunerPanel: the tuner on the main window's panel PTuner. A fretboard
// picture with the six strings and seven hover labels; a label or a click on
// the picture plays that string's recorded reference tone (or an E major
// chord) over and over until "Aus", another tone or any other sound.

#include "controls/fadebutton.h"
#include "controls/labelfx.h"
#include "plan/panelhost.h"
#include "platform/ui/controls.h"

#include <array>
#include <string>

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

    platform::TImage* ImgTunerBG = nullptr;
    platform::TImage* ImgTuner = nullptr;
    std::array<controls::TLabelFX*, kEntries> StringLabels{}; // e h g D A E, then L_Akkord
    controls::TLabelFX* LAusschalten = nullptr;
    float StringSpacing = 0; // height of one string band
    int BandShift = 0;       // StringSpacing / 3, truncated

private:
    void PlaceLabels();
    void AllLabelsBlack();

    platform::TPanel* panel_;
    controls::TXFadeButton* chordButton_;
    plan::PanelHost& host_;
    platform::TBitmap background_;
};

} // namespace tools
