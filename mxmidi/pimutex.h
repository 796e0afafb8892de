#pragma once
// A mutex with priority inheritance: a thread that is preempted while it holds
// the lock runs at the priority of the highest waiter (the real-time timer)
// until it lets go, so on a busy machine the timer does not wait behind
// ordinary threads. PiCondition waits on it without any lock of its own.

#include <chrono>
#include <mutex>
#include <pthread.h>

namespace mxmidi::detail {

class PiMutex {
public:
    PiMutex() {
        pthread_mutexattr_t attributes;
        pthread_mutexattr_init(&attributes);
        pthread_mutexattr_setprotocol(&attributes, PTHREAD_PRIO_INHERIT);
        pthread_mutex_init(&mutex_, &attributes);
        pthread_mutexattr_destroy(&attributes);
    }
    ~PiMutex() { pthread_mutex_destroy(&mutex_); }
    PiMutex(const PiMutex&) = delete;
    PiMutex& operator=(const PiMutex&) = delete;
    void lock() { pthread_mutex_lock(&mutex_); }
    void unlock() { pthread_mutex_unlock(&mutex_); }
    bool try_lock() { return pthread_mutex_trylock(&mutex_) == 0; }
    pthread_mutex_t* native() { return &mutex_; }

private:
    pthread_mutex_t mutex_;
};

// A condition variable for PiMutex on the monotonic (steady) clock.
class PiCondition {
public:
    PiCondition() {
        pthread_condattr_t attributes;
        pthread_condattr_init(&attributes);
        pthread_condattr_setclock(&attributes, CLOCK_MONOTONIC);
        pthread_cond_init(&condition_, &attributes);
        pthread_condattr_destroy(&attributes);
    }
    ~PiCondition() { pthread_cond_destroy(&condition_); }
    PiCondition(const PiCondition&) = delete;
    PiCondition& operator=(const PiCondition&) = delete;

    void wait(std::unique_lock<PiMutex>& lock) {
        pthread_cond_wait(&condition_, lock.mutex()->native());
    }
    // Returns when woken or at `deadline` on the steady clock.
    void wait_until(std::unique_lock<PiMutex>& lock,
                    std::chrono::steady_clock::time_point deadline) {
        auto since =
            std::chrono::duration_cast<std::chrono::nanoseconds>(deadline.time_since_epoch())
                .count();
        if (since < 0) since = 0;
        timespec time{};
        time.tv_sec = static_cast<time_t>(since / 1000000000);
        time.tv_nsec = static_cast<long>(since % 1000000000);
        pthread_cond_timedwait(&condition_, lock.mutex()->native(), &time);
    }
    void notify_all() { pthread_cond_broadcast(&condition_); }

private:
    pthread_cond_t condition_;
};

} // namespace mxmidi::detail
