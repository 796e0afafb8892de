// The skinned buttons: fades, looks, latch, caption with shade, region, and
// the aqua button's blend with its back image. Looks are checked on the
// rendered pixels.
#include "controls/aquabutton.h"
#include "controls/fade.h"
#include "controls/fadebutton.h"
#include "controls/labelfx.h"
#include "platform/ui/forms.h"

#include <QCoreApplication>
#include <QEnterEvent>
#include <QImage>
#include <QAccessible>
#include <gtest/gtest.h>

namespace {

using namespace controls;
using platform::TBitmap;
using platform::TColor;

// The buttons with their mouse handlers reachable, called as the layer calls them.
struct FadeButton : TXFadeButton {
    using TXFadeButton::TXFadeButton;
    using TXFadeButton::MouseDown;
    using TXFadeButton::MouseEnter;
    using TXFadeButton::MouseLeave;
    using TXFadeButton::MouseUp;
};

struct AquaButton : TXAquaButton {
    using TXAquaButton::TXAquaButton;
    using TXAquaButton::MouseDown;
    using TXAquaButton::MouseEnter;
    using TXAquaButton::MouseLeave;
    using TXAquaButton::MouseUp;
};

// What the control shows now, as 0x00BBGGRR pixels.
QImage Render(platform::TControl& control) { return control.grab().toImage(); }

TColor PixelAt(const QImage& image, int x, int y) {
    return platform::FromQColor(image.pixelColor(x, y));
}

// Leftmost column that holds `colour`, -1 when none.
int LeftmostColumnOf(const QImage& image, TColor colour) {
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (PixelAt(image, x, y) == colour) return x;
    return -1;
}

constexpr platform::TShiftState kNoShift{};

class ButtonTest : public ::testing::Test {
protected:
    ButtonTest() : form(nullptr) {
        form.SetBounds(0, 0, 300, 200);
        form.SetColor(0x203040);
    }
    platform::TForm form;
};

TEST(Fade, FourColumnsFromBlackToRedGiveZeroZero63And127) {
    TBitmap bitmap(4, 2);
    CreateBackground(&bitmap, 0x000000, 0x0000FF);
    std::vector<int> reds;
    for (int x = 0; x < 4; ++x) reds.push_back(platform::GetRValue(bitmap.Canvas()->Pixel(x, 1)));
    EXPECT_EQ(reds, (std::vector<int>{0, 0, 63, 127}));
    EXPECT_EQ(bitmap.Canvas()->Pixel(3, 0) & 0xFFFF00, 0u);

    // Falling components truncate toward zero as well: 200 → 0 over 3 columns.
    TBitmap falling(3, 1);
    CreateBackground(&falling, platform::RGB(0, 200, 0), 0);
    EXPECT_EQ(platform::GetGValue(falling.Canvas()->Pixel(2, 0)), 133);
    TBitmap empty;
    CreateBackground(&empty, 0, 0xFFFFFF); // no columns: nothing to do, no crash
}

TEST(Fade, TheBlendMixesBackAndLookByTransparency) {
    TBitmap back(2, 1), look(2, 1);
    auto set = [](TBitmap& bitmap, std::uint8_t value) {
        std::fill_n(bitmap.ScanLine(0), 6, value);
    };
    auto blended = [&](int transparency) {
        set(back, 200);
        set(look, 100);
        MergeImages(&back, &look, transparency);
        return look.ScanLine(0)[0];
    };
    EXPECT_EQ(blended(50), 150);
    EXPECT_EQ(blended(0), 100);
    EXPECT_EQ(blended(100), 200);
    EXPECT_EQ(blended(40), 140);
    // Outside 0..100 the blend holds at the nearer end instead of leaving the byte range.
    EXPECT_EQ(blended(150), 200);
    EXPECT_EQ(blended(-20), 100);
    // Bitmaps of different sizes blend where both have pixels.
    TBitmap small(1, 1);
    std::fill_n(small.ScanLine(0), 3, std::uint8_t{0});
    set(look, 100);
    MergeImages(&small, &look, 50);
    EXPECT_EQ(look.ScanLine(0)[0], 50);
    EXPECT_EQ(look.ScanLine(0)[3], 100);
}

TEST_F(ButtonTest, AFadeButtonStartsWithItsDefaults) {
    FadeButton button(&form);
    EXPECT_EQ(button.Width(), 80);
    EXPECT_EQ(button.Height(), 24);
    EXPECT_EQ(button.Shape(), fadebtRectangle);
    EXPECT_EQ(button.Brush()->Color(), 0x808080u);
    EXPECT_EQ(button.Pen()->Color(), 0x15C8FBu);
    EXPECT_EQ(button.Pen()->Style(), platform::psClear);
    EXPECT_EQ(button.MOverBrush()->Color(), platform::TBrush().Color());
    EXPECT_EQ(button.MDownPen()->Color(), 0x444444u);
    EXPECT_EQ(button.FadeOutColor(), 0xC0C0C0u);
    EXPECT_EQ(button.TopTextColor(), 0u);
    EXPECT_EQ(button.Font()->Color(), 0x444444u);
    EXPECT_EQ(button.MOverFont()->Color(), 0x444444u);
    EXPECT_EQ(button.MDownFont()->Color(), 0x444444u);
    EXPECT_EQ(button.Text(), "OK");
    EXPECT_EQ(button.TextX(), -1);
    EXPECT_EQ(button.TextY(), -1);
    EXPECT_FALSE(button.TakeImg());
    EXPECT_FALSE(button.IsRoundRect());
    EXPECT_FALSE(button.Fix());
    EXPECT_EQ(button.Look(), LookNormal);
}

TEST_F(ButtonTest, EachLookPaintsItsOwnFade) {
    FadeButton button(&form);
    button.SetParent(&form);
    button.SetText("");
    button.MOverBrush()->SetColor(0x00FF00);
    button.MDownBrush()->SetColor(0xFF0000);
    button.SetFadeOutColor(0x0000FF); // rebuilds all three looks
    button.Brush()->SetColor(0x000000); // a change through the pointer rebuilds too

    QImage normal = Render(button);
    EXPECT_EQ(PixelAt(normal, 0, 12), 0x000000u);
    EXPECT_EQ(PixelAt(normal, 1, 12), 0x000000u);
    // Column 79: 78 steps of 255 / 80 = 248.6 → 248 red.
    EXPECT_EQ(PixelAt(normal, 79, 0), platform::RGB(248, 0, 0));

    button.MouseEnter();
    EXPECT_EQ(button.Look(), LookOver);
    EXPECT_EQ(PixelAt(Render(button), 0, 5), 0x00FF00u);
    button.MouseDown(platform::mbLeft, kNoShift, 5, 5);
    EXPECT_EQ(button.Look(), LookDown);
    EXPECT_EQ(PixelAt(Render(button), 0, 5), 0xFF0000u);
    button.MouseUp(platform::mbLeft, kNoShift, 5, 5);
    EXPECT_EQ(button.Look(), LookOverAfterUp);
    EXPECT_EQ(PixelAt(Render(button), 0, 5), 0x00FF00u);
    button.MouseLeave();
    EXPECT_EQ(PixelAt(Render(button), 0, 5), 0x000000u);

    // A release outside the button goes back to the normal look.
    button.MouseDown(platform::mbLeft, kNoShift, 5, 5);
    button.MouseUp(platform::mbLeft, kNoShift, 200, 5);
    EXPECT_EQ(button.Look(), LookNormal);
}

TEST_F(ButtonTest, EventsFireBeforeTheLookChanges) {
    FadeButton button(&form);
    std::vector<std::string> seen;
    button.OnMouseEnter = [&](platform::TObject*) { seen.push_back("enter " + std::to_string(button.Look())); };
    button.OnMouseDown = [&](platform::TObject*, platform::TMouseButton, platform::TShiftState,
                             int, int) { seen.push_back("down " + std::to_string(button.Look())); };
    button.OnMouseUp = [&](platform::TObject*, platform::TMouseButton, platform::TShiftState, int,
                           int) { seen.push_back("up " + std::to_string(button.Look())); };
    button.OnMouseLeave = [&](platform::TObject*) { seen.push_back("leave " + std::to_string(button.Look())); };
    button.MouseEnter();
    button.MouseDown(platform::mbLeft, kNoShift, 1, 1);
    button.MouseUp(platform::mbLeft, kNoShift, 1, 1);
    button.MouseLeave();
    EXPECT_EQ(seen, (std::vector<std::string>{"enter 1", "down 2", "up 3", "leave 4"}));
}

TEST_F(ButtonTest, ADisabledFadeButtonKeepsItsNormalLook) {
    FadeButton button(&form);
    button.SetParent(&form);
    button.SetText("");
    button.MOverBrush()->SetColor(0x00FF00);
    button.SetTopTextClOver(0x0000FF);
    button.SetEnabled(false);
    int entered = 0;
    button.OnMouseEnter = [&](platform::TObject*) { ++entered; };
    button.MouseEnter();
    EXPECT_EQ(entered, 1);
    EXPECT_EQ(button.Look(), LookNormal);
    EXPECT_EQ(button.CurrentTextColor(), 0u);
    EXPECT_EQ(PixelAt(Render(button), 0, 5), 0x808080u);
}

TEST_F(ButtonTest, OnlyTheLeftButtonPressesAFadeButton) {
    FadeButton button(&form);
    int downs = 0;
    button.OnMouseDown = [&](platform::TObject*, platform::TMouseButton, platform::TShiftState,
                             int, int) { ++downs; };
    button.MouseDown(platform::mbRight, kNoShift, 1, 1);
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(button.Look(), LookNormal);
    EXPECT_FALSE(button.Latched());
}

TEST_F(ButtonTest, ALatchingButtonIsReleasedByItsSecondPress) {
    FadeButton button(&form);
    button.SetFix(true);
    button.MouseEnter();
    button.MouseDown(platform::mbLeft, kNoShift, 3, 3);
    EXPECT_TRUE(button.Latched());
    button.MouseUp(platform::mbLeft, kNoShift, 3, 3);
    EXPECT_EQ(button.Look(), LookDown) << "stays pressed";
    button.MouseLeave();
    button.MouseEnter();
    EXPECT_EQ(button.Look(), LookDown);

    button.MouseDown(platform::mbLeft, kNoShift, 3, 3);
    EXPECT_FALSE(button.Latched());
    button.MouseUp(platform::mbLeft, kNoShift, 3, 3);
    EXPECT_EQ(button.Look(), LookOverAfterUp);
    button.MouseLeave();
    EXPECT_EQ(button.Look(), LookNormal);

    // The program latches it to show a state, also while it is disabled.
    button.SetEnabled(false);
    button.SetLatched(true);
    EXPECT_EQ(button.Look(), LookDown);
    button.SetLatched(false);
    EXPECT_EQ(button.Look(), LookNormal);
}

TEST_F(ButtonTest, TheCaptionIsWrittenWithItsShade) {
    FadeButton button(&form);
    button.SetParent(&form);
    button.SetBounds(0, 0, 100, 40);
    button.SetTakeImg(true);
    TBitmap white(1, 1);
    white.Canvas()->SetPixel(0, 0, 0xFFFFFF);
    button.SetBgBmp(&white);
    button.SetText("HH");
    button.Font()->SetHeight(-20);
    button.Font()->SetColor(0x00FF00); // shade
    button.SetTopTextColor(0x0000FF);  // caption
    button.SetTShadeDimension(3);
    button.StyleChanged();

    QImage centred = Render(button);
    int caption = LeftmostColumnOf(centred, 0x0000FF);
    int shade = LeftmostColumnOf(centred, 0x00FF00);
    ASSERT_GT(caption, 20);
    EXPECT_EQ(shade, caption + 3);
    EXPECT_EQ(PixelAt(centred, 0, 0), 0xFFFFFFu) << "supplied background kept";

    button.SetTextX(0);
    QImage left = Render(button);
    EXPECT_LE(LeftmostColumnOf(left, 0x0000FF), 3);
    EXPECT_EQ(LeftmostColumnOf(left, 0x00FF00), LeftmostColumnOf(left, 0x0000FF) + 3);
}

TEST_F(ButtonTest, TheRoundedRegionNeedsBothRadiiAboveOne) {
    FadeButton button(&form);
    button.SetParent(&form);
    button.SetRadiusH(1);
    button.SetRadiusV(12);
    button.SetIsRoundRect(true);
    EXPECT_TRUE(button.mask().contains(QPoint(0, 0)));
    EXPECT_TRUE(button.mask().contains(QPoint(79, 23)));

    button.SetRadiusH(16);
    button.SetIsRoundRect(true);
    EXPECT_FALSE(button.mask().contains(QPoint(0, 0)));
    EXPECT_FALSE(button.mask().contains(QPoint(79, 0)));
    EXPECT_TRUE(button.mask().contains(QPoint(40, 0)));
    EXPECT_TRUE(button.mask().contains(QPoint(0, 12)));

    button.SetIsRoundRect(false);
    EXPECT_TRUE(button.mask().contains(QPoint(0, 0)));
}

TEST_F(ButtonTest, AnAquaButtonBlendsSuppliedLooksWithItsBackImage) {
    AquaButton button(&form);
    button.SetParent(&form);
    button.SetText("");
    EXPECT_EQ(button.Width(), 80);
    EXPECT_EQ(button.TextBorderWidth(), 4);
    EXPECT_EQ(button.TextAlign(), 1);
    EXPECT_EQ(button.Transparency(), 0);

    TBitmap back(1, 1), look(1, 1);
    back.Canvas()->SetPixel(0, 0, platform::RGB(200, 200, 200));
    look.Canvas()->SetPixel(0, 0, platform::RGB(100, 0, 250));
    button.SetTakeImg(true);
    button.SetBackBmp(&back);
    button.SetBgBmp(&look); // transparency 0: the look as supplied
    EXPECT_EQ(PixelAt(Render(button), 10, 10), platform::RGB(100, 0, 250));
    button.SetTransparency(50);
    button.SetBgOverBmp(&look);
    button.SetTransparency(40);
    button.SetBgDownBmp(&look);

    button.MouseEnter();
    EXPECT_EQ(PixelAt(Render(button), 10, 10), platform::RGB(150, 100, 225));
    button.MouseDown(platform::mbLeft, kNoShift, 1, 1);
    EXPECT_EQ(PixelAt(Render(button), 10, 10), platform::RGB(140, 80, 230));
    button.StyleChanged(); // TakeImg: the supplied looks stay
    EXPECT_EQ(PixelAt(Render(button), 10, 10), platform::RGB(140, 80, 230));
}

TEST_F(ButtonTest, AnAquaButtonLatchesOnAnyButtonAndIgnoresTheEnabledState) {
    AquaButton button(&form);
    button.MDownFont()->SetColor(0x0000FF);
    button.Font()->SetColor(0x00FF00);
    button.SetFix(true);
    button.MouseDown(platform::mbRight, kNoShift, 1, 1);
    EXPECT_TRUE(button.Latched());
    EXPECT_EQ(button.Look(), LookDown);
    EXPECT_EQ(button.CurrentFont()->Color(), 0x00FF00u) << "pressed look keeps Font";
    button.MouseUp(platform::mbRight, kNoShift, 1, 1);
    EXPECT_EQ(button.Look(), LookDown);
    button.MouseDown(platform::mbMiddle, kNoShift, 1, 1);
    button.MouseUp(platform::mbMiddle, kNoShift, 1, 1);
    EXPECT_EQ(button.Look(), LookOverAfterUp);
    button.MouseLeave();

    button.SetEnabled(false);
    button.MouseEnter();
    EXPECT_EQ(button.Look(), LookOver);
}

TEST_F(ButtonTest, AnAquaCaptionIsAlignedInItsBorderedRectangle) {
    AquaButton button(&form);
    button.SetParent(&form);
    button.SetBounds(0, 0, 120, 30);
    button.SetTakeImg(true);
    TBitmap white(1, 1);
    white.Canvas()->SetPixel(0, 0, 0xFFFFFF);
    button.SetBgBmp(&white);
    button.SetText("Ab");
    button.Font()->SetColor(0x0000FF);
    button.Font()->SetHeight(-14);
    button.StyleChanged();
    button.SetWordWrap(true);
    button.SetTextBorderWidth(10);

    button.SetTextAlign(1);
    QImage left = Render(button);
    int leftEdge = LeftmostColumnOf(left, 0x0000FF);
    EXPECT_GE(leftEdge, 10);
    EXPECT_LE(leftEdge, 16);
    button.SetTextAlign(7); // any other value: left
    EXPECT_EQ(Render(button), left);
    button.SetTextAlign(3);
    EXPECT_GT(LeftmostColumnOf(Render(button), 0x0000FF), 80);
    button.SetTextAlign(2);
    int centred = LeftmostColumnOf(Render(button), 0x0000FF);
    EXPECT_GT(centred, 40);
    EXPECT_LT(centred, 60);
}

TEST_F(ButtonTest, AHoverLabelFiresEnterAndLeaveOnceEach) {
    TLabelFX label(&form);
    label.SetParent(&form);
    label.SetCaption("Saite A");
    std::vector<std::string> seen;
    label.OnMouseEnter = [&](platform::TObject* sender) {
        EXPECT_EQ(sender, &label);
        seen.push_back("enter");
    };
    label.OnMouseLeave = [&](platform::TObject*) { seen.push_back("leave"); };
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&label, &enter);
    QCoreApplication::sendEvent(&label, &leave);
    EXPECT_EQ(seen, (std::vector<std::string>{"enter", "leave"}));

