// The WAV reader and the process's one voice: no-stop refusal, looping,
// stopping, purging, synchronous play, missing and damaged files.
#include "platform/ui/sound.h"
#include "platform/ui/wavefile.h"
#include "tests/support/soundfixture.h"
#include "tests/support/testsupport.h"

#include <QDir>
#include <gtest/gtest.h>
#include <random>

using platform::ParseWave;
using platform::PlaySound;
using platform::SoundIsPlaying;
using namespace platform; // the SND_ flags
using soundtest::SoundFixture;
using soundtest::WaveOfMs;
using testsupport::TempFolder;

namespace {

std::string Le32(std::uint32_t v) {
    std::string s;
    for (int i = 0; i < 4; ++i)
        s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    return s;
}

std::string Chunk(const std::string& id, const std::string& body) {
    std::string s = id + Le32(static_cast<std::uint32_t>(body.size())) + body;
    if (body.size() & 1) s.push_back('\0');
    return s;
}

std::string Riff(const std::string& chunks) {
    return "RIFF" + Le32(static_cast<std::uint32_t>(4 + chunks.size())) + "WAVE" + chunks;
}

// The format chunk body of a 16-byte PCM "fmt " with the given fields.
std::string PcmFormat(int encoding, int channels, std::uint32_t rate, int bits) {
    std::string fmt = MakeWaveFile(channels, static_cast<int>(rate), bits, "").substr(20, 16);
    fmt[0] = static_cast<char>(encoding & 0xFF);
    fmt[1] = static_cast<char>(encoding >> 8);
    return fmt;
}

} // namespace

TEST(ParseWave, ReadsEightAndSixteenBitMonoAndStereoWithTheirLengths) {
    struct Case {
        int channels, rate, bits;
        std::size_t bytes;
        std::uint64_t frames, ms;
    } cases[] = {
        {1, 8000, 8, 8000, 8000, 1000},
        {2, 8000, 8, 8000, 4000, 500},
        {1, 22050, 16, 44100, 22050, 1000},
        {2, 44100, 16, 44100 * 4, 44100, 1000},
        {1, 44100, 16, 2, 1, 1},
        {1, 1000, 16, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.channels) + "ch " + std::to_string(c.bits) + "bit");
        std::string samples(c.bytes, '\x40');
        auto sound = ParseWave(MakeWaveFile(c.channels, c.rate, c.bits, samples));
        ASSERT_TRUE(sound.has_value());
        EXPECT_EQ(sound->channels, c.channels);
        EXPECT_EQ(sound->bitsPerSample, c.bits);
        EXPECT_EQ(sound->sampleRate, c.rate);
        EXPECT_EQ(sound->FrameCount(), c.frames);
        EXPECT_EQ(sound->DurationMs(), c.ms);
        EXPECT_EQ(sound->samples, samples);
    }
}

TEST(ParseWave, FindsItsChunksAmongOthersAndKeepsWhatACutFileHolds) {
    const std::string fmt = Chunk("fmt ", PcmFormat(1, 1, 1000, 16));
    const std::string data = Chunk("data", std::string(10, '\x11'));
    // Unknown chunk of odd length (padded) first, data before format.
    auto sound = ParseWave(Riff(Chunk("LIST", "abc") + data + fmt));
    ASSERT_TRUE(sound.has_value());
    EXPECT_EQ(sound->FrameCount(), 5u);

    // A data chunk claiming more than the file holds keeps the whole frames present.
    std::string cut = Riff(fmt + "data" + Le32(1000) + std::string(7, '\x22'));
    sound = ParseWave(cut);
    ASSERT_TRUE(sound.has_value());
    EXPECT_EQ(sound->samples, std::string(6, '\x22'));

    // The extensible format with the PCM sub-format is PCM.
    std::string extensible = PcmFormat(0xFFFE, 2, 1000, 16) + std::string(24, '\0');
    extensible[24] = 1;
    sound = ParseWave(Riff(Chunk("fmt ", extensible) + data));
    ASSERT_TRUE(sound.has_value());
    EXPECT_EQ(sound->FrameCount(), 2u);
}

