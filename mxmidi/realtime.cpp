#include "mxmidi/realtime.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QString>
#include <QVariant>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

namespace mxmidi::detail {
namespace {

constexpr int kWantedPriorityAboveMin = 10; // the timer's SCHED_FIFO priority: min + 10
constexpr int kBusTimeoutMs = 500;
const char* const kService = "org.freedesktop.RealtimeKit1";
const char* const kPath = "/org/freedesktop/RealtimeKit1";
const char* const kInterface = "org.freedesktop.RealtimeKit1";

// Set once the bus or RealtimeKit turned out to be missing: later timers do
// not ask again.
std::atomic<bool> realtimeKitMissing{false};

int WantedPriority() {
    return sched_get_priority_min(SCHED_FIFO) + kWantedPriorityAboveMin;
}

bool TryFifo() {
    sched_param param{};
    param.sched_priority = WantedPriority();
    return pthread_setschedparam(pthread_self(), SCHED_FIFO, &param) == 0;
}

// The calling thread's scheduling as text.
std::string DescribeScheduling(const char* how) {
    int policy = 0;
    sched_param param{};
    pthread_getschedparam(pthread_self(), &policy, &param);
    policy &= ~SCHED_RESET_ON_FORK; // RealtimeKit sets it
    std::string suffix = how[0] ? std::string(" (") + how + ")" : std::string();
    if (policy == SCHED_FIFO || policy == SCHED_RR)
        return std::string(policy == SCHED_FIFO ? "SCHED_FIFO" : "SCHED_RR") + " priority " +
               std::to_string(param.sched_priority) + suffix;
    errno = 0;
    int nice = getpriority(PRIO_PROCESS, static_cast<id_t>(gettid()));
    if (nice == 0) return "normal (nice 0)" + suffix;
    return "nice " + std::to_string(nice) + suffix;
}

// RealtimeKit on the system bus.
class RealtimeKit {
public:
    RealtimeKit() : bus_(QDBusConnection::systemBus()) {}
    bool Connected() const { return bus_.isConnected(); }

    // A property of RealtimeKit; false when it cannot be read.
    bool Property(const char* name, qlonglong& value) {
        QDBusMessage get = QDBusMessage::createMethodCall(
            kService, kPath, "org.freedesktop.DBus.Properties", "Get");
        get << QString::fromLatin1(kInterface) << QString::fromLatin1(name);
        QDBusMessage reply = bus_.call(get, QDBus::Block, kBusTimeoutMs);
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            return false;
        QVariant result = reply.arguments().first();
        if (result.canConvert<QDBusVariant>()) result = result.value<QDBusVariant>().variant();
        bool ok = false;
        value = result.toLongLong(&ok);
        return ok;
    }

    bool Call(const char* method, const QVariant& priority) {
        QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
        call << QVariant::fromValue(static_cast<qulonglong>(gettid())) << priority;
        QDBusMessage reply = bus_.call(call, QDBus::Block, kBusTimeoutMs);
        return reply.type() == QDBusMessage::ReplyMessage;
    }

private:
    QDBusConnection bus_;
};

// RealtimeKit hands out real-time priority only to processes that limit the
// CPU time a real-time thread may take without sleeping.
bool LimitRealtimeCpu(qlonglong maxMicroseconds) {
    if (maxMicroseconds <= 0) return false;
    rlimit limit{};
    if (getrlimit(RLIMIT_RTTIME, &limit) != 0) return false;
    const auto wanted = static_cast<rlim_t>(maxMicroseconds);
    if (limit.rlim_max != RLIM_INFINITY && limit.rlim_max <= wanted && limit.rlim_cur <= wanted)
        return true;
    limit.rlim_cur = std::min<rlim_t>(limit.rlim_cur, wanted);
    limit.rlim_max = std::min<rlim_t>(limit.rlim_max, wanted);
    return setrlimit(RLIMIT_RTTIME, &limit) == 0;
}

// Asks RealtimeKit for real-time priority, else for its high priority; the
// text says how the thread came out, empty when RealtimeKit gave nothing.
std::string AskRealtimeKit() {
    if (realtimeKitMissing.load()) return {};
    RealtimeKit kit;
    qlonglong maxPriority = 0, rttimeMax = 0, minNice = 0;
    if (!kit.Connected() || !kit.Property("MaxRealtimePriority", maxPriority)) {
        realtimeKitMissing = true;
        return {};
    }
    if (maxPriority > 0 && kit.Property("RTTimeUSecMax", rttimeMax) &&
        LimitRealtimeCpu(rttimeMax)) {
        const int priority = static_cast<int>(std::min<qlonglong>(WantedPriority(), maxPriority));
        if (kit.Call("MakeThreadRealtime", QVariant::fromValue(static_cast<uint>(priority))))
            return DescribeScheduling("RealtimeKit");
    }
    if (kit.Property("MinNiceLevel", minNice) &&
        kit.Call("MakeThreadHighPriority", QVariant::fromValue(static_cast<int>(minNice))))
        return DescribeScheduling("RealtimeKit");
    return {};
}

// The lowest nice level the process may take by itself.
void LowestOwnNice() {
    rlimit limit{};
    if (getrlimit(RLIMIT_NICE, &limit) != 0) return;
    const int lowest = 20 - static_cast<int>(std::min<rlim_t>(limit.rlim_cur, 40));
    const auto tid = static_cast<id_t>(gettid());
    errno = 0;
    const int current = getpriority(PRIO_PROCESS, tid);
    if (errno == 0 && lowest < current) setpriority(PRIO_PROCESS, tid, lowest);
}

} // namespace

std::string RaiseThreadPriority() {
    if (TryFifo()) return DescribeScheduling("");
    std::string granted = AskRealtimeKit();
    if (!granted.empty()) return granted;
    LowestOwnNice();
    return DescribeScheduling("");
}

} // namespace mxmidi::detail
