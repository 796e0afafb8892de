#pragma once
// A mutex with priority inheritance: a thread that is preempted while it holds
// the lock runs at the priority of the highest waiter (the real-time timer)
// until it lets go, so on a busy machine the timer does not wait behind
// ordinary threads. Use it with std::condition_variable_any.

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

private:
    pthread_mutex_t mutex_;
};

} // namespace mxmidi::detail
