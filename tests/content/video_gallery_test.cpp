// Contact sheets of the lesson videos as a learner sees them: one frame per
// second of every video, a row per video, written to build/gallery/videos.png
// and, for the English edition (its overlay first, as the program finds
// files), videos-en.png; each row also full size in gallery/videos/ and
// gallery/videos/en/. The test checks that every video line of the outline
// has its video, that the videos decode at 192 x 144 and 25 frames per second,
// and that a video with words differs between the editions while one
// without words is shared.

#include "content/generator/course_outline.h"
#include "content/generator/video_check.h"
#include "content/generator/video_script.h"
#include "content/generator/video_timeline.h"
#include "platform/core/files.h"

#include <QDir>
#include <QPainter>
#include <gtest/gtest.h>

#include <filesystem>

namespace {

constexpr int kThumbWidth = 96, kThumbHeight = 72, kLabelWidth = 64;

const std::string kCourse = ZUPFARI_CONTENT_SOURCES "/course";
const std::string kProgram = ZUPFARI_PROGRAM_FOLDER "/";

// The video file of the edition, the overlay's where it has one.
std::string VideoFile(const std::string& base, bool english) {
    const std::string overlay = kProgram + "English/" + base + ".avi";
    if (english && std::filesystem::exists(overlay)) return overlay;
    return kProgram + base + ".avi";
}

// One frame per second of the video, or nothing (with the reason) when it
// cannot be read.
std::vector<QImage> EverySecond(const std::string& file, std::string& error) {
    const auto bytes = platform::ReadFileBytes(file);
    if (!bytes) {
        error = "missing";
        return {};
    }
    const auto avi = video::ReadAvi(*bytes, error);
    if (!avi) return {};
    if (avi->microsPerFrame != video::kFrameMicros || avi->width != 192 || avi->height != 144) {
        error = "not 192 x 144 at 25 frames per second";
        return {};
    }
    const std::vector<QImage> frames = video::DecodeFrames(*avi, error);
    std::vector<QImage> seconds;
    for (std::size_t f = 0; f < frames.size(); f += video::kFramesPerSecond) seconds.push_back(frames[f]);
    if (!frames.empty()) seconds.push_back(frames.back());
    return seconds;
}

struct Row {
    QString name;
    std::vector<QImage> frames;
};

QImage Strip(const Row& row, int width, int height, int label) {
    QImage strip(label + static_cast<int>(row.frames.size()) * (width + 4) + 4, height + 8, QImage::Format_RGB32);
    strip.fill(QColor(40, 30, 24));
    QPainter p(&strip);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.setPen(Qt::white);
    p.drawText(QRect(4, 4, label - 8, height), Qt::AlignLeft | Qt::AlignVCenter, row.name);
    for (std::size_t i = 0; i < row.frames.size(); ++i)
        p.drawImage(QRect(label + static_cast<int>(i) * (width + 4), 4, width, height), row.frames[i]);
    return strip;
}

bool SaveSheet(const std::vector<Row>& rows, const QString& file) {
    std::vector<QImage> strips;
    int width = 0, height = 0;
    for (const Row& row : rows) {
        strips.push_back(Strip(row, kThumbWidth, kThumbHeight, kLabelWidth));
        width = std::max(width, strips.back().width());
        height += strips.back().height();
    }
    QImage sheet(width, height, QImage::Format_RGB32);
    sheet.fill(QColor(40, 30, 24));
    QPainter p(&sheet);
    int y = 0;
    for (const QImage& strip : strips) {
        p.drawImage(0, y, strip);
        y += strip.height();
    }
    p.end();
    QDir().mkpath(QStringLiteral(GALLERY_FOLDER));
    return sheet.save(QStringLiteral(GALLERY_FOLDER "/") + file);
}

void SaveVideoGallery(bool english) {
    std::vector<std::string> errors, notes;
    std::vector<content::Outline> editions;
    ASSERT_TRUE(content::LoadEditions(kCourse, editions, errors, notes));
    const QString folder = QStringLiteral(GALLERY_FOLDER "/videos/") + (english ? "en/" : "");
    QDir().mkpath(folder);
    std::vector<Row> rows;
    for (const content::Lesson& lesson : editions.front().lessons)
        for (int k = 1; k <= video::VideoCount(lesson); ++k) {
            const std::string base = video::VideoBaseName(lesson.number, k);
            std::string error;
            Row row{QStringLiteral("%1 · %2").arg(lesson.number).arg(k), EverySecond(VideoFile(base, english), error)};
            ASSERT_FALSE(row.frames.empty()) << base << ": " << error;
            EXPECT_GE(row.frames.size(), 5u) << base << " lasts at least four seconds";
            for (const QImage& frame : row.frames) EXPECT_EQ(frame.size(), QSize(192, 144)) << base;
            Strip(row, 192, 144, kLabelWidth).save(folder + QStringLiteral("lektion%1-video%2.png").arg(lesson.number).arg(k));
            rows.push_back(std::move(row));
        }
    EXPECT_GE(rows.size(), 27u) << "a video for every lesson that teaches a movement";
    EXPECT_TRUE(SaveSheet(rows, english ? QStringLiteral("videos-en.png") : QStringLiteral("videos.png")));
}

} // namespace

TEST(VideoGallery, ContactSheetOfEveryLessonVideo) {
    SaveVideoGallery(false);
}

TEST(VideoGallery, ContactSheetOfTheEnglishEditionsVideos) {
    SaveVideoGallery(true);
    // The fretboard names its strings and the captions speak: the English
    // video has its own file. The strumming hand says nothing: one file serves both.
    EXPECT_TRUE(std::filesystem::exists(kProgram + "English/lektion6/Video1.avi"));
    EXPECT_FALSE(std::filesystem::exists(kProgram + "English/lektion6/Video2.avi"));
    EXPECT_FALSE(std::filesystem::exists(kProgram + "English/lektion6/Video1.mid")) << "the same notes in both editions";
}
