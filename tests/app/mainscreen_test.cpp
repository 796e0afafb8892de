// The middle of the main window without the window: a form with the
// elements a skin file makes, wired by MainScreen.
#include "app/mainscreen.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

using namespace platform;

class MainScreenTest : public ::testing::Test {
protected:
    MainScreenTest() : screen_(&form_, Actions()) {}

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

} // namespace
