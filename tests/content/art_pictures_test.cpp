// The pictures in the program folder: each is a JPEG that decodes to the
// size the screen layout gives it; the fretboard has its six strings where
// the tuner looks for them.
#include "layout/screenlayout.h"
#include "tests/content/art_testsupport.h"

#include <QImage>
#include <gtest/gtest.h>
#include <cmath>

namespace {

struct ExpectedPicture {
    const char* file;
    QSize size;
};

const ExpectedPicture kPictures[] = {
    {"Bilder/hintergrund.jpg", layout::MainWindow},
    {"Bilder/hintergrundklein.jpg", layout::DialogWindow},
    {"Bilder/hintergrundA.jpg", layout::MainWindow},
    {"Bilder/hintergrundQ.jpg", layout::MainWindow},
    {"Bilder/UeplanBG.jpg", layout::ToolPanel.size()},
    {"Bilder/ExplorerBG.jpg", layout::ToolPanel.size()},
    {"Bilder/TunerBG.jpg", layout::ToolPanel.size()},
    {"Bilder/MonitorBG.jpg", layout::ToolPanel.size()},
    {"Bilder/Griffbrett.jpg", layout::ImgTuner.size()},
    {"Bilder/tutorialdisplay.jpg", layout::ModeDisplay.size()},
    {"Bilder/explorerdisplay.jpg", layout::ModeDisplay.size()},
    {"Screen/startbild.jpg", layout::StartScreen},
    {"lektionX/KeineLektion.jpg", layout::LessonScreen.size()},
    {"lektionY/Begruessung.jpg", layout::LessonScreen.size()},
};

TEST(ArtPictures, EveryPictureIsABaselineJpegOfItsLayoutSize) {
    for (const ExpectedPicture& picture : kPictures) {
        const std::string bytes = arttest::ProgramFile(picture.file);
        ASSERT_GT(bytes.size(), 1000u) << picture.file;
        EXPECT_EQ(bytes.substr(0, 4), std::string("\xFF\xD8\xFF\xE0", 4)) << picture.file << ": JFIF header";
        EXPECT_NE(bytes.find("\xFF\xC0"), std::string::npos) << picture.file << ": baseline frame";
        EXPECT_EQ(bytes.substr(bytes.size() - 2), std::string("\xFF\xD9", 2)) << picture.file << ": end marker";
        EXPECT_EQ(arttest::ProgramPicture(picture.file).size(), picture.size) << picture.file;
    }
}

TEST(ArtPictures, TheTwoModeDisplaysAndTheBackgroundsAreDistinct) {
    const QImage tutorial = arttest::ProgramPicture("Bilder/tutorialdisplay.jpg");
    const QImage explorer = arttest::ProgramPicture("Bilder/explorerdisplay.jpg");
    EXPECT_NE(tutorial, explorer);
    EXPECT_NE(arttest::ProgramPicture("Bilder/hintergrund.jpg"), arttest::ProgramPicture("Bilder/hintergrundA.jpg"));
}

// The tuner splits Griffbrett.jpg into six equal bands, high e at the top:
// the brightest line of each band (a string) must lie near its middle, and
// the strings grow thicker downwards.
TEST(ArtPictures, FretboardHasOneStringInTheMiddleOfEachOfSixBands) {
    const QImage board = arttest::ProgramPicture("Bilder/Griffbrett.jpg").convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(board.isNull());
    const double band = board.height() / 6.0;
    std::vector<double> rowLight(board.height());
    for (int y = 0; y < board.height(); ++y) {
        double sum = 0;
        for (int x = 12; x < board.width(); ++x) sum += qGray(board.pixel(x, y));
        rowLight[y] = sum / (board.width() - 12);
    }
    std::vector<int> brightRows(6);
    for (int k = 0; k < 6; ++k) {
        int brightest = static_cast<int>(k * band) + 1;
        for (int y = static_cast<int>(k * band) + 1; y < static_cast<int>((k + 1) * band) - 1; ++y)
            if (rowLight[y] > rowLight[brightest]) brightest = y;
        EXPECT_NEAR(brightest, (k + 0.5) * band, 3.0) << "band " << k;
        const double background = rowLight[static_cast<int>(k * band + band * 0.2)];
        for (int y = static_cast<int>(k * band); y < static_cast<int>((k + 1) * band); ++y)
            if (rowLight[y] > background + (rowLight[brightest] - background) * 0.5) ++brightRows[k];
    }
    EXPECT_LT(brightRows[0], brightRows[5]) << "the high e string is thinner than the low E";
}

// The Kontrolle cover is painted over the main background where the quiz
// button was; its edge must match the background picture under it.
TEST(ArtPictures, KontrolleCoverBlendsIntoTheMainBackground) {
    const QImage background = arttest::ProgramPicture("Bilder/hintergrund.jpg").convertToFormat(QImage::Format_RGB32);
    const QImage cover = QImage(QStringLiteral(":/res/RKONTROLLECOVER")).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(background.isNull());
    double difference = 0;
    int count = 0;
    for (int x = 0; x < cover.width(); ++x)
        for (int y : {0, cover.height() - 1}) {
            const QRgb a = cover.pixel(x, y);
            const QRgb b = background.pixel(layout::KontrolleCover.left() + x, layout::KontrolleCover.top() + y);
            difference += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
            ++count;
        }
    EXPECT_LT(difference / count, 12.0);
}

} // namespace
