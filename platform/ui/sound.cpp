#include "platform/ui/sound.h"

#include "platform/core/files.h"
#include "platform/core/pathresolver.h"

#include <QAudioFormat>
#include <QAudioSink>
#include <QCoreApplication>
#include <QIODevice>
#include <QMediaDevices>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <mutex>
#include <thread>

namespace platform {
namespace {

constexpr std::uintmax_t kLargestSoundFile = 256u * 1024u * 1024u;

// The default time source: the steady clock and a real sleep.
class SteadySoundClock : public SoundClock {
public:
    std::uint64_t NowMs() override {
        using namespace std::chrono;
        return static_cast<std::uint64_t>(
            duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    }
    void WaitMs(std::uint64_t ms) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
};

// Used where the machine has no audio output: the timing is kept by the
// sound layer, so there is nothing to do.
class SilentSoundOutput : public SoundOutput {
public:
    void Start(std::shared_ptr<const WaveSound>, bool) override {}
    void Stop() override {}
};

// 16-bit signed samples for the audio device, whatever the file stores.
QByteArray ToInt16Samples(const WaveSound& sound) {
    if (sound.bitsPerSample == 16)
        return QByteArray(sound.samples.data(), static_cast<qsizetype>(sound.samples.size()));
    QByteArray out(static_cast<qsizetype>(sound.samples.size() * 2), Qt::Uninitialized);
    for (std::size_t i = 0; i < sound.samples.size(); ++i) {
        int value = (static_cast<unsigned char>(sound.samples[i]) - 128) * 256;
        out[static_cast<qsizetype>(2 * i)] = static_cast<char>(value & 0xFF);
        out[static_cast<qsizetype>(2 * i + 1)] = static_cast<char>((value >> 8) & 0xFF);
    }
    return out;
}

// Hands the samples to the audio sink, once or over and over.
class PcmSource : public QIODevice {
public:
    PcmSource(QByteArray pcm, bool loop, QObject* parent)
        : QIODevice(parent), pcm_(std::move(pcm)), loop_(loop) {}

    bool isSequential() const override { return true; }
    bool atEnd() const override { return !loop_ && position_ >= pcm_.size(); }
    qint64 bytesAvailable() const override {
        qint64 left = loop_ ? pcm_.size() : pcm_.size() - position_;
        return left + QIODevice::bytesAvailable();
    }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        qint64 done = 0;
        while (done < maxSize && !pcm_.isEmpty()) {
            if (position_ >= pcm_.size()) {
                if (!loop_) break;
                position_ = 0;
            }
            qint64 n = std::min(maxSize - done, pcm_.size() - position_);
            std::memcpy(data + done, pcm_.constData() + position_, static_cast<std::size_t>(n));
            position_ += n;
            done += n;
        }
        return done;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray pcm_;
    bool loop_;
    qint64 position_ = 0;
};

// Runs `work` on the application's thread: at once when called there, else
// queued to its event loop.
void OnApplicationThread(std::function<void()> work) {
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr) return;
    if (QThread::currentThread() == app->thread()) {
        work();
    } else {
        QMetaObject::invokeMethod(app, std::move(work), Qt::QueuedConnection);
    }
}

// Real sound through Qt Multimedia's audio sink on the default output. The
// sink and its source are children of the application object, so they go
// with it at exit. A sound played once closes its stream a little after its
// end, so that the sound server has nothing to mix while the program is quiet.
class QtSoundOutput : public SoundOutput {
public:
    static constexpr int kCloseAfterEndMs = 1000;

    void Start(std::shared_ptr<const WaveSound> sound, bool loop) override {
        OnApplicationThread([this, sound, loop] {
            StopNow();
            QAudioFormat format;
            format.setSampleRate(sound->sampleRate);
            format.setChannelCount(sound->channels);
            format.setSampleFormat(QAudioFormat::Int16);
            QCoreApplication* app = QCoreApplication::instance();
            sink_ = new QAudioSink(QMediaDevices::defaultAudioOutput(), format, app);
            source_ = new PcmSource(ToInt16Samples(*sound), loop, app);
            source_->open(QIODevice::ReadOnly);
            sink_->start(source_); // fails quietly when the server has gone
            if (!loop) CloseAfter(static_cast<int>(sound->DurationMs()) + kCloseAfterEndMs);
        });
    }

