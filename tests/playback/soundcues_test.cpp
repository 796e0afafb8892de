// The sound cues: the click cuts every sound, a named cue gives way to any
// sound that plays, missing cue files are silent, paths never overrun.
#include "platform/ui/sound.h"
#include "playback/soundcues.h"
#include "tests/support/soundfixture.h"
#include "tests/support/testsupport.h"

#include "platform/core/pathresolver.h"

#include <cstring>
#include <gtest/gtest.h>

using platform::PlaySound;
using platform::SoundIsPlaying;
using playback::SoundCues;
using soundtest::WaveOfMs;

namespace {

constexpr unsigned kTunerToneFlags = 0x2000B; // as the tuner plays its string tones

class SoundCuesTest : public soundtest::SoundFixture {
protected:
    void SetUp() override {
        SoundFixture::SetUp();
        temp.Write("ClickSounds/Fmaj7.wav", WaveOfMs(50));
        temp.Write("ClickSounds/foto.wav", WaveOfMs(300));
        temp.Write("ClickSounds/oh.wav", WaveOfMs(200));
        temp.Write("Sounds/SaiteE2.wav", WaveOfMs(2000));
    }
    std::string Cue(const char* relative) const { return temp.Path() + relative; }

    testsupport::TempFolder temp;
};

} // namespace

TEST_F(SoundCuesTest, BuildsTheSixClickPathsFromTheProgramFolder) {
    SoundCues cues(temp.Path());
    const char* names[] = {"Amaj7", "Dmaj7", "Eadd9", "Fism9", "Fmaj7", "Hm9"};
    for (int slot = 1; slot <= 6; ++slot) {
        EXPECT_EQ(std::string(cues.ClickPath(slot)),
                  temp.Path() + "ClickSounds\\" + names[slot - 1] + ".wav");
    }
    EXPECT_STREQ(cues.ClickPath(0), "");
    EXPECT_STREQ(cues.ClickPath(7), "");
}

TEST_F(SoundCuesTest, AClickCutsALoopingTunerTone) {
    SoundCues cues(temp.Path());
    const std::string tone = Cue("Sounds\\SaiteE2.wav");
    ASSERT_TRUE(PlaySound(tone.c_str(), kTunerToneFlags));
    clock.now += 60 * 1000;
    ASSERT_TRUE(SoundIsPlaying());

    EXPECT_TRUE(cues.PlayClick(true, false));
    EXPECT_EQ(output.events, (std::vector<std::string>{"start 1/16/1000 2000 loop", "stop",
                                                       "start 1/16/1000 50 once"}));
    clock.now += 50;
    EXPECT_FALSE(SoundIsPlaying()) << "the tone does not come back after the click";
}

TEST_F(SoundCuesTest, ANamedCueGivesWayToAnySoundButAClickIsAlwaysHeard) {
    SoundCues cues(temp.Path());
    EXPECT_TRUE(cues.PlayNamedCue(Cue("ClickSounds\\foto.wav"), true, false));
    clock.now += 100;
    EXPECT_FALSE(cues.PlayNamedCue(Cue("ClickSounds\\foto.wav"), true, false))
        << "a second photo cue within the length of the first";
    EXPECT_FALSE(cues.PlayNamedCue(Cue("ClickSounds\\oh.wav"), true, false));
    EXPECT_TRUE(cues.PlayClick(true, false));
    clock.now += 50;
    EXPECT_TRUE(cues.PlayNamedCue(Cue("ClickSounds\\oh.wav"), true, false));

    // Nor does a named cue stop a looping tone.
    ASSERT_TRUE(PlaySound(Cue("Sounds\\SaiteE2.wav").c_str(), kTunerToneFlags));
    EXPECT_FALSE(cues.PlayNamedCue(Cue("ClickSounds\\oh.wav"), true, false));
    clock.now += 10000;
    EXPECT_TRUE(SoundIsPlaying());
}

TEST_F(SoundCuesTest, AsyncAndLoopArgumentsReachThePlatform) {
    SoundCues cues(temp.Path());
    const std::uint64_t before = clock.now;
    EXPECT_TRUE(cues.PlayClick(false, false));
    EXPECT_EQ(clock.now - before, 50u) << "without async the click is waited out";

    EXPECT_TRUE(cues.PlayClick(true, true));
    clock.now += 1000;
    EXPECT_TRUE(SoundIsPlaying());
    EXPECT_FALSE(cues.PlayNamedCue(Cue("ClickSounds\\oh.wav"), true, true));
    EXPECT_TRUE(SoundCues::StopSound());
    EXPECT_TRUE(cues.PlayNamedCue(Cue("ClickSounds\\oh.wav"), true, true));
    clock.now += 1000;
    EXPECT_TRUE(SoundIsPlaying());
    EXPECT_TRUE(SoundCues::PurgeSound());
    EXPECT_FALSE(SoundIsPlaying());
}

