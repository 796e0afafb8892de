// The skinned buttons on a screen with a scale factor of 2: the picture is
// enlarged, the caption is written at the screen's own resolution.
#include "controls/aquabutton.h"
#include "controls/fadebutton.h"
#include "platform/ui/forms.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

// Before the test program's application object reads it.
const bool kScaled = qputenv("QT_SCALE_FACTOR", "2");

using namespace controls;

// 2 x 2 blocks of the picture that are not one colour: an enlarged picture
// has none, text drawn at the finer resolution has many.
int MixedBlocks(const QImage& image, const QRect& area) {
    int mixed = 0;
    for (int y = area.top(); y + 1 <= area.bottom(); y += 2)
        for (int x = area.left(); x + 1 <= area.right(); x += 2) {
            const QRgb c = image.pixel(x, y);
            if (image.pixel(x + 1, y) != c || image.pixel(x, y + 1) != c || image.pixel(x + 1, y + 1) != c)
                ++mixed;
        }
    return mixed;
}

template <class Button> void ExpectSharpCaptionOverEnlargedFace(Button& button, platform::TForm& form) {
    button.SetParent(&form);
    button.SetBounds(10, 10, 120, 30);
    button.Brush()->SetColor(0x406080);
    button.SetFadeOutColor(0x406080); // a plain face
    button.SetText("Weiter");
    form.Show();
    const QImage picture = button.grab().toImage();
    ASSERT_EQ(picture.width(), 240) << "twice the size";
    const QRect face(0, 0, 240, 60);
    EXPECT_GT(MixedBlocks(picture, face), 20) << "the caption is drawn at the finer resolution";
    EXPECT_EQ(MixedBlocks(picture, QRect(0, 0, 240, 12)), 0) << "the face above it is enlarged";
    // At 1:1 the caption would be in the control's own pixels.
    button.SetText(" ");
    EXPECT_EQ(MixedBlocks(button.grab().toImage(), face), 0);
    form.Hide();
}

} // namespace

TEST(ScaledScreen, FadeButtonWritesItsCaptionSharp) {
    ASSERT_TRUE(kScaled);
    platform::TForm form(nullptr);
    form.SetBounds(0, 0, 200, 100);
    TXFadeButton button(&form);
    ExpectSharpCaptionOverEnlargedFace(button, form);
}

TEST(ScaledScreen, AquaButtonWritesItsCaptionSharpAlsoWrapped) {
    platform::TForm form(nullptr);
    form.SetBounds(0, 0, 200, 100);
    TXAquaButton button(&form);
    button.SetWordWrap(true);
    ExpectSharpCaptionOverEnlargedFace(button, form);
}