    void Stop() override {
        OnApplicationThread([this] { StopNow(); });
    }

private:
    void StopNow() {
        if (sink_) {
            sink_->stop();
            delete sink_.data();
        }
        if (source_) delete source_.data();
    }

    // Closes the stream of the sound playing now after `ms`, unless another
    // sound has taken its place by then.
    void CloseAfter(int ms) {
        QPointer<QAudioSink> playing = sink_;
        QTimer::singleShot(ms, QCoreApplication::instance(), [this, playing] {
            if (playing && playing == sink_) StopNow();
        });
    }

    QPointer<QAudioSink> sink_;
    QPointer<PcmSource> source_;
};

// The machine's own output, chosen once at the first sound.
SoundOutput& MachineOutput() {
    static SilentSoundOutput silent;
    static QtSoundOutput* real = nullptr;
    static bool chosen = false;
    if (!chosen) {
        chosen = true;
        if (QCoreApplication::instance() != nullptr && !QMediaDevices::audioOutputs().isEmpty())
            real = new QtSoundOutput; // lives as long as the process
    }
    if (real != nullptr) return *real;
    return silent;
}

// The one voice of the process.
struct Voice {
    bool active = false;
    bool loop = false;
    std::uint64_t startMs = 0;
    std::uint64_t lengthMs = 0;
    std::string file;
    std::uint64_t generation = 0;
};

struct SoundState {
    std::mutex mutex;
    SoundClock* clock = nullptr;
    SoundOutput* output = nullptr;
    Voice voice;

    SoundClock& Clock() {
        static SteadySoundClock steady;
        return clock != nullptr ? *clock : steady;
    }
    SoundOutput& Output() { return output != nullptr ? *output : MachineOutput(); }

    bool Playing() {
        if (!voice.active) return false;
        return voice.loop || Clock().NowMs() - voice.startMs < voice.lengthMs;
    }

    void Stop() {
        if (!voice.active) return;
        Output().Stop();
        voice.active = false;
    }
};

SoundState& State() {
    static SoundState state;
    return state;
}

std::optional<WaveSound> LoadWave(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
    std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec || size > kLargestSoundFile) return std::nullopt;
    std::optional<std::string> bytes = ReadFileBytes(path);
    if (!bytes) return std::nullopt;
    return ParseWave(*bytes);
}

} // namespace

bool PlaySound(const char* fileName, unsigned flags) {
    SoundState& state = State();
    std::unique_lock<std::mutex> lock(state.mutex);
    if (fileName == nullptr) {
        state.Stop();
        return true;
    }
    const std::string path = ResolveAnsiPath(fileName);
    if (flags & SND_PURGE) {
        if (state.voice.active && state.voice.file == path) state.Stop();
        return true;
    }
    if ((flags & SND_NOSTOP) && state.Playing()) return false;
    state.Stop();

    std::optional<WaveSound> wave = LoadWave(path);
    if (!wave) return false;
    auto sound = std::make_shared<const WaveSound>(std::move(*wave));
    const bool loop = (flags & SND_LOOP) != 0;
    Voice& voice = state.voice;
    voice.active = true;
    voice.loop = loop;
    voice.startMs = state.Clock().NowMs();
    voice.lengthMs = sound->DurationMs();
    voice.file = path;
    ++voice.generation;
    state.Output().Start(sound, loop);
    if ((flags & SND_ASYNC) || loop) return true;

    // Synchronous: wait out the sound, unless another request replaces it.
    const std::uint64_t generation = voice.generation;
    const std::uint64_t length = voice.lengthMs;
    SoundClock& clock = state.Clock();
    lock.unlock();
    clock.WaitMs(length);
    lock.lock();
    if (state.voice.generation == generation) state.Stop();
    return true;
}

bool SoundIsPlaying() {
    SoundState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    return state.Playing();
}

SoundClock* SetSoundClock(SoundClock* clock) {
    SoundState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    state.Stop();
    SoundClock* before = state.clock;
    state.clock = clock;
    return before;
}

SoundOutput* SetSoundOutput(SoundOutput* output) {
    SoundState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    state.Stop();
    SoundOutput* before = state.output;
    state.output = output;
    return before;
}

} // namespace platform
