// The track bar: mapping between positions and pixels, the mouse, snapping,
// ticks, thumb and number on the rendered control, and the cases the
// arithmetic leaves open.
#include "controls/trackbar.h"
#include "platform/ui/forms.h"

#include <QAccessible>
#include <QApplication>
#include <QCoreApplication>
#include <QImage>
#include <QWheelEvent>
#include <climits>
#include <vector>
#include <gtest/gtest.h>
#include <vector>

namespace {

using namespace controls;
using platform::TColor;

struct TrackBar : TXTrackBar {
    using TXTrackBar::TXTrackBar;
    using TXTrackBar::MouseDown;
    using TXTrackBar::MouseEnter;
    using TXTrackBar::MouseLeave;
    using TXTrackBar::MouseMove;
    using TXTrackBar::MouseUp;
    using TXTrackBar::HandleKey;

    // A press and release at the same place.
    void ClickAt(int x, int y) {
        MouseDown(platform::mbLeft, {}, x, y);
        MouseUp(platform::mbLeft, {}, x, y);
    }
};

TColor PixelAt(const QImage& image, int x, int y) {
    return platform::FromQColor(image.pixelColor(x, y));
}

class TrackBarTest : public ::testing::Test {
protected:
    TrackBarTest() : form(nullptr), bar(&form) {
        form.SetBounds(0, 0, 300, 300);
        bar.SetParent(&form);
    }
    QImage Render() { return bar.grab().toImage(); }
    // Plain colours everywhere, so every pixel tells what was drawn there.
    void PaintPlain() {
        bar.Brush()->SetColor(0x404040);
        bar.SetFadeOutColor(0x404040);
        bar.ThumbBrush()->SetColor(0xFF0000);
        bar.SetThFadeOutColor(0xFF0000);
    }

