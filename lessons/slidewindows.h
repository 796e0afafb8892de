#pragma once
// The slide windows A, B and C ("Lernfenster"), in which a lesson is taught
// before it is practised: text, pictures that can be paged, chord samples and
// videos (window A), drawn from the lesson's "WinA", "WinB" and "WinC" skin
// files over a common background. The learner goes forward with "Weiter",
// back with "Zurück" (B and C), leaves with "Abbrechen". After window C the
// lesson enters the practice plan, or, after a quiz, the quiz comes back.
//
// The windows are created once at program start and only shown and hidden;
// each reloads its skin every time it is opened. They reach the main window
// through the LessonHost and each other through the window pointers below.

#include "controls/fadebutton.h"
#include "lessons/lessonwindow.h"
#include "platform/ui/controls.h"

#include <array>
#include <string>

namespace lessons {

// The slide windows, in the order a lesson is taught.
enum SlideWindowIndex { kSlideA = 0, kSlideB = 1, kSlideC = 2 };

// What the three slide windows have in common beyond the quiz: the lesson
// number and heading, the paged slide pictures, and the way out.
class TExtWin : public TLessonWindow {
public:
    // `window` is kSlideA, kSlideB or kSlideC.
    TExtWin(platform::TComponent* owner, int window);
    ~TExtWin() override;

    // ---- Controls (LUeNummer is component 0) ------------------------------
    platform::TLabel* LUeNummer;
    platform::TLabel* Label1;

    // ---- State ------------------------------------------------------------
    struct TSlidePictures {
        std::string BasePath; // program folder + "lektion" N + "\DiaA" (B, C)
        int Number = 1;       // the picture asked for, 1 to 4
        int FrameIndex = 0;   // component index of the tag-110 frame, 0 for none
        int Shown = 1;        // the picture in the frame, whose number is marked
    } SlidePictures;
    // A set flag: this window is passed over for the lesson.
    std::array<bool, 30> SkipWindow{};

    // ---- Handlers -----------------------------------------------------------
    void FormCloseQuery(platform::TObject* Sender, bool& CanClose);

    // The click actions of the skin's controls.
    void NextSlidePicture(platform::TObject* Sender);
    void ShowSlidePicture(platform::TObject* Sender, int number);
    // The picture number (labels tagged 121 to 124) of the picture shown is
    // underlined in the text colour; the others keep the skin's look.
    void MarkPictureNumber();

protected:
    // Loads the current lesson's skin into the window and wires its
    // controls by class and tag; then shows the lesson number and the window.
    void LoadAndShow();
    // Wires one control of the loaded skin; true when its tag was known.
    virtual bool WireControl(platform::TControl* control);
    // "Abbrechen" from the click on: leaves the slides for the main window.
    void LeaveSlides();
    void PlayClick();
    void PlayPhotoCue();
    void PlaceSideLabels();
    // "Zurück" of windows B and C (nullptr in window A).
    virtual platform::TControl* BackButton() const;
    // The places of the window's buttons, from the bottom up: BNext,
    // BCancel, then `upper` in order.
    void PlaceButtons(std::initializer_list<controls::TXFadeButton*> upper);

    const int window_;

private:
    platform::TImage* Frame() const;
    bool ShowInFrame(int number);

    platform::TColor numberColour_ = 0; // the skin's colour of the picture numbers
};

// Window A: also the video panel, chord samples, slide pictures 1 to 4 and
// videos 1 to 3.
class TExtWinA : public TExtWin {
public:
    explicit TExtWinA(platform::TComponent* owner);

    platform::TPanel* VideoPanel;
    // The video display rectangle; also the size of the video panel.
    static constexpr platform::TRect kVideoRect{0, 0, 192, 144};

    void OpenSlidesA();
    void BNextClick(platform::TObject* Sender) override;
    void BCancelClick(platform::TObject* Sender) override;
    void ChordSample(platform::TObject* Sender, int number);
    void PlayLessonVideo(platform::TObject* Sender, int number);

protected:
    bool WireControl(platform::TControl* control) override;
};

// Window B.
class TExtWinB : public TExtWin {
public:
    explicit TExtWinB(platform::TComponent* owner);

    controls::TXFadeButton* BBack;

    void OpenSlidesB();
    void BNextClick(platform::TObject* Sender) override;
    void BBackClick(platform::TObject* Sender);
    void BCancelClick(platform::TObject* Sender) override;

protected:
    platform::TControl* BackButton() const override;
};

// Window C: the end of the slides.
class TExtWinC : public TExtWin {
public:
    explicit TExtWinC(platform::TComponent* owner);

    controls::TXFadeButton* BBack;

    void OpenSlidesC();
    void BNextClick(platform::TObject* Sender) override;
    void BBackClick(platform::TObject* Sender);
    void BCancelClick(platform::TObject* Sender) override;

protected:
    platform::TControl* BackButton() const override;

private:
    void AddLessonToPlan();
};

// The slide windows of the program (created by the program entry).
extern TExtWinA* ExtWinA;
extern TExtWinB* ExtWinB;
extern TExtWinC* ExtWinC;

// Opens slide window `window` (kSlideA, kSlideB or kSlideC) on the current
// lesson; any other number, or a window not made, opens nothing.
void OpenSlideWindow(int window);

// The lesson's number as the slide windows show it ("Lektion 5"; the first
// and the last lesson by their names).
QString LessonNumberText(int lesson);

} // namespace lessons
