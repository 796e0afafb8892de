#pragma once
// MainWindowLook: the main window's controls as its form resource lays them
// out, and their look: the backgrounds and pictures the window paints, the
// skinned buttons, the mode and level displays, the tempo bar and the LED
// segments. It makes and places the controls; what they do is the window's
// (TForm1 connects their handlers). It also loads the course's pictures for
// the whole program, from content names or full paths.

#include "controls/fadebutton.h"
#include "controls/trackbar.h"
#include "platform/core/contentpaths.h"
#include "platform/ui/controls.h"
#include "platform/ui/forms.h"
#include "platform/ui/graphics.h"

#include <QString>
#include <string>

namespace app {

// The colour that stands in for a background picture that could not be
// loaded (red 0x33, green 0x44, blue 0x55).
inline constexpr platform::TColor kBackdropFailureFill = 0x554433;

class MainWindowLook {
public:
    // ---- Controls ------------------------------------------------------------
    controls::TXFadeButton *BExplorer, *BKontrolle, *BUeplan, *BMonitor, *BStimm, *BHilfe,
        *BBeenden;
    controls::TXFadeButton *BPlay, *BPause, *BStop, *BLoop, *BLocator, *BRewind, *BForward,
        *BExtraFunction;
    controls::TXFadeButton *BLogo, *BVideoStop, *BScrollUp, *BScrollDown, *BTunerAkkord;
    controls::TXTrackBar* TrBarTempo;
    platform::TLabel *LDisplayCap1, *LDisplayCap2, *LDisplayCap3, *LSoundcard, *LModusAnzeige,
        *LDate, *LClock, *LLevelCap, *LLevel;
    // The open lesson's passes toward the quiz ("2 von 3").
    platform::TLabel* LProgress = nullptr;
    // On the greeting screen: opens the plan's first lesson.
    controls::TXFadeButton* BWeiter = nullptr;
    platform::TImage *ImgModus, *ImgLevel;
    platform::TPanel *PUeplan, *PExplorer, *PMonitor, *PTuner, *VideoPanel;

    // ---- Pictures ------------------------------------------------------------
    platform::TBitmap DialogBackdrop, WindowBackground, KontrolleCover, LedBackground, LedDark,
        LedLight, VideoPlayBmp, VideoStopBmp, PointBmp, PointWork;

    // The content files in the program folder.
    platform::ContentPaths Content;

    // Makes the controls on `form`, unplaced and unskinned.
    void CreateControls(platform::TForm* form);
    // Loads the pictures and skins and places the controls.
    void SetUpSkin();
    // A skinned caption button of the form, on `parent`.
    controls::TXFadeButton* MakeButton(platform::TControl* parent, const QString& name);

    // The JPEG content file `fileName` into `bitmap`: false when it is
    // missing, or (told in a box) no readable JPEG.
    bool LoadJpeg(platform::TBitmap* bitmap, const std::string& fileName);
    // The JPEG content file `fileName` into `picture`, sized to it; a missing
    // file shows a red square, an unreadable one is told and changes nothing.
    void LoadPicture(platform::TImage* picture, const std::string& fileName);

protected:
    MainWindowLook() = default;
    ~MainWindowLook() = default;

private:
    void CreatePanels();
    void CreateButtons();
    void CreateDisplayControls();
    void CreateProgressControls();
    void LoadWindowBitmaps();
    void PlaceDisplayBlock();
    void PlaceLevelBlock();
    void SkinTempoBar();
    void SkinButtons();
    platform::TLabel* MakeLabel(platform::TControl* parent, const QString& name);
    platform::TPanel* MakePanel(const QString& name, int left, int top, int width, int height);

    platform::TForm* form_ = nullptr;
};

} // namespace app
