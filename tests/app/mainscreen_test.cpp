// The middle of the main window without the window: a form with the
// elements a skin file makes, wired by MainScreen.
#include "app/mainscreen.h"
#include "app/msgwin.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

using namespace platform;

struct Look : app::MainWindowLook {};

class MainScreenTest : public ::testing::Test {
protected:
    MainScreenTest() : screen_(&form_, look_, Actions()) {}

    app::MainScreen::Actions Actions() {
        app::MainScreen::Actions actions;
        actions.MayOpen = [this] { return mayOpen_; };
        actions.OpenSlides = [this](int window) { opened_ << "slides " + QString::number(window); };
        actions.OpenTuner = [this](TObject*) { opened_ << "tuner"; };
        actions.OpenHelp = [this](TObject*) { opened_ << "help"; };
        return actions;
    }
    template <class T>
    T* Add(int tag, int left = 0, int top = 0, int width = 10, int height = 10) {
        auto* control = new T(&form_);
        control->SetParent(&form_);
        control->SetTag(tag);
        control->SetBounds(left, top, width, height);
        return control;
    }
    TImage* Picture(int tag, int left, int top, int width, int height, TColor colour) {
        auto* image = Add<TImage>(tag, left, top, width, height);
        image->Picture()->SetSize(width, height);
        image->Picture()->Canvas()->Brush()->SetColor(colour);
        image->Picture()->Canvas()->FillRect(Rect(0, 0, width, height));
        return image;
    }

    TForm form_{nullptr};
    Look look_;
    app::MainScreen screen_;
    bool mayOpen_ = true;
    QStringList opened_;
};

TEST_F(MainScreenTest, TheBackdropIsTakenOverAndItsCutOutsAreFilledIn) {
    TImage* backdrop = Picture(200, 100, 50, 40, 30, clWhite);
    auto* cutOut = Add<TShape>(300, 110, 60, 5, 5);
    cutOut->Brush()->SetColor(clRed);
    screen_.Wire();
    EXPECT_FALSE(backdrop->Visible());
    EXPECT_FALSE(cutOut->Visible());
    ASSERT_EQ(screen_.Backdrop.Width(), 40);
    EXPECT_EQ(screen_.BackdropLeft, 100);
    EXPECT_EQ(screen_.BackdropTop, 50);
    // The cut-out lies at (10, 10) inside the backdrop.
    EXPECT_EQ(screen_.Backdrop.Canvas()->Pixel(12, 12), clRed);
    EXPECT_NE(screen_.Backdrop.Canvas()->Pixel(30, 20), clRed);
    screen_.Clear();
    EXPECT_TRUE(screen_.Backdrop.Empty());
}

TEST_F(MainScreenTest, TaggedElementsOpenTheirWindowOnlyWhileNothingPlays) {
    TLabel* slidesC = Add<TLabel>(103);
    TImage* tuner = Add<TImage>(403);
    TImage* help = Add<TImage>(405);
    TImage* otherTool = Add<TImage>(401);
    TLabel* toolLabel = Add<TLabel>(403); // tool tags lead somewhere on pictures only
    TImage* plain = Add<TImage>(7);
    screen_.Wire();
    for (TControl* control : {static_cast<TControl*>(slidesC), static_cast<TControl*>(tuner),
                              static_cast<TControl*>(help), static_cast<TControl*>(otherTool)})
        EXPECT_EQ(control->Cursor(), crHandPoint) << control->Tag();
    EXPECT_NE(toolLabel->Cursor(), crHandPoint);
    EXPECT_NE(plain->Cursor(), crHandPoint);

    for (TControl* control : {static_cast<TControl*>(slidesC), static_cast<TControl*>(tuner),
                              static_cast<TControl*>(help), static_cast<TControl*>(otherTool)})
        control->Click();
    EXPECT_EQ(opened_, (QStringList{"slides 2", "tuner", "help"}));

    opened_.clear();
    mayOpen_ = false; // a video or the exercise plays
    slidesC->Click();
    tuner->Click();
    EXPECT_TRUE(opened_.isEmpty());
}

// The screens around a lesson, on the window's controls (no skin: only the
// controls change).
class ScreensAroundALessonTest : public MainScreenTest {
protected:
    ScreensAroundALessonTest() {
        look_.CreateControls(&form_);
        for (TControl* control : {static_cast<TControl*>(look_.BKontrolle), static_cast<TControl*>(look_.TrBarTempo),
                                  static_cast<TControl*>(look_.BMonitor), static_cast<TControl*>(look_.LProgress),
                                  static_cast<TControl*>(look_.BVideoStop)}) {
            control->SetEnabled(true);
            control->SetVisible(true);
        }
    }
    void ExpectLessonControlsOff() {
        EXPECT_FALSE(look_.BKontrolle->Enabled());
        EXPECT_FALSE(look_.TrBarTempo->Enabled());
        EXPECT_FALSE(look_.BMonitor->Enabled());
        EXPECT_FALSE(look_.LProgress->Visible());
    }
};

TEST_F(ScreensAroundALessonTest, TheGreetingOffersThePlansFirstLessonOnlyWhenThereIsOne) {
    screen_.ShowGreeting(nullptr, 7);
    ExpectLessonControlsOff();
    EXPECT_FALSE(look_.BVideoStop->Visible());
    EXPECT_TRUE(look_.BWeiter->Visible());
    EXPECT_EQ(look_.BWeiter->Text(), app::CaptionText(613).arg(7));

    for (int none : {-1, 30}) {
        screen_.ShowGreeting(nullptr, none);
        EXPECT_FALSE(look_.BWeiter->Visible()) << none;
    }
}

TEST_F(ScreensAroundALessonTest, TheNoLessonScreenShowsTheVideoButtonOnlyWithTheVideo) {
    look_.BWeiter->Show();
    screen_.ShowNoLesson(nullptr, true);
    ExpectLessonControlsOff();
    EXPECT_FALSE(look_.BWeiter->Visible());
    EXPECT_TRUE(look_.BVideoStop->Visible());
    screen_.ShowNoLesson(nullptr, false);
    EXPECT_FALSE(look_.BVideoStop->Visible());

    look_.BWeiter->Show();
    look_.LProgress->Show();
    screen_.ClearLesson(nullptr);
    EXPECT_FALSE(look_.BWeiter->Visible());
    EXPECT_FALSE(look_.LProgress->Visible());
    EXPECT_TRUE(screen_.Backdrop.Empty());
}

// Never more passes than needed, never fewer than none; the locator's note
// says why passes do not count.
TEST_F(ScreensAroundALessonTest, ThePassCountStaysWithinItsRangeAndNamesTheLocator) {
    screen_.ShowPassProgress(true, 2, 3, false, false);
    EXPECT_TRUE(look_.LProgress->Visible());
    EXPECT_EQ(look_.LProgress->Caption(), app::CaptionText(600).arg(2).arg(3));
    screen_.ShowPassProgress(true, 5, 3, true, false);
    EXPECT_EQ(look_.LProgress->Caption(), app::CaptionText(601).arg(3).arg(3));
    screen_.ShowPassProgress(true, -1, 3, false, true);
    EXPECT_EQ(look_.LProgress->Caption(), app::CaptionText(600).arg(0).arg(3) + "\n" + app::CaptionText(602));
    screen_.ShowPassProgress(false, 2, 3, false, false);
    EXPECT_FALSE(look_.LProgress->Visible());
}

} // namespace
