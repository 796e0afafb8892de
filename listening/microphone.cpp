#include "listening/microphone.h"

#include "listening/frameclock.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSource>
#include <QIODevice>
#include <QMediaDevices>
#include <QMetaObject>
#include <QThread>
#include <QTimer>

#include <cstring>
#include <vector>

namespace listening {

namespace {

constexpr int kPreferredRate = 48000;
// The server hands over blocks of about this length.
constexpr int kBufferMs = 20;
constexpr int kWatchMs = 250;
// Qt 6.4's source signals readyRead only now and then: the worker also looks
// for data this often.
constexpr int kPollMs = 10;

// One sample of `format` at `p`, scaled to -1 .. 1.
float ToFloat(QAudioFormat::SampleFormat format, const char* p) {
    switch (format) {
    case QAudioFormat::UInt8: return (float(std::uint8_t(*p)) - 128.0f) / 128.0f;
    case QAudioFormat::Int16: {
        std::int16_t value;
        std::memcpy(&value, p, 2);
        return float(value) / 32768.0f;
    }
    case QAudioFormat::Int32: {
        std::int32_t value;
        std::memcpy(&value, p, 4);
        return float(double(value) / 2147483648.0);
    }
    case QAudioFormat::Float: {
        float value;
        std::memcpy(&value, p, 4);
        return value == value ? value : 0.0f;
    }
    default: return 0.0f;
    }
}

} // namespace

// The half of the microphone that lives on its worker thread: the audio
// source, the frame clock and the watch over stalls and silence.
class CaptureWorker : public QObject {
public:
    explicit CaptureWorker(Microphone& owner) : owner_(owner) {
        watch_.setInterval(kWatchMs);
        QObject::connect(&watch_, &QTimer::timeout, this, [this] { Watch(); });
        poll_.setInterval(kPollMs);
        QObject::connect(&poll_, &QTimer::timeout, this, [this] { Read(); });
    }

    void Open(const std::string& inputId, Microphone::Consumer consumer) {
        Close();
        owner_.latency_ = 0;
        consumer_ = std::move(consumer);
        QAudioDevice device;
        for (const QAudioDevice& input : QMediaDevices::audioInputs())
            if (input.id().toStdString() == inputId) device = input;
        if (device.isNull()) {
            owner_.state_ = Microphone::State::Failed;
            return;
        }
        QAudioFormat format;
        format.setSampleRate(kPreferredRate);
        format.setChannelCount(1);
        format.setSampleFormat(QAudioFormat::Float);
        if (!device.isFormatSupported(format)) format = device.preferredFormat();
        if (format.sampleRate() <= 0 || format.channelCount() <= 0 || format.bytesPerSample() <= 0) {
            owner_.state_ = Microphone::State::Failed;
            return;
        }
        format_ = format;
        inputId_ = inputId;
        source_ = std::make_unique<QAudioSource>(device, format);
        source_->setBufferSize(format.bytesForDuration(kBufferMs * 1000) * 2);
        // An error ends the source, but not from inside its own signal.
        QObject::connect(
            source_.get(), &QAudioSource::stateChanged, this,
            [this](QAudio::State) {
                if (source_ && source_->error() != QAudio::NoError) Lose();
            },
            Qt::QueuedConnection);
        stream_ = source_->start();
        if (stream_ == nullptr || source_->error() != QAudio::NoError) {
            source_.reset();
            stream_ = nullptr;
            owner_.state_ = Microphone::State::Failed;
            return;
        }
        QObject::connect(stream_, &QIODevice::readyRead, this, [this] { Read(); });
        clock_ = std::make_unique<FrameClock>(format.sampleRate());
        owner_.rate_ = format.sampleRate();
        owner_.latency_ = format.durationForBytes(int(source_->bufferSize())) / 2;
        lastData_ = lastSound_ = ClockMicros();
        owner_.state_ = Microphone::State::Running;
        watch_.start();
        poll_.start();
    }