TEST_F(SoundCuesTest, WithoutTheClickSoundsFolderEveryCueIsSilent) {
    testsupport::TempFolder bare;
    bare.Write("Sounds/SaiteE2.wav", WaveOfMs(2000));
    SoundCues cues(bare.Path());
    ASSERT_TRUE(PlaySound((bare.Path() + "Sounds\\SaiteE2.wav").c_str(), kTunerToneFlags));
    output.events.clear();

    EXPECT_FALSE(cues.PlayClick(true, false));
    for (const char* cue :
         {"ClickSounds\\oh.wav", "ClickSounds\\allesrichtig.wav", "ClickSounds\\nichtrichtig.wav",
          "ClickSounds\\foto.wav", "lektion3\\Akkord1.wav"}) {
        EXPECT_FALSE(cues.PlayNamedCue(bare.Path() + cue, true, false)) << cue;
    }
    EXPECT_TRUE(output.events.empty()) << "nothing reached the output, nothing was stopped";
    EXPECT_TRUE(SoundIsPlaying()) << "a missing click leaves the tone alone";
}

TEST_F(SoundCuesTest, OverlongPathsAreRefusedSilentlyAndNeverOverrunTheirBuffers) {
    // "ClickSounds\\" is 12 characters, "Fmaj7.wav" 9 and "Hm9.wav" 7: with a
    // folder of 239 characters the click needs 260 and does not fit, Hm9 does.
    const std::string folder = "/" + std::string(237, 'x') + "/";
    ASSERT_EQ(folder.size(), 239u);
    SoundCues cues(folder);
    EXPECT_STREQ(cues.ClickPath(5), "");
    EXPECT_EQ(std::string(cues.ClickPath(6)), folder + "ClickSounds\\Hm9.wav");
    EXPECT_FALSE(cues.PlayClick(true, false));

    SoundCues fitting(folder.substr(1));
    EXPECT_EQ(std::strlen(fitting.ClickPath(5)), 259u);

    char buffer[SoundCues::kPathBufferSize + 8];
    std::memset(buffer, '#', sizeof buffer);
    auto& path = *reinterpret_cast<char(*)[SoundCues::kPathBufferSize]>(buffer);
    EXPECT_FALSE(SoundCues::BuildCuePath(path, folder, "ClickSounds\\oh.wav123"));
    EXPECT_STREQ(path, "");
    EXPECT_TRUE(SoundCues::BuildCuePath(path, folder, "ClickSounds\\oh.wav12"));
    EXPECT_EQ(std::strlen(path), 259u);
    EXPECT_EQ(std::string(buffer + SoundCues::kPathBufferSize, 8), std::string(8, '#'));

    // A real cue behind an overlong path is refused, although the file exists.
    std::string deep = temp.Path();
    while (deep.size() < 260)
        deep += ".\\";
    deep += "ClickSounds\\oh.wav";
    ASSERT_TRUE(platform::AnsiPathExists(deep));
    EXPECT_FALSE(cues.PlayNamedCue(deep, true, false));
    EXPECT_TRUE(output.events.empty());
}

// A part with nothing in it (no folder known yet, a cue path on its own) adds
// nothing; its view may point nowhere, which must never reach memcpy (the
// sanitizer build ends the program there).
TEST_F(SoundCuesTest, EmptyPartsOfACuePathAddNothing) {
    char path[SoundCues::kPathBufferSize];
    EXPECT_TRUE(SoundCues::BuildCuePath(path, std::string_view{}, "ClickSounds\\oh.wav"));
    EXPECT_STREQ(path, "ClickSounds\\oh.wav");
    EXPECT_TRUE(SoundCues::BuildCuePath(path, temp.Path(), std::string_view{}));
    EXPECT_EQ(std::string(path), temp.Path());
    EXPECT_TRUE(SoundCues::BuildCuePath(path, std::string_view{}, std::string_view{}));
    EXPECT_STREQ(path, "");

    SoundCues cues(temp.Path());
    EXPECT_TRUE(cues.PlayNamedCue(Cue("ClickSounds\\oh.wav"), true, false));
}