TEST(ParseWave, RefusesDamagedAndUnsupportedFilesWithAReason) {
    const std::string data = Chunk("data", std::string(8, '\0'));
    const std::string fmt = Chunk("fmt ", PcmFormat(1, 1, 1000, 16));
    const std::pair<std::string, std::string> damaged[] = {
        {"", "empty"},
        {"RIFF\x04\0\0\0WAVX", "not WAVE"},
        {"RIFX" + Le32(4) + "WAVE", "not RIFF"},
        {Riff(data), "no format"},
        {Riff(fmt), "no data"},
        {Riff(Chunk("fmt ", PcmFormat(1, 1, 1000, 16).substr(0, 14)) + data), "short format"},
        {Riff(Chunk("fmt ", PcmFormat(3, 1, 1000, 16)) + data), "float"},
        {Riff(Chunk("fmt ", PcmFormat(0x55, 1, 1000, 16)) + data), "mp3"},
        {Riff(Chunk("fmt ", PcmFormat(1, 1, 1000, 24)) + data), "24 bit"},
        {Riff(Chunk("fmt ", PcmFormat(1, 0, 1000, 16)) + data), "no channels"},
        {Riff(Chunk("fmt ", PcmFormat(1, 6, 1000, 16)) + data), "six channels"},
        {Riff(Chunk("fmt ", PcmFormat(1, 1, 0, 16)) + data), "rate 0"},
        {Riff(Chunk("fmt ", PcmFormat(0xFFFE, 1, 1000, 16)) + data), "short extensible"},
        {Riff("fmt " + Le32(0xFFFFFFF0) + PcmFormat(1, 1, 1000, 16)), "format runs past the end"},
    };
    for (const auto& [bytes, what] : damaged) {
        std::string reason;
        EXPECT_FALSE(ParseWave(bytes, &reason).has_value()) << what;
        EXPECT_FALSE(reason.empty()) << what;
    }
}

TEST(ParseWave, SurvivesEveryCutAndRandomDamage) {
    const std::string good =
        Riff(Chunk("LIST", "info!") + Chunk("fmt ", PcmFormat(1, 2, 8000, 16)) +
             Chunk("data", std::string(64, '\x33')));
    for (std::size_t n = 0; n < good.size(); ++n) {
        auto sound = ParseWave(good.substr(0, n));
        if (sound) {
            EXPECT_LE(sound->samples.size(), 64u);
        }
    }
    std::mt19937 random(7);
    for (int round = 0; round < 2000; ++round) {
        std::string bytes = good;
        for (int k = 0; k < 4; ++k)
            bytes[random() % bytes.size()] = static_cast<char>(random());
        auto sound = ParseWave(bytes);
        if (sound) {
            EXPECT_EQ(sound->samples.size() % sound->BytesPerFrame(), 0u);
        }
    }
}

class PlaySoundTest : public SoundFixture {
protected:
    void SetUp() override {
        SoundFixture::SetUp();
        longSound = temp.Write("long.wav", WaveOfMs(500));
        shortSound = temp.Write("short.wav", WaveOfMs(100));
    }
    TempFolder temp;
    std::string longSound;
    std::string shortSound;
};

TEST_F(PlaySoundTest, NoStopIsRefusedWhileASoundPlaysAndAcceptedAfterItsLength) {
    ASSERT_TRUE(PlaySound(longSound.c_str(), SND_FILENAME | SND_ASYNC));
    EXPECT_TRUE(SoundIsPlaying());
    clock.now += 499;
    EXPECT_FALSE(PlaySound(shortSound.c_str(), SND_FILENAME | SND_ASYNC | SND_NOSTOP));
    EXPECT_TRUE(SoundIsPlaying());
    clock.now += 1;
    EXPECT_FALSE(SoundIsPlaying());
    EXPECT_TRUE(PlaySound(shortSound.c_str(), SND_FILENAME | SND_ASYNC | SND_NOSTOP));
    EXPECT_EQ(output.events, (std::vector<std::string>{"start 1/16/1000 500 once", "stop",
                                                       "start 1/16/1000 100 once"}));
}

TEST_F(PlaySoundTest, ASoundWithoutNoStopReplacesTheOneThatPlays) {
    ASSERT_TRUE(PlaySound(longSound.c_str(), SND_FILENAME | SND_ASYNC));
    clock.now += 10;
    ASSERT_TRUE(PlaySound(shortSound.c_str(), SND_FILENAME | SND_ASYNC));
    clock.now += 100;
    EXPECT_FALSE(SoundIsPlaying()) << "the replaced sound's length no longer counts";
    EXPECT_EQ(output.events, (std::vector<std::string>{"start 1/16/1000 500 once", "stop",
                                                       "start 1/16/1000 100 once"}));
}

