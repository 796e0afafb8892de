// The bitmap resources compiled into the program: every name the program
// asks for exists at ":/res/<NAME>" as a 24-bit BMP of the size the screen
// layout gives it, and the looks that are combined at run time fit together.
#include "layout/screenlayout.h"
#include "tests/content/art_testsupport.h"

#include <QFile>
#include <QImage>
#include <gtest/gtest.h>
#include <map>

namespace {

QImage Resource(const QString& name) { return QImage(QStringLiteral(":/res/") + name); }

const std::map<QString, QSize>& ExpectedResources() {
    static const std::map<QString, QSize> expected = [] {
        std::map<QString, QSize> e;
        for (QString look : {"", "OVER", "DOWN"}) {
            e["RBUTTON" + look] = layout::Button;
            e["RBUTTON" + look + "LF"] = layout::SlideButton;
            e["RBUTTON" + look + "DIALOG"] = layout::DialogButton;
            for (QString key : {"RPLAY", "RPAUSE", "RSTOP", "RLOOP", "RLOCATOR", "RREWIND", "RFORWARD"})
                e[key + look] = layout::TransportButton;
        }
        e["RNOFUNCTIONCONTROL"] = layout::TransportButton;
        e["RLOGOBUTTON"] = e["RLOGOBUTTONOVER"] = layout::LogoButton;
        for (QString scroll : {"RBUTTON_SCROLLUP", "RBUTTONOVER_SCROLLUP", "RBUTTON_SCROLLDOWN", "RBUTTONOVER_SCROLLDOWN"})
            e[scroll] = layout::ScrollButton;
        e["TUNERAKKORDBMP"] = layout::TunerChordButton;
        e["RKONTROLLECOVER"] = e["RKONTROLLECOVER_EN"] = layout::KontrolleCover.size();
        e["LEDBG"] = layout::LedPanel.size();
        e["LEDBMPDARK"] = e["LEDBMPLIGHT"] = layout::LedSegment;
        e["RTRACKBAR"] = e["RTRACKBAROVER"] = layout::TempoBar.size();
        e["RTRACKTHUMB"] = layout::TrackThumb;
        e["RPOINTBMP"] = layout::PointBitmap;
        e["RTRIGONBMP"] = e["RTRIGONBLACKBMP"] = layout::LocatorMark;
        e["RVIDEOPLAYBMP"] = e["RVIDEOSTOPBMP"] = layout::VideoButton;
        e["RVIDEOPLAYBMP_EN"] = e["RVIDEOSTOPBMP_EN"] = layout::VideoButton;
        e["IMGLEVEL"] = layout::LevelBlock.size();
        return e;
    }();
    return expected;
}

TEST(ArtResources, EveryResourceIsA24BitBitmapOfItsLayoutSize) {
    EXPECT_EQ(ExpectedResources().size(), 54u);
    for (const auto& [name, size] : ExpectedResources()) {
        QFile file(QStringLiteral(":/res/") + name);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        const std::string bytes = file.readAll().toStdString();
        ASSERT_GE(bytes.size(), 54u) << name.toStdString();
        EXPECT_EQ(bytes.substr(0, 2), "BM") << name.toStdString();
        EXPECT_EQ(arttest::Le16(bytes, 28), 24u) << name.toStdString() << ": bits per pixel";
        EXPECT_EQ(arttest::Le32(bytes, 30), 0u) << name.toStdString() << ": uncompressed";
        EXPECT_EQ(Resource(name).size(), size) << name.toStdString();
    }
}

TEST(ArtResources, TheThreeLooksOfAButtonDiffer) {
    for (QString base : {"RBUTTON", "RPLAY", "RLOOP", "RLOCATOR", "RSTOP"}) {
        const QImage normal = Resource(base), over = Resource(base + "OVER"), down = Resource(base + "DOWN");
        EXPECT_NE(normal, over) << base.toStdString();
        EXPECT_NE(normal, down) << base.toStdString();
        EXPECT_NE(over, down) << base.toStdString();
    }
    EXPECT_NE(Resource("RLOGOBUTTON"), Resource("RLOGOBUTTONOVER"));
    EXPECT_NE(Resource("RBUTTON_SCROLLUP"), Resource("RBUTTON_SCROLLDOWN"));
}

// The LED thread copies the segment bitmaps onto LEDBG at fixed places: the
// background must show exactly the dark segment there, so that a lit segment
// drained again leaves no trace.
TEST(ArtResources, LedBackgroundHoldsTheDarkSegmentsWhereTheThreadDrawsThem) {
    const QImage background = Resource("LEDBG").convertToFormat(QImage::Format_RGB32);
    const QImage dark = Resource("LEDBMPDARK").convertToFormat(QImage::Format_RGB32);
    std::vector<QPoint> places;
    for (int i = 0; i < 10; ++i) places.push_back(layout::LedSegmentAt(i) - layout::LedPanel.topLeft());
    places.push_back(layout::PreRollLamp - layout::LedPanel.topLeft());
    for (const QPoint& at : places) {
        ASSERT_TRUE(QRect(QPoint(0, 0), background.size()).contains(QRect(at, dark.size())));
        EXPECT_EQ(background.copy(QRect(at, dark.size())), dark) << at.y();
    }
    EXPECT_NE(Resource("LEDBMPLIGHT"), dark);
}

// The point is drawn as a black ellipse and then ORed in: every coloured
// pixel of the bitmap must lie inside that ellipse, or it would smear the page.
TEST(ArtResources, PointIsColouredOnlyInsideItsEllipse) {
    const QImage point = Resource("RPOINTBMP").convertToFormat(QImage::Format_RGB32);
    const double rx = point.width() / 2.0, ry = point.height() / 2.0;
    int coloured = 0;
    for (int y = 0; y < point.height(); ++y)
        for (int x = 0; x < point.width(); ++x) {
            if ((point.pixel(x, y) & 0xFFFFFF) == 0) continue;
            ++coloured;
            const double dx = (x + 0.5 - rx) / rx, dy = (y + 0.5 - ry) / ry;
            EXPECT_LE(dx * dx + dy * dy, 1.0) << x << "," << y;
        }
    EXPECT_GT(coloured, point.width() * point.height() / 3);
}

// The locator mark is an AND mask and an OR bitmap: where the mask keeps the
// background (white) the mark must be black, and the mark shows where the mask is black.
TEST(ArtResources, LocatorMarkAndItsMaskAreComplementary) {
    const QImage mark = Resource("RTRIGONBMP").convertToFormat(QImage::Format_RGB32);
    const QImage mask = Resource("RTRIGONBLACKBMP").convertToFormat(QImage::Format_RGB32);
    int shown = 0;
    for (int y = 0; y < mark.height(); ++y)
        for (int x = 0; x < mark.width(); ++x) {
            const QRgb m = mask.pixel(x, y) & 0xFFFFFF;
            ASSERT_TRUE(m == 0 || m == 0xFFFFFF) << "mask pixel " << x << "," << y;
            if (m == 0xFFFFFF) EXPECT_EQ(mark.pixel(x, y) & 0xFFFFFF, 0u) << x << "," << y;
            else {
                EXPECT_NE(mark.pixel(x, y) & 0xFFFFFF, 0u) << x << "," << y;
                ++shown;
            }
        }
    EXPECT_GT(shown, 20);
    EXPECT_EQ(mask.pixel(0, mask.height() - 1) & 0xFFFFFF, 0xFFFFFFu); // a triangle pointing down
    EXPECT_EQ(mask.pixel(mask.width() / 2, 1) & 0xFFFFFF, 0u);
}

} // namespace