    void Close() {
        watch_.stop();
        poll_.stop();
        if (source_) {
            source_->disconnect(this);
            if (stream_ != nullptr) stream_->disconnect(this);
            source_->stop();
            source_.reset();
        }
        stream_ = nullptr;
        consumer_ = nullptr;
    }

private:
    void Read() {
        if (stream_ == nullptr) return;
        const QByteArray bytes = stream_->readAll();
        const int frameBytes = format_.bytesPerFrame();
        const qsizetype frames = frameBytes > 0 ? bytes.size() / frameBytes : 0;
        if (frames <= 0) return;
        const std::int64_t now = ClockMicros();
        lastData_ = now;
        const int channels = format_.channelCount();
        const int sampleBytes = format_.bytesPerSample();
        mono_.resize(std::size_t(frames));
        bool sound = false;
        for (qsizetype frame = 0; frame < frames; ++frame) {
            float sum = 0;
            const char* p = bytes.constData() + frame * frameBytes;
            for (int channel = 0; channel < channels; ++channel)
                sum += ToFloat(format_.sampleFormat(), p + channel * sampleBytes);
            mono_[std::size_t(frame)] = sum / float(channels);
            sound = sound || mono_[std::size_t(frame)] != 0.0f;
        }
        if (sound) {
            lastSound_ = now;
            if (owner_.state_ == Microphone::State::Silent) owner_.state_ = Microphone::State::Running;
        }
        const std::int64_t first = clock_->Stamp(now, std::uint64_t(frames));
        if (consumer_) consumer_(mono_.data(), mono_.size(), first, format_.sampleRate());
    }

    void Watch() {
        const std::int64_t now = ClockMicros();
        const std::int64_t stall = std::int64_t(Microphone::kStallMs) * 1000;
        // A source that goes away (a microphone unplugged) would have its
        // stream moved to another source by the server: it is lost all the same.
        bool listed = false;
        for (const QAudioDevice& input : QMediaDevices::audioInputs())
            listed = listed || input.id().toStdString() == inputId_;
        if (!listed || now - lastData_ > stall) {
            Lose();
        } else if (now - lastSound_ > stall && owner_.state_ == Microphone::State::Running) {
            owner_.state_ = Microphone::State::Silent;
        }
    }

    void Lose() {
        Close();
        owner_.state_ = Microphone::State::Lost;
    }

    Microphone& owner_;
    std::unique_ptr<QAudioSource> source_;
    QIODevice* stream_ = nullptr;
    QAudioFormat format_;
    std::string inputId_;
    std::unique_ptr<FrameClock> clock_;
    Microphone::Consumer consumer_;
    std::vector<float> mono_;
    QTimer watch_{this}, poll_{this}; // children: they move to the worker thread with it
    std::int64_t lastData_ = 0, lastSound_ = 0;
};

Microphone::Microphone() : thread_(std::make_unique<QThread>()) {
    thread_->setObjectName("Microphone");
    worker_ = new CaptureWorker(*this);
    worker_->moveToThread(thread_.get());
    QObject::connect(thread_.get(), &QThread::finished, worker_, &QObject::deleteLater);
    thread_->start();
}

Microphone::~Microphone() {
    Stop();
    thread_->quit();
    thread_->wait();
}

void Microphone::Start(const std::string& inputId, Consumer consumer) {
    state_ = State::Starting;
    rate_ = 0;
    QMetaObject::invokeMethod(worker_, [this, inputId, consumer = std::move(consumer)]() mutable {
        worker_->Open(inputId, std::move(consumer));
    });
}

void Microphone::Stop() {
    // Waits for the worker, so that the consumer is not called afterwards.
    QMetaObject::invokeMethod(worker_, [this] { worker_->Close(); }, Qt::BlockingQueuedConnection);
    state_ = State::Off;
    rate_ = 0;
}

} // namespace listening