TEST_F(PlaySoundTest, ALoopPlaysUntilStopped) {
    ASSERT_TRUE(PlaySound(shortSound.c_str(), SND_FILENAME | SND_LOOP | SND_ASYNC | SND_NODEFAULT));
    clock.now += 3600 * 1000;
    EXPECT_TRUE(SoundIsPlaying());
    EXPECT_FALSE(PlaySound(longSound.c_str(), SND_FILENAME | SND_ASYNC | SND_NOSTOP));
    EXPECT_TRUE(PlaySound(nullptr, 0));
    EXPECT_FALSE(SoundIsPlaying());
    EXPECT_TRUE(PlaySound(longSound.c_str(), SND_FILENAME | SND_ASYNC | SND_NOSTOP));
    EXPECT_EQ(output.events, (std::vector<std::string>{"start 1/16/1000 100 loop", "stop",
                                                       "start 1/16/1000 500 once"}));
}

TEST_F(PlaySoundTest, PurgeStopsAnySoundOrTheNamedOne) {
    ASSERT_TRUE(PlaySound(shortSound.c_str(), SND_FILENAME | SND_LOOP | SND_ASYNC));
    EXPECT_TRUE(PlaySound(nullptr, SND_PURGE));
    EXPECT_FALSE(SoundIsPlaying());

    ASSERT_TRUE(PlaySound(shortSound.c_str(), SND_FILENAME | SND_LOOP | SND_ASYNC));
    EXPECT_TRUE(PlaySound(longSound.c_str(), SND_PURGE));
    EXPECT_TRUE(SoundIsPlaying()) << "purging another file leaves this one";
    std::string sameFile = temp.Path() + "SHORT.WAV";
    EXPECT_TRUE(PlaySound(sameFile.c_str(), SND_PURGE));
    EXPECT_FALSE(SoundIsPlaying());
}

TEST_F(PlaySoundTest, WithoutAsyncTheCallReturnsWhenTheSoundHasEnded) {
    const std::uint64_t before = clock.now;
    ASSERT_TRUE(PlaySound(longSound.c_str(), SND_FILENAME | SND_NODEFAULT));
    EXPECT_EQ(clock.now - before, 500u);
    EXPECT_FALSE(SoundIsPlaying());
    EXPECT_EQ(output.events, (std::vector<std::string>{"start 1/16/1000 500 once", "stop"}));
}

TEST_F(PlaySoundTest, MissingUnreadableAndDamagedFilesAreRefusedSilently) {
    const std::string damaged = temp.Write("damaged.wav", WaveOfMs(100).substr(0, 30));
    const std::string notWave = temp.Write("text.wav", "just some text\r\n");
    const std::string folder = temp.Path() + "folder.wav";
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(folder)));
    for (const std::string& name : {temp.Path() + "missing.wav", damaged, notWave, folder}) {
        EXPECT_FALSE(PlaySound(name.c_str(), SND_FILENAME | SND_ASYNC | SND_NODEFAULT)) << name;
        EXPECT_FALSE(PlaySound(name.c_str(), SND_FILENAME | SND_ASYNC)) << name;
    }
    EXPECT_TRUE(output.events.empty());
    EXPECT_FALSE(SoundIsPlaying());

    // A failed request without no-stop has still stopped the sound before it.
    ASSERT_TRUE(PlaySound(shortSound.c_str(), SND_FILENAME | SND_LOOP | SND_ASYNC));
    EXPECT_FALSE(PlaySound(damaged.c_str(), SND_FILENAME | SND_ASYNC));
    EXPECT_FALSE(SoundIsPlaying());
}

TEST_F(PlaySoundTest, FindsWindowsNamesWithBackslashesAnyCaseAndWindows1252) {
    temp.Write("Kl\xC3\xA4nge/Ton.wav", WaveOfMs(20)); // UTF-8 name on disk
    const std::string windowsName = temp.Path() + "KL\xC4NGE\\ton.WAV";
    EXPECT_TRUE(PlaySound(windowsName.c_str(), SND_FILENAME | SND_ASYNC));
    EXPECT_TRUE(SoundIsPlaying());
}

TEST_F(PlaySoundTest, KeepsTheSameTimingWithTheMachinesOwnOutput) {
    platform::SetSoundOutput(nullptr); // silent here: this machine has no audio output
    ASSERT_TRUE(PlaySound(longSound.c_str(), SND_FILENAME | SND_ASYNC));
    clock.now += 499;
    EXPECT_FALSE(PlaySound(shortSound.c_str(), SND_FILENAME | SND_ASYNC | SND_NOSTOP));
    clock.now += 1;
    EXPECT_TRUE(PlaySound(shortSound.c_str(), SND_FILENAME | SND_ASYNC | SND_NOSTOP));
    EXPECT_TRUE(PlaySound(nullptr, 0));
    EXPECT_FALSE(SoundIsPlaying());
}
