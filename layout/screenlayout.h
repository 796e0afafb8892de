#pragma once
// The one screen layout of Zupfari Basis: where every control, panel and
// picture of the 800 x 600 windows sits, and how large the bitmaps and
// pictures that fill them are. The program's forms place their controls from
// these values and the content generator draws every picture and bitmap
// resource to fit them, so the two can never drift apart.
//
// Positions are pixels in the client area of the window named in each block
// (panel children: in the panel's own client area). Values that the course's
// behaviour fixes are marked "fixed"; the others are our own choice and may be
// changed here, in one place, followed by a rebuild of the content.

#include <QPoint>
#include <QRect>
#include <QSize>

namespace layout {

// ---------------------------------------------------------------- windows
inline constexpr QSize MainWindow{800, 600};   // fixed: main, slide and quiz windows
inline constexpr QSize DialogWindow{248, 174}; // fixed: message box and exit dialog
inline constexpr int DialogCornerEllipse = 40; // fixed: dialogs and tool panels
inline constexpr QSize StartScreen{480, 320};  // start screen = size of Screen/startbild.jpg

// ------------------------------------------------------- button bitmaps
inline constexpr QSize Button{85, 24};         // fixed: "RBUTTON", "RBUTTONOVER", "RBUTTONDOWN"
inline constexpr QSize SlideButton{91, 30};    // fixed: "RBUTTONLF" and its over/down looks
inline constexpr QSize DialogButton{90, 28};   // "RBUTTONDIALOG" and its over/down looks
inline constexpr QSize TransportButton{56, 40}; // "RPLAY" ... "RFORWARD", "RNOFUNCTIONCONTROL"
inline constexpr QSize ScrollButton{90, 18};   // "RBUTTON_SCROLLUP" ... (explorer)
inline constexpr QSize LogoButton{100, 100};   // "RLOGOBUTTON", "RLOGOBUTTONOVER"
inline constexpr QSize VideoButton{112, 28};   // "RVIDEOPLAYBMP", "RVIDEOSTOPBMP"
inline constexpr QSize TunerChordButton{48, 72}; // "TUNERAKKORDBMP": E major chord chart
// Corner ellipse (RadiusH = RadiusV) for the buttons that take the
// rounded-rectangle shape; the button bitmaps are drawn with this rounding.
inline constexpr int ButtonCornerEllipse = 12;

// ------------------------------------------------ main window: left column
inline constexpr QPoint BExplorer{12, 248};   // fixed
inline constexpr QPoint BKontrolle{12, 397};  // fixed
inline constexpr QPoint BUeplan{12, 428};     // fixed
inline constexpr QPoint BMonitor{12, 460};    // fixed
inline constexpr QPoint BStimm{12, 491};      // fixed
inline constexpr QPoint BHilfe{12, 523};      // fixed
inline constexpr QPoint BBeenden{12, 554};    // fixed
// "RKONTROLLECOVER", painted at 6, 390 (fixed) while BKontrolle is hidden.
inline constexpr QRect KontrolleCover{6, 390, 97, 36};
// Mode display ImgModus at 12, 281 (fixed); its size is that of
// Bilder/tutorialdisplay.jpg and Bilder/explorerdisplay.jpg. The labels on it
// are placed relative to it (LDisplayCap1 +10,+10; LModusAnzeige +20,+20;
// LDisplayCap3 +10,+44; LClock +20,+54; LSoundcard +10,+78).
inline constexpr QRect ModeDisplay{12, 281, 85, 102};

// ------------------------------------ main window: the four tool panels
// PUeplan, and with it PExplorer, PMonitor and PTuner, in the upper left.
// Their backgrounds (UeplanBG, ExplorerBG, MonitorBG, TunerBG .jpg) have
// exactly this size; the panels take a 40 x 40 rounded window region.
inline constexpr QRect ToolPanel{12, 12, 368, 212};

// Practice plan (panel coordinates): rows i = 0..2 at top 62 + 28 i (fixed).
inline constexpr int PlanNumberLeft = 72;        // fixed
inline constexpr int PlanTitleLeft = 104;        // fixed
inline constexpr int PlanSelectLeft = 260;       // fixed
inline constexpr int PlanFirstRowTop = 62;       // fixed
inline constexpr int PlanRowStep = 28;           // fixed
inline constexpr QSize PlanButton{80, 16};       // fixed: select, "Neue Übung", "Von Vorn"
inline constexpr int PlanBottomButtonsTop = ToolPanel.height() - PlanButton.height() - 22;

// Explorer (panel coordinates). The rows are wide enough to name each
// lesson with its title ("Lektion 7 — a-Moll und der erste Wechsel"); the
// entry under the mouse is told in the column right of them: its name, its
// title (three lines) and its text (six lines), each line 12 pixels of
// 11-pixel Arial inside a 4-pixel border.
inline constexpr QPoint BScrollUp{12, 28 - ScrollButton.height()}; // above row 0
inline constexpr QPoint BScrollDown{12, 28 + 8 * 17};              // below row 7
inline constexpr QRect ExplorerRow0{15, 28, 216, 17};
inline constexpr int ExplorerRowInset = 6;            // the row text's left and right border
inline constexpr QRect XplText{238, 56, 120, 18};
inline constexpr QRect XplText2{238, 74, 120, 44};
inline constexpr QRect XplText3{238, 118, 120, 80};
// The hint under the list.
inline constexpr QRect ExplorerHint{24, 186, 206, 16};

// Monitor (panel coordinates).
inline constexpr QRect ImgMon1{32, 26, 192, 144};   // fixed: picture and video frame
inline constexpr QPoint MonitorButton0{266, 40};    // fixed: 60 x 16, step 32 down
inline constexpr QSize SlidePicture{192, 144};      // size of the lessons' DiaA/B/C pictures

// Tuner (panel coordinates). ImgTuner shows Bilder/Griffbrett.jpg: six
// strings in six equal horizontal bands, high e at the top.
inline constexpr QRect ImgTuner{24, 50, 216, 132};  // position fixed, size ours
// The string labels stand at left ImgTuner width + 40, "Aus" and "E Dur" at
// + 48 from there; BTunerAkkord below "E Dur" (top = e label top + 24).
inline constexpr QPoint BTunerAkkord{ImgTuner.width() + 88, ImgTuner.top() - 4 + 24};
// Listening: the switch "Mikrofon" with its label at the top right, beside
// the heading; the display takes ImgTuner's place while it is on, with
// "automatisch" in its top left corner and the input along its bottom.
inline constexpr QRect TunerSwitch{236, 20, 30, 16};
inline constexpr QPoint TunerSwitchLabel{272, 18};
inline constexpr QPoint TunerAutomatic{6, 1};        // in the display
inline constexpr QRect TunerInput{6, 116, 204, 15};  // in the display

// ----------------------------------------- main window: lesson screen
// The area the lesson main screens, the greeting and the no-lesson screen
// cover with their backdrop (the skin's tag-200 picture): right of the left
// column, below the tool panel, left of the LED column.
inline constexpr QRect LessonScreen{108, 236, 628, 356};
// The count-in digit stands centred in this area during the count-in: over
// the lesson screen's text column (right of the left margin, left of the
// slide and tool links), large enough to be read from a guitar's distance.
inline constexpr QRect CountInArea{LessonScreen.x() + 12, LessonScreen.y() + 6, 410, 130};
// The open lesson's passes toward the quiz, beside the lesson below its
// slide and tool links (which the lesson screens put at the screen's top
// right, 190 x 62, 6 pixels in).
inline constexpr QRect PassProgress{LessonScreen.x() + LessonScreen.width() - 197,
                                    LessonScreen.y() + 76, 190, 64};
// The line that sums up a pass of the play-along check, below the passes
// toward the quiz.
inline constexpr QRect PlayAlongSummary{PassProgress.x(), PassProgress.y() + PassProgress.height() + 4, 190, 60};
// The greeting's "go on with lesson N" for a learner who comes back.
inline constexpr QRect GreetingContinue{LessonScreen.x() + 24, LessonScreen.y() + 262, 230, 30};
// The strip above the lesson screen, right of the tool panel and below the
// transport: the course's name plate (part of the main background).
inline constexpr QRect NamePlate{392, 124, 344, 100};
// Intro and closing video: VideoPanel at 264, 268 with 320 x 240 (fixed);
// BVideoStop at 256, 508 (fixed), sized to "RVIDEOSTOPBMP".
inline constexpr QRect IntroVideo{264, 268, 320, 240};
inline constexpr QPoint BVideoStop{256, 508};

// -------------------------------------------- main window: transport
// Two rows of four keys: BPlay BPause BStop BLoop, then BLocator (below
// BPlay, same left) BRewind BForward BExtraFunction.
inline constexpr QPoint BPlay{451, 29}; // fixed
inline constexpr QRect TransportBlock{BPlay.x(), BPlay.y(), 4 * TransportButton.width(),
                                      2 * TransportButton.height()};
// Left of transport key `column` (0..3) in either row; row 1 top = BPlay bottom.
constexpr QPoint TransportKey(int row, int column) {
    return {BPlay.x() + column * TransportButton.width(), BPlay.y() + row * TransportButton.height()};
}
// The play-along check's two switches in one row under the transport keys
// (left of the logo).
inline constexpr QRect PlayAlongSwitches{TransportBlock.x(), TransportBlock.y() + TransportBlock.height() + 4,
                                         230, 16};

// ------------------------------------------ main window: right column
inline constexpr QPoint BLogo{690, 22};                  // fixed
inline constexpr QRect LedPanel{751, 139, 34, 112};      // fixed corner; "LEDBG" has this size
inline constexpr QSize LedSegment{30, 7};                // "LEDBMPDARK", "LEDBMPLIGHT"
// Segment i (0 = top .. 9) lies at LedPanel + (2, 2 + i * (segment height + 2));
// the pre-roll lamp at LedPanel + (2, 101) (fixed rules).
constexpr QPoint LedSegmentAt(int i) {
    return {LedPanel.x() + 2, LedPanel.y() + 2 + i * (LedSegment.height() + 2)};
}
inline constexpr QPoint PreRollLamp{LedPanel.x() + 2, LedPanel.y() + 101};
inline constexpr QRect LevelBlock{744, 307, 48, 44};     // ImgLevel, picture ":/res/IMGLEVEL"; corner fixed
inline constexpr int LLevelCapOffset = 6;                // fixed: LLevelCap top = ImgLevel top + 6
inline constexpr int LLevelOffset = 18;                  // fixed: LLevel top = LLevelCap top + 12
inline constexpr QRect TempoBar{744, 357, 48, 224};      // TrBarTempo; corner fixed; "RTRACKBAR" size
inline constexpr QSize TrackThumb{40, 16};               // ThumbWidth x ThumbHeight; "RTRACKTHUMB"
inline constexpr int TrackTailSize = 8;                  // TailSize of TrBarTempo
inline constexpr int TrackTickWidth = 6;                 // TickWidth of TrBarTempo

// --------------------------------------------- play cursor and locator
inline constexpr QSize PointBitmap{14, 14}; // "RPOINTBMP": drawn with its bottom on the line
inline constexpr QSize LocatorMark{15, 12}; // "RTRIGONBMP" and its mask "RTRIGONBLACKBMP"

// --------------------------------------------- slide windows A, B, C
// Buttons at left 692 (fixed), bottom one ends at 570, stacked upwards one
// pixel apart; LUeNummer at 714 (710 in English), top 88; Label1
// ("Lernfenster") at the same left, top 66.
inline constexpr int SlideButtonsLeft = 692;   // fixed
inline constexpr int SlideButtonsBottom = 570; // fixed: BNext ends here
inline constexpr QRect SlideContent{16, 16, 660, 568}; // where the skins put their backdrop
inline constexpr QRect SlideSidebarPlate{688, 54, 100, 62}; // cream plate behind the two labels
inline constexpr QSize SlideVideo{192, 144};           // fixed: video frame of window A

// ------------------------------------------------------------ quiz window
// Answer panels drawn by the quiz itself (fixed); the fourth quarter, bottom
// right, holds the buttons (left 691, tops 491, 521, 551) and our title.
inline constexpr int QuizButtonsLeft = 691;   // fixed
inline constexpr int QuizButtonsBottom = 575; // fixed: "OK" ends here
inline constexpr int QuizButtonGap = 6;       // fixed
inline constexpr QRect QuizPanel1{30, 30, 365, 265};
inline constexpr QRect QuizPanel2{404, 30, 366, 265};
inline constexpr QRect QuizPanel3{30, 304, 365, 266};
inline constexpr QRect QuizCorner{404, 304, 366, 266};

// -------------------------------------------------------- the palette
// Colours of the look as 0xRRGGBB (QColor::fromRgb); forms use them for
// fonts and fills so that text sits well on the pictures. (Skin files write
// colours as 0x00BBGGRR decimals.)
namespace colour {
inline constexpr unsigned Ink = 0x3B2A1E;        // dark brown text on cream
inline constexpr unsigned Cream = 0xF6ECD6;      // paper, light text on wood
inline constexpr unsigned CreamLight = 0xFBF6EA;
inline constexpr unsigned WoodDark = 0x4A2F1B;
inline constexpr unsigned Wood = 0x8B5A2B;
inline constexpr unsigned Honey = 0xD9A566;
inline constexpr unsigned Accent = 0xD9622B;     // warm orange: highlights, the point
inline constexpr unsigned DisplayText = 0x3B2A1E; // labels on the mode display
inline constexpr unsigned LevelText = 0x3B2A1E;   // LLevelCap and LLevel on ImgLevel
} // namespace colour

} // namespace layout
