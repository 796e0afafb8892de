// The gallery window rendered to a picture: the test checks that the picture
// shows the parts it must and survives a round trip through a PNG file in a
// temporary folder. To look at it, run skins_gallery (with --save file.png for
// a picture file).
#include "tests/controls/gallery.h"
#include "tests/support/testsupport.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

TEST(SkinGallery, SavesAPictureOfEveryElementAndControl) {
    testsupport::ScopedCurrentFolder keep; // pictures are read from the program folder
    testsupport::TempFolder temp;
    platform::TForm form(nullptr);
    lessons::SkinLoader loader(&form);
    gallery::Build(&form, &loader, temp.Path());
    EXPECT_EQ(loader.Texts().size(), 12u);
    EXPECT_EQ(loader.Pictures().size(), 3u);
    EXPECT_EQ(loader.GroupCount(), 1);
    form.Show();
    QImage shot = form.grab().toImage();
    form.Hide();
    ASSERT_EQ(shot.size(), QSize(800, 600));
    // The "$$" placeholder at 680, 70 stays red.
    EXPECT_EQ(shot.pixelColor(700, 100), QColor(255, 0, 0));

    QString file = QString::fromStdString(temp.Path()) + "skins.png";
    ASSERT_TRUE(shot.save(file));
    EXPECT_EQ(QImage(file).convertToFormat(shot.format()), shot);
}

} // namespace
