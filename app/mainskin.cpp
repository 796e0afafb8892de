// The main window's look: its controls as the window's form resource lays
// them out, the one-time skin set-up (backgrounds, skinned buttons, LED
// panel, tempo bar) and the two picture loading routines the whole program
// uses.

#include "app/mainwindow.h"
#include "app/msgwin.h"
#include "layout/screenlayout.h"
#include "lessons/registrydata.h"
#include "platform/core/cp1252.h"
#include "platform/core/pathresolver.h"
#include "platform/ui/application.h"
#include "platform/ui/jpegbitmap.h"
#include "sprachbank/sprachbank.h"

#include <QDir>
#include <QFile>

namespace app {

using namespace platform;

namespace {

constexpr TColor kInk = RGB(0x3B, 0x2A, 0x1E);
// Stands in for a picture that is missing (red 0xDC, green 0x05, blue 0x1B).
constexpr TColor kMissingPictureFill = RGB(0xDC, 0x05, 0x1B);
constexpr int kFillSize = 10;

void FillSquare(TBitmap* bitmap, TColor colour) {
    bitmap->SetSize(kFillSize, kFillSize);
    bitmap->Canvas()->Brush()->SetStyle(bsSolid);
    bitmap->Canvas()->Brush()->SetColor(colour);
    bitmap->Canvas()->FillRect(Rect(0, 0, kFillSize, kFillSize));
}

void SetLabelFont(TLabel* label, int pixels, bool bold) {
    label->Font()->SetName("Arial");
    label->Font()->SetHeight(-pixels);
    label->Font()->SetStyle(bold ? TFontStyles(fsBold) : TFontStyles(0));
    label->Font()->SetColor(kInk);
}

} // namespace

// ======================================================= the form resource

controls::TXFadeButton* TForm1::MakeButton(TControl* parent, const QString& name) {
    return controls::MakeCaptionButton(this, parent, name);
}

TLabel* TForm1::MakeLabel(TControl* parent, const QString& name) {
    auto* label = new TLabel(this);
    label->SetName(name);
    label->SetParent(parent);
    label->SetTransparent(true);
    label->SetShowAccelChar(false);
    SetLabelFont(label, 11, false);
    return label;
}

TPanel* TForm1::MakePanel(const QString& name, int left, int top, int width, int height) {
    auto* panel = new TPanel(this);
    panel->SetName(name);
    panel->SetParent(this);
    panel->SetBevelOuter(bvNone);
    panel->SetColor(RGB(0xF6, 0xEC, 0xD6));
    panel->SetBounds(left, top, width, height);
    return panel;
}

void TForm1::CreateControls() {
    CreatePanels();
    CreateButtons();
    CreateDisplayControls();
    CreateProgressControls();
    Timer2 = new TTimer(this);
    Timer2->SetEnabled(false);
    Timer2->OnTimer = [this](TObject* sender) { Timer2Timer(sender); };
    PopupSoundcard = new TPopupMenu(this);
    ConnectButtons();
}

void TForm1::CreatePanels() {
    const QRect& tool = layout::ToolPanel;
    PUeplan = MakePanel("PUeplan", tool.x(), tool.y(), tool.width(), tool.height());
    PExplorer = MakePanel("PExplorer", tool.x(), tool.y(), tool.width(), tool.height());
    PMonitor = MakePanel("PMonitor", tool.x(), tool.y(), tool.width(), tool.height());
    PTuner = MakePanel("PTuner", tool.x(), tool.y(), tool.width(), tool.height());
    PTuner->Hide();
    const QRect& video = layout::IntroVideo;
    VideoPanel = MakePanel("VideoPanel", video.x(), video.y(), video.width(), video.height());
    VideoPanel->SetColor(clBlack);
    VideoPanel->Hide();
}

void TForm1::CreateButtons() {
    BExplorer = MakeButton(this, "BExplorer");
    BKontrolle = MakeButton(this, "BKontrolle");
    BUeplan = MakeButton(this, "BUeplan");
    BMonitor = MakeButton(this, "BMonitor");
    BStimm = MakeButton(this, "BStimm");
    BHilfe = MakeButton(this, "BHilfe");
    BBeenden = MakeButton(this, "BBeenden");
    BPlay = MakeButton(this, "BPlay");
    BPause = MakeButton(this, "BPause");
    BStop = MakeButton(this, "BStop");
    BLoop = MakeButton(this, "BLoop");
    BLocator = MakeButton(this, "BLocator");
    BRewind = MakeButton(this, "BRewind");
    BForward = MakeButton(this, "BForward");
    BExtraFunction = MakeButton(this, "BExtraFunction");
    BLogo = MakeButton(this, "BLogo");
    BVideoStop = MakeButton(this, "BVideoStop");
    BScrollUp = MakeButton(PExplorer, "BScrollUp");
    BScrollUp->SetBounds(layout::BScrollUp.x(), layout::BScrollUp.y(), 90, 18);
    BScrollDown = MakeButton(PExplorer, "BScrollDown");
    BScrollDown->SetBounds(layout::BScrollDown.x(), layout::BScrollDown.y(), 90, 18);
    BTunerAkkord = MakeButton(PTuner, "BTunerAkkord");
    BTunerAkkord->SetBounds(layout::BTunerAkkord.x(), layout::BTunerAkkord.y(), 48, 72);
    // BNext and BVonVorn are the practice plan panel's own (mainwindow_panels.cpp).
}

void TForm1::CreateDisplayControls() {
    TrBarTempo = new controls::TXTrackBar(this);
    TrBarTempo->SetName("TrBarTempo");
    TrBarTempo->SetParent(this);
    TrBarTempo->SetMin(1);
    TrBarTempo->SetMax(10);
    TrBarTempo->SetStep(1);
    TrBarTempo->SetHorizontal(false);
    TrBarTempo->SetTextVisible(false);

    ImgModus = new TImage(this);
    ImgModus->SetName("ImgModus");
    ImgModus->SetParent(this);
    ImgModus->SetAutoSize(true);
    ImgLevel = new TImage(this);
    ImgLevel->SetName("ImgLevel");
    ImgLevel->SetParent(this);
    ImgLevel->SetAutoSize(true);
    ImgLevel->Picture()->LoadFromResourceName("IMGLEVEL");

    LDisplayCap1 = MakeLabel(this, "LDisplayCap1");
    LDisplayCap2 = MakeLabel(this, "LDisplayCap2");
    LDisplayCap3 = MakeLabel(this, "LDisplayCap3");
    LSoundcard = MakeLabel(this, "LSoundcard");
    LSoundcard->SetCursor(crHandPoint);
    LSoundcard->OnClick = [this](TObject* sender) { LSoundcardClick(sender); };
    LModusAnzeige = MakeLabel(this, "LModusAnzeige");
    SetLabelFont(LModusAnzeige, 12, true);
    LDate = MakeLabel(this, "LDate");
    LDate->SetCaption(CaptionText(24));
    SetLabelFont(LDate, 12, true);
    LClock = MakeLabel(this, "LClock");
    LClock->SetCaption("00:00");
    SetLabelFont(LClock, 12, true);
    LLevelCap = MakeLabel(this, "LLevelCap");
    LLevelCap->SetCaption("Tempo");
    LLevel = MakeLabel(this, "LLevel");
    SetLabelFont(LLevel, 13, true);
}

// The learner's progress on the lesson screen, and the way back into the
// course on the greeting screen.
void TForm1::CreateProgressControls() {
    LProgress = MakeLabel(this, "LProgress");
    SetLabelFont(LProgress, 11, true);
    LProgress->SetAutoSize(false);
    LProgress->SetWordWrap(true);
    LProgress->SetBounds(layout::PassProgress.x(), layout::PassProgress.y(),
                         layout::PassProgress.width(), layout::PassProgress.height());
    LProgress->Hide();
    BWeiter = MakeButton(this, "BWeiter");
    BWeiter->Hide();
    BWeiter->OnClick = [this](TObject* sender) { BWeiterClick(sender); };
}

void TForm1::ConnectButtons() {
    BHilfe->OnClick = [this](TObject* sender) { BHilfeClick(sender); };
    BBeenden->OnClick = [this](TObject* sender) { BBeendenClick(sender); };
    BLogo->OnClick = [this](TObject* sender) { BLogoClick(sender); };
    BVideoStop->OnClick = [this](TObject* sender) { BVideoStopClick(sender); };
    BKontrolle->OnClick = [this](TObject* sender) { BKontrolleClick(sender); };
    BStimm->OnClick = [this](TObject* sender) { BStimmClick(sender); };
    BPlay->OnClick = [this](TObject* sender) { BPlayClick(sender); };
    BPause->OnClick = [this](TObject* sender) { BPauseClick(sender); };
    BStop->OnClick = [this](TObject* sender) { BStopClick(sender); };
}

// ============================================================ skin set-up

namespace {

// One row of the button table: the control, its three looks (an empty name
// keeps the generated look) and its place.
struct ButtonSkin {
    controls::TXFadeButton* button;
    const char* normal;
    const char* over;
    const char* down;
    int left;
    int top;
    QString caption;
};

// A bitmap resource; one with words has an English twin "<NAME>_EN", taken
// whenever the program serves the English edition.
void LoadResource(TBitmap* bitmap, const char* name) {
    const QString english = QString::fromLatin1(name) + QStringLiteral("_EN");
    if (lessons::CourseEdition(DLL_GetLanguage()) != 0 && QFile::exists(QStringLiteral(":/res/") + english))
        bitmap->LoadFromResourceName(english);
    else
        bitmap->LoadFromResourceName(name);
}

void ApplyButtonSkin(const ButtonSkin& skin) {
    controls::TXFadeButton* button = skin.button;
    TBitmap look;
    LoadResource(&look, skin.normal);
    button->SetTakeImg(true);
    button->SetBounds(skin.left, skin.top, look.Width(), look.Height());
    button->SetBgBmp(&look);
    if (skin.over != nullptr) {
        TBitmap over;
        LoadResource(&over, skin.over);
        button->SetBgOverBmp(&over);
    }
    if (skin.down != nullptr) {
        TBitmap down;
        LoadResource(&down, skin.down);
        button->SetBgDownBmp(&down);
    }
    button->SetText(skin.caption);
    button->Repaint();
}

int RightOf(const TControl* control) {
    return control->Left() + control->Width();
}

} // namespace

void TForm1::SetUpSkin() {
    // Content names below are relative to the program folder.
    QDir::setCurrent(QString::fromStdString(ResolveAnsiPath(ProgramFolder)));
    LoadWindowBitmaps();
    PlaceDisplayBlock();
    PlaceLevelBlock();
    // The intro video button.
    BVideoStop->SetTakeImg(true);
    BVideoStop->SetBounds(layout::BVideoStop.x(), layout::BVideoStop.y(), VideoStopBmp.Width(),
                          VideoStopBmp.Height());
    BVideoStop->SetBgBmp(&VideoPlayBmp);
    BVideoStop->SetText(" ");
    SkinButtons();
    SkinTempoBar();
    // The LED segments.
    LoadResource(&LedDark, "LEDBMPDARK");
    LoadResource(&LedLight, "LEDBMPLIGHT");
}

// The backgrounds and the pictures the window paints itself.
void TForm1::LoadWindowBitmaps() {
    if (!LoadJpegBitmap(&DialogBackdrop, "Bilder\\hintergrundklein.jpg"))
        FillSquare(&DialogBackdrop, kBackdropFailureFill);
    if (!LoadJpegBitmap(&WindowBackground, "Bilder\\hintergrund.jpg"))
        FillSquare(&WindowBackground, kBackdropFailureFill);
    LoadResource(&KontrolleCover, "RKONTROLLECOVER");
    LoadResource(&LedBackground, "LEDBG");
    LoadResource(&VideoPlayBmp, "RVIDEOPLAYBMP");
    LoadResource(&VideoStopBmp, "RVIDEOSTOPBMP");
}

// The captions and values on the mode picture.
void TForm1::PlaceDisplayBlock() {
    LDisplayCap1->SetCaption(CaptionText(9));
    LDisplayCap2->SetCaption(CaptionText(24));
    LDisplayCap3->SetCaption(CaptionText(25));
    LSoundcard->SetCaption(CaptionText(30));

    LoadPictureInto(ImgModus, "Bilder\\tutorialdisplay.jpg");
    ImgModus->SetLeft(layout::ModeDisplay.x());
    ImgModus->SetTop(layout::ModeDisplay.y());
    const int capsLeft = ImgModus->Left() + 10;
    LDisplayCap1->SetBounds(capsLeft, ImgModus->Top() + 10, LDisplayCap1->Width(),
                            LDisplayCap1->Height());
    LDisplayCap2->SetBounds(capsLeft, ImgModus->Top() + 44, LDisplayCap2->Width(),
                            LDisplayCap2->Height());
    LDisplayCap3->SetBounds(capsLeft, ImgModus->Top() + 44, LDisplayCap3->Width(),
                            LDisplayCap3->Height());
    LSoundcard->SetBounds(capsLeft, ImgModus->Top() + 78, LSoundcard->Width(),
                          LSoundcard->Height());
    const int valuesLeft = ImgModus->Left() + 20;
    LModusAnzeige->SetLeft(valuesLeft);
    LModusAnzeige->SetTop(LDisplayCap1->Top() + 10);
    LDate->SetLeft(valuesLeft);
    LDate->SetTop(LDisplayCap2->Top() + 10);
    LClock->SetLeft(valuesLeft);
    LClock->SetTop(LDisplayCap3->Top() + 10);
    // The practice time takes the place of the date.
    LDisplayCap2->Hide();
    LDate->Hide();
}

void TForm1::PlaceLevelBlock() {
    ImgLevel->SetLeft(layout::LevelBlock.x());
    ImgLevel->SetTop(layout::LevelBlock.y());
    LLevelCap->SetTop(ImgLevel->Top() + 6);
    LLevelCap->SetLeft(ImgLevel->Left() + ImgLevel->Width() / 2 - LLevelCap->Width() / 2);
    LLevel->SetTop(LLevelCap->Top() + 12);
}

void TForm1::SkinTempoBar() {
    TBitmap bar, barOver, thumb;
    LoadResource(&bar, "RTRACKBAR");
    LoadResource(&barOver, "RTRACKBAROVER");
    LoadResource(&thumb, "RTRACKTHUMB");
    TrBarTempo->SetTakeImg(true);
    TrBarTempo->SetThumbWidth(thumb.Width());
    TrBarTempo->SetThumbHeight(thumb.Height());
    TrBarTempo->SetTailSize(layout::TrackTailSize);
    TrBarTempo->SetTickWidth(layout::TrackTickWidth);
    TrBarTempo->SetBounds(layout::TempoBar.x(), layout::TempoBar.y(), bar.Width(), bar.Height());
    TrBarTempo->SetBgBmp(&bar);
    TrBarTempo->SetBgOverBmp(&barOver);
    TrBarTempo->SetBgDownBmp(&barOver);
    TrBarTempo->SetThumbBmp(&thumb);
}

void TForm1::SkinButtons() {
    const QString space(" ");
    const ButtonSkin column[] = {
        {BExplorer, "RBUTTON", "RBUTTONOVER", "RBUTTONDOWN", 12, 248, CaptionText(9)},
        {BKontrolle, "RBUTTON", "RBUTTONOVER", "RBUTTONDOWN", 12, 397, CaptionText(10)},
        {BUeplan, "RBUTTON", "RBUTTONOVER", "RBUTTONDOWN", 12, 428, CaptionText(11)},
        {BMonitor, "RBUTTON", "RBUTTONOVER", "RBUTTONDOWN", 12, 460, CaptionText(13)},
        {BStimm, "RBUTTON", "RBUTTONOVER", "RBUTTONDOWN", 12, 491, CaptionText(14)},
        {BHilfe, "RBUTTON", "RBUTTONOVER", "RBUTTONDOWN", 12, 523, CaptionText(15)},
        {BBeenden, "RBUTTON", "RBUTTONOVER", "RBUTTONDOWN", 12, 554, CaptionText(16)},
    };
    for (const ButtonSkin& skin : column) {
        ApplyButtonSkin(skin);
        skin.button->SetRadiusH(layout::ButtonCornerEllipse);
        skin.button->SetRadiusV(layout::ButtonCornerEllipse);
        skin.button->SetIsRoundRect(true);
    }

    ApplyButtonSkin({BPlay, "RPLAY", "RPLAYOVER", "RPLAYDOWN", 451, 29, space});
    ApplyButtonSkin(
        {BPause, "RPAUSE", "RPAUSEOVER", "RPAUSEDOWN", RightOf(BPlay), BPlay->Top(), space});
    ApplyButtonSkin(
        {BStop, "RSTOP", "RSTOPOVER", "RSTOPDOWN", RightOf(BPause), BPlay->Top(), space});
    ApplyButtonSkin(
        {BLoop, "RLOOP", "RLOOPOVER", "RLOOPDOWN", RightOf(BStop), BPlay->Top(), space});
    // "Left of BPlay" is BPlay's own left: the locator row starts under it.
    ApplyButtonSkin({BLocator, "RLOCATOR", "RLOCATOROVER", "RLOCATORDOWN", BPlay->Left(),
                     BPlay->Top() + BPlay->Height(), space});
    ApplyButtonSkin({BRewind, "RREWIND", "RREWINDOVER", "RREWINDDOWN", RightOf(BLocator),
                     BLocator->Top(), space});
    ApplyButtonSkin({BForward, "RFORWARD", "RFORWARDOVER", "RFORWARDDOWN", RightOf(BRewind),
                     BLocator->Top(), space});
    ApplyButtonSkin({BExtraFunction, "RNOFUNCTIONCONTROL", "RNOFUNCTIONCONTROL",
                     "RNOFUNCTIONCONTROL", RightOf(BForward), BLocator->Top(), space});
    ApplyButtonSkin({BLogo, "RLOGOBUTTON", "RLOGOBUTTONOVER", "RLOGOBUTTONOVER", 690, 22, space});
    ApplyButtonSkin({BScrollUp, "RBUTTON_SCROLLUP", "RBUTTONOVER_SCROLLUP", "RBUTTONOVER_SCROLLUP",
                     BScrollUp->Left(), BScrollUp->Top(), BScrollUp->Text()});
    ApplyButtonSkin({BScrollDown, "RBUTTON_SCROLLDOWN", "RBUTTONOVER_SCROLLDOWN",
                     "RBUTTONOVER_SCROLLDOWN", BScrollDown->Left(), BScrollDown->Top(),
                     BScrollDown->Text()});
    ApplyButtonSkin({BTunerAkkord, "TUNERAKKORDBMP", "TUNERAKKORDBMP", "TUNERAKKORDBMP",
                     BTunerAkkord->Left(), BTunerAkkord->Top(), BTunerAkkord->Text()});
    BLocator->SetFix(true);
    // The greeting's button: the column's button looks, stretched wider.
    const QRect& weiter = layout::GreetingContinue;
    BWeiter->SetTakeImg(true);
    BWeiter->SetBounds(weiter.x(), weiter.y(), weiter.width(), weiter.height());
    TBitmap look;
    LoadResource(&look, "RBUTTON");
    BWeiter->SetBgBmp(&look);
    LoadResource(&look, "RBUTTONOVER");
    BWeiter->SetBgOverBmp(&look);
    LoadResource(&look, "RBUTTONDOWN");
    BWeiter->SetBgDownBmp(&look);
    BWeiter->SetRadiusH(layout::ButtonCornerEllipse);
    BWeiter->SetRadiusV(layout::ButtonCornerEllipse);
    BWeiter->SetIsRoundRect(true);
}

// ======================================================= picture loading

bool TForm1::LoadJpegBitmap(TBitmap* bitmap, const std::string& fileName) {
    if (!AnsiPathExists(fileName)) return false;
    if (ReadJpegIntoBitmap(bitmap, ResolveAnsiPath(fileName))) return true;
    platform::MessageBox(ErrorText(300), "", MB_OK);
    return false;
}

void TForm1::LoadPictureInto(TImage* picture, const std::string& fileName) {
    TBitmap loaded;
    if (AnsiPathExists(fileName)) {
        if (!ReadJpegIntoBitmap(&loaded, ResolveAnsiPath(fileName))) {
            platform::MessageBox(ErrorText(300), "", MB_OK);
            return;
        }
    } else {
        FillSquare(&loaded, kMissingPictureFill);
    }
    picture->Picture()->Assign(&loaded);
    picture->SetBounds(picture->Left(), picture->Top(), loaded.Width(), loaded.Height());
}

} // namespace app
