#include "mxmidi/synthport.h"
#include "mxmidi/outport.h"
#include "mxmidi/testing.h"
#include "mxmidi/toolkitclock.h"

#include <QByteArray>
#include <QDebug>
#include <fluidsynth.h>

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace mxmidi::detail {
namespace {

constexpr const char* kDefaultSoundFont = "/usr/share/sounds/sf2/default-GM.sf2";
constexpr int kRenderChunk = 512; // frames per write_float call, a multiple of 64
constexpr int kAudioPeriodFrames = 512;
constexpr int kAudioPeriods = 2;

std::string SoundFontPath() {
    QByteArray named = qgetenv("ZUPFARI_SOUNDFONT");
    return named.isEmpty() ? kDefaultSoundFont : named.toStdString();
}

void QuietFluidLog() {
    for (int level : {FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
        fluid_set_log_function(level, nullptr, nullptr);
}

// The synthesizer of the process with its sound font, and its sound output
// while outputs are open on it. Made once and kept until the process ends.
class SynthEngine {
public:
    bool Load() {
        QuietFluidLog();
        settings_ = new_fluid_settings();
        if (!settings_) return false;
        fluid_settings_setnum(settings_, "synth.sample-rate", kSynthSampleRate);
        synth_ = new_fluid_synth(settings_);
        if (!synth_) return false;
        std::string font = SoundFontPath();
        if (fluid_synth_sfload(synth_, font.c_str(), 1) == FLUID_FAILED) {
            qWarning("MxMidi: cannot load the sound font %s", font.c_str());
            return false;
        }
        return true;
    }

    fluid_synth_t* Synth() const { return synth_; }

    // From a message's due time to its sound: a message waits for the start
    // of the next period (half a period on average), and the period it is
    // rendered into plays behind the two periods of the buffer. Under the
    // manual clock the synthesizer is rendered up to the moment of each
    // message, which so sounds at once.
    std::uint32_t Latency() const {
        if (ClockIsManual()) return 0;
        constexpr std::uint64_t frames = kAudioPeriods * kAudioPeriodFrames + kAudioPeriodFrames / 2;
        return static_cast<std::uint32_t>(frames * 1000000 / kSynthSampleRate);
    }

    // The first output on the synthesizer starts its sound, the last one
    // closed stops it: an idle synthesizer costs nothing.
    void PortOpened() {
        std::lock_guard lock(portsMutex_);
        if (openPorts_++ > 0) return;
        {
            std::lock_guard render(renderMutex_);
            baseTime_ = ClockNow();
            baseFrames_ = rendered_;
        }
        if (!ClockIsManual()) driver_ = OpenAudioDriver();
    }

    void PortClosed() {
        std::lock_guard lock(portsMutex_);
        if (--openPorts_ > 0) return;
        if (driver_) delete_fluid_audio_driver(driver_);
        driver_ = nullptr;
        // Notes left sounding must not come back when it opens again.
        fluid_synth_all_sounds_off(synth_, -1);
    }

    // Renders the frames that fell due up to `now`, under the manual clock
    // while an output is open.
    void RenderUpTo(std::uint64_t now) {
        std::lock_guard ports(portsMutex_);
        if (openPorts_ == 0 || driver_) return;
        std::lock_guard lock(renderMutex_);
        std::uint64_t due = DueFrames(now);
        if (now < baseTime_ || due > rendered_ + kSynthSampleRate) {
            // The clock jumped (the clock was switched): go on from here
            // instead of catching up.
            baseTime_ = now;
            baseFrames_ = rendered_;
            due = rendered_;
        }
        while (rendered_ < due) {
            int frames = static_cast<int>(std::min<std::uint64_t>(kRenderChunk, due - rendered_));
            RenderBlock(frames);
        }
    }

    mxmidi::testing::SynthOutput TakeOutput() {
        std::lock_guard lock(renderMutex_);
        mxmidi::testing::SynthOutput output{rendered_ - reportedFrames_, peak_};
        reportedFrames_ = rendered_;
        peak_ = 0.0f;
        return output;
    }

private:
    fluid_audio_driver_t* OpenAudioDriver() {
        // The driver renders and hands over the sound one period at a time.
        // FluidSynth's default of 64 frames means about 700 hand-overs a
        // second, which kept the driver thread and the sound server busy at
        // about 14 % of a core even in silence. Two periods of 512 frames keep
        // the same 23 ms of buffer at an eighth of the hand-overs; a message
        // takes effect at the start of the next period, so notes keep their
        // time within 11.6 ms.
        fluid_settings_setint(settings_, "audio.period-size", kAudioPeriodFrames);
        fluid_settings_setint(settings_, "audio.periods", kAudioPeriods);
        for (const char* name : {"pulseaudio", "alsa"}) {
            fluid_settings_setstr(settings_, "audio.driver", name);
            if (fluid_audio_driver_t* driver = new_fluid_audio_driver(settings_, synth_))
                return driver;
        }
        return nullptr;
    }

    std::uint64_t DueFrames(std::uint64_t now) const {
        std::uint64_t elapsed = now > baseTime_ ? now - baseTime_ : 0;
        std::uint64_t due = baseFrames_ + elapsed * kSynthSampleRate / 1000000;
        return due - due % kSynthBlockFrames;
    }

    void RenderBlock(int frames) {
        fluid_synth_write_float(synth_, frames, left_, 0, 1, right_, 0, 1);
        for (int i = 0; i < frames; ++i)
            peak_ = std::max({peak_, std::fabs(left_[i]), std::fabs(right_[i])});
        rendered_ += static_cast<std::uint64_t>(frames);
    }

    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;

    std::mutex portsMutex_;
    int openPorts_ = 0;
    fluid_audio_driver_t* driver_ = nullptr;

    std::mutex renderMutex_;
    std::uint64_t baseTime_ = 0; // toolkit time at which baseFrames_ had been rendered
    std::uint64_t baseFrames_ = 0;
    std::uint64_t rendered_ = 0;
    std::uint64_t reportedFrames_ = 0;
    float peak_ = 0.0f;
    float left_[kRenderChunk];
    float right_[kRenderChunk];
};

// Loads the synthesizer once, on a thread of its own. The loader is joined
// when the process ends, so a load still running then finishes first.
class SynthLoader {
public:
    ~SynthLoader() {
        if (thread_.joinable()) thread_.join();
    }

    void Start() {
        std::call_once(started_, [this] { thread_ = std::thread([this] { Load(); }); });
    }

    // The loaded synthesizer, or null when its sound font could not be loaded.
    SynthEngine* Wait() {
        Start();
        std::unique_lock lock(mutex_);
        loaded_.wait(lock, [this] { return done_; });
        return engine_;
    }

    // The synthesizer if it is loaded already; never waits.
    SynthEngine* IfLoaded() {
        std::lock_guard lock(mutex_);
        return done_ ? engine_ : nullptr;
    }

private:
    void Load() {
        // Never freed: outputs and the audio driver may use it until the end.
        auto* engine = new SynthEngine;
        bool ok = engine->Load();
        std::lock_guard lock(mutex_);
        engine_ = ok ? engine : nullptr;
        done_ = true;
        loaded_.notify_all();
    }

    std::once_flag started_;
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable loaded_;
    bool done_ = false;
    SynthEngine* engine_ = nullptr;
};

SynthLoader& TheLoader() {
    static SynthLoader loader;
    return loader;
}

// An output on the synthesizer: MIDI messages become fluid_synth calls.
class SynthPort : public OutPort {
public:
    explicit SynthPort(SynthEngine* engine) : engine_(engine) { engine_->PortOpened(); }
    ~SynthPort() override { engine_->PortClosed(); }

    void Send(std::uint64_t, std::uint8_t status, std::uint8_t data1, std::uint8_t data2,
              int) override {
        fluid_synth_t* synth = engine_->Synth();
        int channel = status & 0x0F;
        switch (status & 0xF0) {
        case 0x80:
            fluid_synth_noteoff(synth, channel, data1);
            break;
        case 0x90:
            if (data2 == 0)
                fluid_synth_noteoff(synth, channel, data1);
            else
                fluid_synth_noteon(synth, channel, data1, data2);
            break;
        case 0xA0:
            fluid_synth_key_pressure(synth, channel, data1, data2);
            break;
        case 0xB0:
            fluid_synth_cc(synth, channel, data1, data2);
            break;
        case 0xC0:
            fluid_synth_program_change(synth, channel, data1);
            break;
        case 0xD0:
            fluid_synth_channel_pressure(synth, channel, data1);
            break;
        case 0xE0:
            fluid_synth_pitch_bend(synth, channel, data1 | (data2 << 7));
            break;
        default:
            if (status == 0xFF) fluid_synth_system_reset(synth);
            break;
        }
    }
    std::uint32_t LatencyMicroseconds() const override { return engine_->Latency(); }
    void SendSysEx(std::uint64_t, const std::vector<std::uint8_t>& message) override {
        if (message.size() < 2) return;
        // FluidSynth takes the bytes between F0 and F7.
        fluid_synth_sysex(engine_->Synth(), reinterpret_cast<const char*>(message.data() + 1),
                          static_cast<int>(message.size() - 2), nullptr, nullptr, nullptr, 0);
    }

private:
    SynthEngine* engine_;
};

} // namespace

void StartSynthLoading() {
    TheLoader().Start();
}

std::unique_ptr<OutPort> OpenSynthPort() {
    SynthEngine* engine = TheLoader().Wait();
    if (!engine) return nullptr;
    return std::make_unique<SynthPort>(engine);
}

void RenderSynthUpTo(std::uint64_t now) {
    if (SynthEngine* engine = TheLoader().IfLoaded()) engine->RenderUpTo(now);
}

} // namespace mxmidi::detail

mxmidi::testing::SynthOutput mxmidi::testing::TakeSynthOutput() {
    detail::SynthEngine* engine = detail::TheLoader().IfLoaded();
    if (!engine) return {0, 0.0f};
    return engine->TakeOutput();
}
