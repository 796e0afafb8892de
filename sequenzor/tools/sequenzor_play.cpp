// sequenzor-play: lists the MIDI output devices, or plays a MIDI file on one
// of them from a given beat, printing the beat counter and the engine status
// until the piece has ended. Uses nothing but Sequenzor's exported interface.
#include "sequenzor/sequenzor.h"
#include "sequenzor/sequenzortiming.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTimer>
#include <cerrno>
#include <cstdio>
#include <sched.h>
#include <sys/resource.h>

namespace {

constexpr unsigned short kMapper = 0xFFFF;
constexpr int kPollMs = 50;

const char* TechnologyName(unsigned short technology) {
    switch (technology) {
    case MOD_MIDIPORT:
        return "port";
    case MOD_MAPPER:
        return "mapper";
    case MOD_WAVETABLE:
        return "synthesizer";
    default:
        return technology % 2 == 0 ? "synthesizer" : "port";
    }
}

void ListDevice(const char* id, unsigned short number) {
    char name[32];
    unsigned short technology = 0;
    if (!MidiGetDeviceName(number, name)) return;
    midiOutGetTechnology(number, &technology);
    std::printf("%-7s %-31s  %s\n", id, name, TechnologyName(technology));
}

// How the engine's timer thread is scheduled, as the system reports it.
QString TimerScheduling() {
    const QDir tasks("/proc/self/task");
    for (const QString& tid : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile comm(tasks.filePath(tid + "/comm"));
        if (!comm.open(QIODevice::ReadOnly) || comm.readAll().trimmed() != kTimerThreadName)
            continue;
        const pid_t thread = tid.toInt();
        const int policy = sched_getscheduler(thread) & ~SCHED_RESET_ON_FORK;
        sched_param param{};
        sched_getparam(thread, &param);
        if (policy == SCHED_FIFO || policy == SCHED_RR)
            return QString("%1 priority %2")
                .arg(policy == SCHED_FIFO ? "SCHED_FIFO" : "SCHED_RR")
                .arg(param.sched_priority);
        errno = 0;
        const int nice = getpriority(PRIO_PROCESS, static_cast<id_t>(thread));
        return nice == 0 ? QString("normal (nice 0)") : QString("nice %1").arg(nice);
    }
    return "no timer thread";
}

// The devices, then the timer's scheduling (the engine is started for that).
void ListDevices(QObject* window) {
    ListDevice("mapper", kMapper);
    const int count = MidiGetNumDevs();
    for (int id = 0; id < count; ++id)
        ListDevice(QByteArray::number(id).constData(), static_cast<unsigned short>(id));
    MidiInitWin(window);
    std::printf("timer   %s\n", qPrintable(TimerScheduling()));
}

// Chooses the output: a device name, a device number or "mapper" (default).
bool SelectDevice(const QString& device) {
    if (device.isEmpty() || device == "mapper") return MidiSetDeviceByID(kMapper) == 1;
    bool isNumber = false;
    const uint id = device.toUInt(&isNumber);
    if (isNumber && id < kMapper) return MidiSetDeviceByID(static_cast<unsigned short>(id)) == 1;
    QByteArray name = device.toLocal8Bit();
    return MidiSetDeviceByName(name.data()) == 1;
}

// Prints the beat counter and status whenever one of them changes, and ends
// the event loop once the piece has ended (status 2) and been heard.
class ProgressPrinter : public QObject {
public:
    explicit ProgressPrinter(QObject* parent) : QObject(parent) {
        connect(&timer_, &QTimer::timeout, this, [this] { Poll(); });
        timer_.start(kPollMs);
    }

private:
    void Poll() {
        const int beats = MidiGetBeats();
        const int status = MidiGetStatus();
        if (beats != lastBeats_ || status != lastStatus_) {
            std::printf("beat %d status %d tempo %.2f\n", beats, status, MidiGetTempo());
            std::fflush(stdout);
            lastBeats_ = beats;
            lastStatus_ = status;
        }
        if (status == 2 && !ending_) {
            // The last notes are still to be heard (the device's latency)
            // and to die away before the device closes.
            ending_ = true;
            timer_.stop();
            QTimer::singleShot(MidiGetOutputLatency() / 1000 + kDieAwayMs, this,
                               [] { QCoreApplication::quit(); });
        }
    }

    static constexpr int kDieAwayMs = 1000;
    bool ending_ = false;

    QTimer timer_;
    int lastBeats_ = -1;
    int lastStatus_ = -1;
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("sequenzor-play");
    QCommandLineParser parser;
    parser.setApplicationDescription("Plays a Standard MIDI File through the Sequenzor engine.");
    parser.addHelpOption();
    parser.addOption(
        {"list", "Lists the MIDI output devices and how the engine's timer is scheduled."});
    parser.addOption({"device", "Output device: name, number or 'mapper' (default).", "device"});
    parser.addOption({"beat", "Beat to start at (default 0).", "beat", "0"});
    parser.addOption({"tempo", "Tempo in beats per minute, in place of the file's (default: the "
                               "file's).",
                      "bpm", "0"});
    parser.addOption({"dump", "Writes the track listing of the loaded file to FILE.", "FILE"});
    parser.addOption({"no-play", "Loads (and dumps) only."});
    parser.addPositionalArgument("file", "The MIDI file to play.");
    parser.process(app);

    if (parser.isSet("list")) {
        ListDevices(&app);
        return 0;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() != 1) {
        std::fprintf(stderr, "sequenzor-play: name one MIDI file (see --help)\n");
        return 2;
    }
    if (!MidiInitWin(&app)) std::fprintf(stderr, "sequenzor-play: no usable MIDI output device\n");
    if (!SelectDevice(parser.value("device")))
        std::fprintf(stderr, "sequenzor-play: cannot open device '%s'; playing silently\n",
                     qPrintable(parser.value("device")));

    QByteArray fileName = files.first().toLocal8Bit();
    if (!MidiLoadFile(fileName.constData())) {
        std::fprintf(stderr, "sequenzor-play: cannot read '%s' as a MIDI file\n",
                     fileName.constData());
        return 1;
    }
    if (parser.isSet("dump")) MidiTrackDump(parser.value("dump").toLocal8Bit().constData());
    if (parser.isSet("no-play")) return 0;

    bool beatOk = false, tempoOk = false;
    const int beat = parser.value("beat").toInt(&beatOk);
    const double tempo = parser.value("tempo").toDouble(&tempoOk);
    if (!beatOk || beat < 0 || !tempoOk || tempo < 0) {
        std::fprintf(stderr,
                     "sequenzor-play: --beat wants a whole number >= 0, --tempo a number >= 0\n");
        return 2;
    }
    // A tempo given overrides the file's: its tempo events are left out, and
    // the tempo reached at the start beat (which a start in the middle sets)
    // is overridden once more.
    if (tempo > 0) MidiIgnoreSMFTempo(true);
    MidiStart(beat * 8, 0, tempo);
    if (tempo > 0) MidiSetTempo(tempo);
    new ProgressPrinter(&app);
    const int result = app.exec();
    MidiStop();
    return result;
}
