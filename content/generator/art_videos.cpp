// The art step that makes the intro and closing videos: drawn frames as
// Motion-JPEG with a plucked-guitar sound track, in an AVI file; the English
// edition's, with English words, in its overlay folder.
#include "content/generator/art_avi.h"
#include "content/generator/art_jpeg.h"
#include "content/generator/art_paint.h"
#include "content/generator/art_scenes.h"
#include "content/generator/contentstep.h"
#include "content/generator/course_edition_files.h"

#include <vector>

namespace art {

namespace {

constexpr int kFramesPerSecond = 12;
constexpr double kSeconds = 5.0;
constexpr int kSampleRate = 22050;
constexpr int kVideoQuality = 82;

// Open-string and fretted frequencies of the chords used (low string first).
const std::vector<double> kEMajor = {82.41, 123.47, 164.81, 207.65, 246.94, 329.63};
const std::vector<double> kAMajor = {110.00, 164.81, 220.00, 277.18, 329.63};

void Strum(std::vector<float>& mix, const std::vector<double>& chord, double start, double gain, unsigned seed) {
    for (size_t i = 0; i < chord.size(); ++i)
        PluckString(mix, kSampleRate, chord[i], start + 0.028 * i, gain, seed + static_cast<unsigned>(i));
}

std::vector<std::int16_t> IntroSound() {
    std::vector<float> mix(static_cast<size_t>(kSeconds * kSampleRate));
    Strum(mix, kEMajor, 0.9, 0.5, 10);
    Strum(mix, kAMajor, 2.2, 0.5, 20);
    Strum(mix, kEMajor, 3.4, 0.6, 30);
    return ToPcm16(mix, kSampleRate, 0.7);
}

std::vector<std::int16_t> ClosingSound() {
    std::vector<float> mix(static_cast<size_t>(kSeconds * kSampleRate));
    const double arpeggio[] = {164.81, 207.65, 246.94, 329.63, 415.30, 493.88};
    for (int i = 0; i < 6; ++i) PluckString(mix, kSampleRate, arpeggio[i], 0.3 + 0.22 * i, 0.6, 40u + i);
    Strum(mix, kEMajor, 2.0, 0.55, 50);
    Strum(mix, kEMajor, 2.5, 0.45, 60);
    Strum(mix, kEMajor, 3.0, 0.65, 70);
    return ToPcm16(mix, kSampleRate, 0.7);
}

std::string MakeVideo(bool closing) {
    AviClip clip;
    clip.framesPerSecond = kFramesPerSecond;
    clip.sampleRate = kSampleRate;
    const int frames = static_cast<int>(kSeconds * kFramesPerSecond);
    for (int i = 0; i < frames; ++i) clip.jpegFrames.push_back(EncodeJpeg(VideoFrame(closing, i, frames), kVideoQuality));
    clip.samples = closing ? ClosingSound() : IntroSound();
    return EncodeAvi(clip);
}

bool WriteVideos(const content::GeneratorContext& context) {
    if (!PrepareArt(context.sources)) return false;
    bool ok = true;
    for (const content::Edition edition : content::kEditions) { // German first: the overlay compares with it
        SetSceneLanguage(edition == content::Edition::English);
        ok = content::WriteEditionFile(context.out, edition, "lektionX/IntroVideo.avi", MakeVideo(false)) && ok;
        ok = content::WriteEditionFile(context.out, edition, "lektionX/FinalVideo.avi", MakeVideo(true)) && ok;
    }
    SetSceneLanguage(false);
    return ok;
}

content::StepRegistration registration{"art-videos", WriteVideos};

} // namespace

} // namespace art
