// Generator step "lesson-videos": every lesson video of videos.txt in both
// editions, lektionN/VideoK.avi (Motion-JPEG, 25 frames per second, 192 x 144,
// still frames stored as drop frames) with its accompaniment lektionN/VideoK.mid,
// both made from the video's one timeline. The finished files are read back
// and compared: a note whose lamp lights more than a frame away from its
// note-on fails the build. The English edition's files that differ (the
// videos with words) go to its overlay folder.

#include "content/generator/art_avi.h"
#include "content/generator/art_jpeg.h"
#include "content/generator/art_paint.h"
#include "content/generator/contentstep.h"
#include "content/generator/course_edition_files.h"
#include "content/generator/video_check.h"
#include "content/generator/video_layout.h"
#include "content/generator/video_frames.h"
#include "content/generator/video_midi.h"
#include "content/generator/video_script.h"

#include <cstdio>

namespace art {
namespace {

constexpr int kVideoQuality = 50;

struct Made {
    std::string avi, midi;
    int frames = 0, stored = 0; // all frames, and those not dropped
};

Made MakeVideo(const video::Timeline& timeline, const content::Outline& outline, content::Edition edition) {
    AviClip clip;
    clip.width = video::layout::kFrame.width();
    clip.height = video::layout::kFrame.height();
    clip.framesPerSecond = video::kFramesPerSecond;
    Made made;
    made.frames = timeline.Frames();
    QImage before;
    for (int f = 0; f < made.frames; ++f) {
        QImage frame = LessonVideoFrame(timeline, outline, f, edition);
        // A frame like the one before is dropped; the last is always stored,
        // so that players see the video's whole length.
        if (f > 0 && f + 1 < made.frames && frame == before) {
            clip.jpegFrames.emplace_back();
            continue;
        }
        clip.jpegFrames.push_back(EncodeJpeg(frame, kVideoQuality));
        ++made.stored;
        before = std::move(frame);
    }
    made.avi = EncodeAvi(clip);
    made.midi = video::AccompanimentFile(timeline);
    return made;
}

bool RunLessonVideos(const content::GeneratorContext& context) {
    if (!PrepareArt(context.sources)) return false;
    std::vector<std::string> errors, notes;
    std::vector<content::Outline> editions;
    const std::string folder = (context.sources / "course").string();
    video::Book book;
    if (!content::LoadEditions(folder, editions, errors, notes) ||
        !video::LoadBook(folder, editions.front(), book, errors)) {
        for (const std::string& e : errors) std::fprintf(stderr, "lesson videos: %s\n", e.c_str());
        std::fprintf(stderr, "lesson videos: fix content/sources/course/videos.txt or the outline\n");
        return false;
    }
    bool ok = true;
    long long bytes[2] = {0, 0};
    int frames = 0, stored = 0;
    for (const content::Outline& outline : editions) { // German first: the overlay compares with it
        const int e = outline.lessons.front().edition == content::Edition::German ? 0 : 1;
        for (const video::Script& script : book.videos) {
            std::vector<std::string> problems;
            const video::Timeline timeline = video::BuildTimeline(script, book, outline, problems);
            const Made made = MakeVideo(timeline, outline, outline.lessons.front().edition);
            const std::string base = video::VideoBaseName(script.lesson, script.number);
            for (const std::string& p : video::CheckAgreement(timeline, made.avi, made.midi, C("accent")))
                problems.push_back(p);
            for (const std::string& p : problems)
                std::fprintf(stderr, "content: %s%s.avi: %s\n", content::EditionFolder(outline.lessons.front().edition).c_str(),
                             base.c_str(), p.c_str());
            ok = problems.empty() && ok;
            const auto edition = outline.lessons.front().edition;
            ok = content::WriteEditionFile(context.out, edition, base + ".avi", made.avi) && ok;
            ok = content::WriteEditionFile(context.out, edition, base + ".mid", made.midi) && ok;
            bytes[e] += static_cast<long long>(made.avi.size() + made.midi.size());
            if (e == 0) {
                frames += made.frames;
                stored += made.stored;
            }
        }
    }
    std::printf("content: lesson videos: %zu videos, %.1f s, %d of %d frames stored, %.1f MB per edition\n",
                book.videos.size(), frames / double(video::kFramesPerSecond), stored, frames, bytes[0] / 1e6);
    return ok;
}

content::StepRegistration registration{"lesson-videos", RunLessonVideos};

} // namespace
} // namespace art