    platform::TForm form;
    TrackBar bar;
};

TEST_F(TrackBarTest, TheDefaultBarMapsFiveToPixel87) {
    EXPECT_EQ(bar.Width(), 40);
    EXPECT_EQ(bar.Height(), 176);
    EXPECT_FALSE(bar.Horizontal());
    EXPECT_EQ(bar.Min(), 0);
    EXPECT_EQ(bar.Max(), 10);
    EXPECT_EQ(bar.ThumbWidth(), 24);
    EXPECT_EQ(bar.ThumbHeight(), 12);
    EXPECT_EQ(bar.TailSize(), 8);
    EXPECT_EQ(bar.Text(), "");
    EXPECT_EQ(bar.Brush()->Color(), 0x808080u);
    EXPECT_EQ(bar.Margin(), 14);
    EXPECT_EQ(bar.Scale(), 14.8f);
    EXPECT_EQ(bar.ThumbPixel(), 162) << "Min at the bottom";
    bar.SetPosition(5);
    EXPECT_EQ(bar.ThumbPixel(), 87);
    EXPECT_EQ(bar.Text(), "5");
}

TEST_F(TrackBarTest, APressTakesTheValueUnderTheMouse) {
    bar.MouseDown(platform::mbLeft, {}, 20, 20);
    EXPECT_EQ(bar.Position(), 10) << "trunc(142 / 14.8 + 0.5)";
    EXPECT_EQ(bar.ThumbPixel(), 20);
    EXPECT_EQ(bar.Look(), LookDown);
    EXPECT_TRUE(bar.Dragging());
    bar.MouseMove({}, 20, 100);
    EXPECT_EQ(bar.Position(), 4);
    EXPECT_EQ(bar.Text(), "4");
    bar.MouseMove({}, 20, 14);
    EXPECT_EQ(bar.Position(), 10);
    EXPECT_EQ(bar.ThumbPixel(), 14);
    bar.MouseMove({}, 20, -30);
    EXPECT_EQ(bar.Position(), 10);
    bar.MouseMove({}, 20, 170);
    EXPECT_EQ(bar.Position(), 0);
    EXPECT_EQ(bar.ThumbPixel(), 162);
    bar.MouseUp(platform::mbLeft, {}, 20, 170);
    EXPECT_FALSE(bar.Dragging());
    bar.MouseMove({}, 20, 20); // not dragging: nothing moves
    EXPECT_EQ(bar.Position(), 0);
}

TEST_F(TrackBarTest, ReleasingSnapsToTheStepGrid) {
    bar.SetStep(3);
    bar.SetOffset(1);
    bar.ClickAt(20, 29); // the value 9
    EXPECT_EQ(bar.Position(), 10) << "n = trunc(8 / 3 + 0.5) = 3";
    EXPECT_EQ(bar.ThumbPixel(), 13);
    EXPECT_EQ(bar.Text(), "10");

    bar.SetStep(4);
    bar.SetOffset(0);
    bar.ClickAt(20, 20); // the value 10
    EXPECT_EQ(bar.Position(), 8) << "n = 3 would give 12, above Max";
    bar.ClickAt(20, 5); // the Max end
    EXPECT_EQ(bar.Position(), 8) << "(10 - 0 - 0) div 4 = 2";
    bar.ClickAt(20, 175); // the Min end
    EXPECT_EQ(bar.Position(), 0);
    EXPECT_EQ(bar.ThumbPixel(), 162);
}

TEST_F(TrackBarTest, WithAStepTheThumbMovesOnlyAtRelease) {
    PaintPlain();
    bar.SetStep(2);
    bar.MouseDown(platform::mbLeft, {}, 20, 20);
    QImage pressed = Render();
    EXPECT_EQ(PixelAt(pressed, 20, 162), 0xFF0000u) << "thumb still at the old place";
    bar.MouseUp(platform::mbLeft, {}, 20, 20);
    QImage released = Render();
    EXPECT_EQ(PixelAt(released, 20, 14 + 1), 0xFF0000u);
    EXPECT_NE(PixelAt(released, 20, 162), 0xFF0000u);
}

// Whoever shows the bar's value learns of every change the learner makes,
// when the thumb shows it, and of no change made by the program.
TEST_F(TrackBarTest, EveryChangeByTheLearnerIsToldOnceTheThumbShowsIt) {
    std::vector<int> told;
    bar.OnChange = [&](platform::TObject*) { told.push_back(bar.Position()); };
    bar.SetStep(1);
    bar.SetPosition(3);
    EXPECT_TRUE(told.empty()) << "the program's own setting";
    bar.MouseDown(platform::mbLeft, {}, 20, 20); // the value 10
    EXPECT_TRUE(told.empty()) << "with a step the thumb waits for a movement";
    bar.MouseMove({}, 20, 100);
    bar.MouseMove({}, 20, 101); // the same value: nothing new
    bar.MouseUp(platform::mbLeft, {}, 20, 101);
    EXPECT_EQ(told, (std::vector<int>{4}));
    bar.ClickAt(20, 35); // press and release without a movement
    EXPECT_EQ(told.back(), 9);
    bar.ChangePosition(12);
    EXPECT_EQ(told.back(), 10) << "held within Min..Max";
    bar.ChangePosition(10);
    EXPECT_EQ(told.size(), 3u);

    QWheelEvent down(QPointF(20, 90), QPointF(20, 90), QPoint(), QPoint(0, -2 * 120),
                     Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&bar, &down);
    EXPECT_EQ(told.back(), 8);
    // A touchpad's small turns add up to a notch.
    for (int part = 0; part < 4; ++part) {
        QWheelEvent up(QPointF(20, 90), QPointF(20, 90), QPoint(), QPoint(0, 30), Qt::NoButton,
                       Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&bar, &up);
    }
    EXPECT_EQ(told.back(), 9);
    EXPECT_EQ(told.size(), 5u);
    EXPECT_EQ(bar.Text(), "9");
}

TEST_F(TrackBarTest, APositionAboveMaxIsKeptAndDrawnBeyondTheTravel) {
    PaintPlain();
    bar.SetPosition(15);
    EXPECT_EQ(bar.Position(), 15);
    EXPECT_EQ(bar.Text(), "15");
    EXPECT_EQ(bar.ThumbPixel(), -60);
    QImage image = Render();
    for (int y = 0; y < 176; ++y) EXPECT_NE(PixelAt(image, 20, y), 0xFF0000u) << y;
}

TEST_F(TrackBarTest, TicksThumbAndNumberArePainted) {
    PaintPlain();
    bar.SetTickColor(0x00FF00);
    bar.SetTickWidth(4);
    bar.SetPosition(10); // thumb at the top, out of the way of the low ticks
    QImage image = Render();
    // Tick of value 0 at y = trunc(176 - 14) = 162, from x 10 to 13 and 26 to 29.
    for (int x : {10, 13, 26, 29}) EXPECT_EQ(PixelAt(image, x, 162), 0x00FF00u) << x;
    for (int x : {9, 14, 25, 30}) EXPECT_EQ(PixelAt(image, x, 162), 0x404040u) << x;
    // Value 1 at trunc(176 - 28.8) = 147.
    EXPECT_EQ(PixelAt(image, 10, 147), 0x00FF00u);
    EXPECT_EQ(PixelAt(image, 10, 148), 0x404040u);
    // Thumb 24 × 12 centred on (20, trunc(13.999998) = 13): x 8..31, y 7..18.
    EXPECT_EQ(bar.ThumbPixel(), 13);
    EXPECT_EQ(PixelAt(image, 8, 7), 0xFF0000u);
    EXPECT_EQ(PixelAt(image, 31, 18), 0xFF0000u);
    EXPECT_EQ(PixelAt(image, 7, 7), 0x404040u);
    EXPECT_EQ(PixelAt(image, 8, 19), 0x404040u);

    bar.SetStep(5); // ticks at 0, 5 and 10 only
    image = Render();
    EXPECT_EQ(PixelAt(image, 10, 147), 0x404040u);
    EXPECT_EQ(PixelAt(image, 10, 87), 0x00FF00u) << "trunc(176 - 88.000001)";

    bar.SetTextVisible(true);
    bar.SetTopTextColor(0xFFFFFF);
    bar.SetPosition(5);
    image = Render();
    // Text is smoothed: count the light pixels on the (blue) thumb.
    int light = 0;
    for (int y = 70; y < 100; ++y) {
        for (int x = 0; x < 40; ++x) {
            TColor c = PixelAt(image, x, y);
            light += platform::GetRValue(c) > 0xA0 && platform::GetGValue(c) > 0xA0;
        }
    }
    EXPECT_GT(light, 5) << "the number is written on the thumb";
}

TEST_F(TrackBarTest, HoverAndPressSwapLooksWithoutRebuildingFades) {
    PaintPlain();
    bar.MOverBrush()->SetColor(0x00FFFF);
    bar.SetTopTextClOver(0x0000FF);
    bar.MDownBrush()->SetColor(0xFF00FF);
    bar.StyleChanged();
    bar.MouseEnter();
    EXPECT_EQ(bar.Look(), LookOver);
    EXPECT_EQ(bar.Brush()->Color(), 0x00FFFFu);
    EXPECT_EQ(bar.TopTextColor(), 0x0000FFu);
    EXPECT_EQ(PixelAt(Render(), 1, 100), 0x00FFFFu);
    bar.MouseLeave();
    EXPECT_EQ(bar.Look(), LookNormal);
    EXPECT_EQ(bar.Brush()->Color(), 0x404040u);
    EXPECT_EQ(bar.TopTextColor(), 0u);

    bar.MouseEnter();
    bar.MouseDown(platform::mbLeft, {}, 20, 100);
    EXPECT_EQ(bar.Brush()->Color(), 0xFF00FFu);
    EXPECT_EQ(PixelAt(Render(), 1, 100), 0xFF00FFu);
    bar.MouseUp(platform::mbLeft, {}, 20, 100);
    EXPECT_EQ(bar.Look(), LookOverAfterUp);
    bar.MouseDown(platform::mbLeft, {}, 20, 100);
    bar.MouseUp(platform::mbLeft, {}, 200, 100); // released outside
    EXPECT_EQ(bar.Look(), LookNormal);
    // Brush still holds the pressed colour, yet the normal fade was not
    // regenerated from it.
    EXPECT_EQ(PixelAt(Render(), 1, 100), 0x404040u);
    bar.MouseLeave();
    EXPECT_EQ(bar.Brush()->Color(), 0x404040u);
}

TEST_F(TrackBarTest, AHorizontalBarRunsFromLeftToRight) {
    bar.SetBounds(0, 0, 176, 40);
    bar.SetHorizontal(true);
    bar.SetThumbWidth(12);
    EXPECT_EQ(bar.Margin(), 14);
    EXPECT_EQ(bar.ThumbPixel(), 14);
    bar.SetPosition(5);
    EXPECT_EQ(bar.ThumbPixel(), 88) << "trunc(5 × 14.8 + 14)";
    bar.ClickAt(156, 20);
    EXPECT_EQ(bar.Position(), 10) << "trunc(142 / 14.8 + 0.5)";
    bar.ClickAt(3, 20);
    EXPECT_EQ(bar.Position(), 0);
    bar.ClickAt(170, 20);
    EXPECT_EQ(bar.Position(), 10);
    EXPECT_EQ(bar.ThumbPixel(), 162);
}

TEST_F(TrackBarTest, OpenCasesStaySafe) {
    // Max equal to Min: no finite scale; everything sits at the Min end.
    bar.SetMin(5);
    bar.SetMax(5);
    bar.StyleChanged();
    EXPECT_EQ(bar.Scale(), 0.0f);
    bar.SetPosition(5);
    EXPECT_EQ(bar.ThumbPixel(), 162);
    bar.ClickAt(20, 90);
    EXPECT_EQ(bar.Position(), 5);
    Render();

    // A negative step neither snaps nor survives painting.
    bar.SetMin(0);
    bar.SetMax(10);
    bar.StyleChanged();
    bar.SetStep(-2);
    bar.ClickAt(20, 100);
    EXPECT_EQ(bar.Position(), 4);
    Render();
    EXPECT_EQ(bar.Step(), 0);

    // The widest range: bounded tick drawing, no overflow.
    bar.SetMin(INT_MIN);
    bar.SetMax(INT_MAX);
    bar.StyleChanged();
    bar.SetPosition(INT_MAX);
    EXPECT_NEAR(bar.ThumbPixel(), 14, 1);
    bar.ClickAt(20, 90);
    bar.SetStep(INT_MAX);
    bar.ClickAt(20, 90);
    Render();
    bar.SetPosition(INT_MIN);
    EXPECT_EQ(bar.ThumbPixel(), 162);

    // Max below Min and a bar shorter than its margins.
    bar.SetMin(10);
    bar.SetMax(0);
    bar.SetBounds(0, 0, 40, 10);
    bar.ClickAt(20, 5);
    Render();
}

} // namespace

