// The gallery window rendered to a picture file (build/gallery/skins.png) to
// be looked at; the test checks that the picture shows the parts it must.
#include "tests/skins/gallery.h"
#include "tests/support/testsupport.h"

#include <QDir>
#include <QImage>
#include <gtest/gtest.h>

namespace {

TEST(SkinGallery, SavesAPictureOfEveryElementAndControl) {
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

    QString folder = QStringLiteral(GALLERY_FOLDER);
    QDir().mkpath(folder);
    EXPECT_TRUE(shot.save(folder + "/skins.png"));
}

} // namespace