    TLabelFX plain(&form); // without handlers: a plain label
    plain.SetParent(&form);
    plain.SetCaption("Saite E");
    QCoreApplication::sendEvent(&plain, &enter);
    QCoreApplication::sendEvent(&plain, &leave);
    EXPECT_GT(plain.Width(), 0);
}

} // namespace

// ---- The keyboard and assistive technology -----------------------------------------

TEST_F(ButtonTest, ScreenReadersHearTheCaptionOrTheNameOfAPictureButton) {
    FadeButton play(&form);
    play.SetParent(&form);
    play.SetText(" "); // a picture button: only its looks show
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(&play);
    EXPECT_EQ(face->text(QAccessible::Name), "");
    play.SetAccessibleName("Abspielen");
    EXPECT_EQ(face->text(QAccessible::Name), "Abspielen");
    play.OnClick = [](platform::TObject*) {};
    EXPECT_EQ(face->role(), QAccessible::Button);

    AquaButton row(&form);
    row.SetParent(&form);
    row.SetText("Lektion 7");
    QAccessibleInterface* rowFace = QAccessible::queryAccessibleInterface(&row);
    EXPECT_EQ(rowFace->role(), QAccessible::StaticText); // nothing to press: a display
    row.OnClick = [](platform::TObject*) {};
    EXPECT_EQ(rowFace->role(), QAccessible::Button);
    EXPECT_EQ(rowFace->text(QAccessible::Name), "Lektion 7");
    EXPECT_TRUE(rowFace->state().focusable);
}

TEST_F(ButtonTest, PressingALatchingButtonFromTheKeyboardTogglesItsLatch) {
    FadeButton loop(&form);
    loop.SetParent(&form);
    form.Show();
    int clicks = 0;
    loop.OnClick = [&](platform::TObject*) { ++clicks; };
    loop.SetFix(true);
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(&loop);
    EXPECT_TRUE(face->state().checkable);
    EXPECT_FALSE(face->state().checked);

    loop.Press();
    EXPECT_TRUE(loop.Latched());
    EXPECT_EQ(loop.Look(), LookDown); // held down, as after a click
    EXPECT_TRUE(face->state().checked);
    loop.Press();
    EXPECT_FALSE(loop.Latched());
    EXPECT_EQ(loop.Look(), LookNormal);
    EXPECT_FALSE(face->state().checked);
    // The mouse keeps the screen reader's state in step as well.
    loop.MouseDown(platform::mbLeft, kNoShift, 3, 3);
    EXPECT_TRUE(face->state().checked);
    EXPECT_EQ(clicks, 2);

    loop.SetEnabled(false);
    loop.Press();
    EXPECT_EQ(clicks, 2);
    EXPECT_TRUE(loop.Latched());
    form.Hide();
}