// ---- The keyboard and assistive technology -----------------------------------------

TEST_F(TrackBarTest, KeysMoveByStepsWithinTheRangeAndFireOnChange) {
    bar.SetMin(1);
    bar.SetMax(10);
    bar.SetStep(1);
    bar.StyleChanged(); // the scale follows Min and Max from here
    bar.SetPosition(9);
    std::vector<int> changes;
    bar.OnChange = [&](platform::TObject*) { changes.push_back(bar.Position()); };
    auto key = [&](platform::WORD code) { return bar.HandleKey(code, {}); };

    EXPECT_TRUE(key(platform::VK_UP));
    EXPECT_TRUE(key(platform::VK_RIGHT)); // already at Max: no change, no event
    EXPECT_TRUE(key(platform::VK_NEXT));  // Page Down: three steps
    EXPECT_TRUE(key(platform::VK_HOME));
    EXPECT_TRUE(key(platform::VK_LEFT)); // already at Min
    // The thumb and the number follow the keys as they follow the mouse.
    EXPECT_EQ(bar.ThumbPixel(), bar.Height() - bar.Margin());
    EXPECT_TRUE(key(platform::VK_END));
    EXPECT_FALSE(key(platform::VK_TAB)); // not the bar's
    EXPECT_EQ(changes, std::vector<int>({10, 7, 1, 10}));
    EXPECT_EQ(bar.Text(), "10");
    EXPECT_NEAR(bar.ThumbPixel(), bar.Margin(), 1);
}

TEST_F(TrackBarTest, AScreenReaderSeesASliderWithItsValueInWords) {
    bar.SetMin(1);
    bar.SetMax(10);
    bar.SetPosition(3);
    bar.SetAccessibleName("Tempo level");
    bar.ValueText = [](int level) { return QString("Level %1, %2 bpm").arg(level).arg(60 + 10 * level); };
    int changes = 0;
    bar.OnChange = [&](platform::TObject*) { ++changes; };
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(&bar);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->role(), QAccessible::Slider);
    EXPECT_EQ(face->text(QAccessible::Name), "Tempo level");
    EXPECT_EQ(face->text(QAccessible::Value), "Level 3, 90 bpm");
    EXPECT_TRUE(face->state().focusable);
    QAccessibleValueInterface* value = face->valueInterface();
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->minimumValue().toInt(), 1);
    EXPECT_EQ(value->maximumValue().toInt(), 10);
    EXPECT_EQ(value->currentValue().toInt(), 3);

    value->setCurrentValue(25); // held at Max, set once control is back in the loop
    EXPECT_EQ(bar.Position(), 3);
    QCoreApplication::processEvents();
    EXPECT_EQ(bar.Position(), 10);
    face->actionInterface()->doAction(QAccessibleActionInterface::decreaseAction());
    QCoreApplication::processEvents();
    EXPECT_EQ(bar.Position(), 9);
    EXPECT_EQ(changes, 2);

    bar.SetEnabled(false); // a disabled bar takes no value from outside
    value->setCurrentValue(4);
    QCoreApplication::processEvents();
    EXPECT_EQ(bar.Position(), 9);
}
