#pragma once
// Worker threads: created suspended, Resume and
// Suspend, Terminate/Terminated, free on terminate, a priority, and
// Synchronize, which runs a call on the user-interface thread and waits.
//
// Suspending is cooperative: Suspend() takes effect at once when a thread
// suspends itself, and otherwise at the thread's next suspension point:
// Synchronize (before and after the call), Terminated() and the member
// Sleep(). Suspended() reports the request at once. Suspend/Resume are not
// counted (a second Suspend needs only one Resume).
//
// Synchronize is delivered by the user-interface thread's event handling, so
// it also runs while that thread waits in a ProcessMessages loop.
//
// End of the process: threads are never joined at exit. A thread that is
// suspended, or runs on without looking at Terminated, simply ends with the
// process; once the application object is being torn down, a Synchronize
// never returns (the thread stays parked) so no worker touches a dying
// user interface.

#include <QString>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace platform {

enum class TThreadPriority {
    tpIdle,
    tpLowest,
    tpLower,
    tpNormal,
    tpHigher,
    tpHighest,
    tpTimeCritical
};
using enum TThreadPriority;

// Derive and put the work in Execute().
class TThread {
public:
    // A thread created suspended starts at the first Resume(); one created
    // running starts as soon as the user-interface thread handles events
    // (after the derived constructor has finished).
    explicit TThread(bool createSuspended);
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;
    // Freeing a thread that still runs asks it to terminate, resumes it and
    // waits until Execute has returned.
    virtual ~TThread();

    void Resume();
    void Suspend();
    bool Suspended() const;
    void Terminate();
    // Whether termination was asked for; a suspension point when called by
    // the thread itself.
    bool Terminated() const;
    bool FreeOnTerminate() const;
    void SetFreeOnTerminate(bool free);
    // Stored; the platform scheduler is left alone.
    TThreadPriority Priority() const { return priority_; }
    void SetPriority(TThreadPriority priority) { priority_ = priority; }
    // Whether Execute has returned.
    bool Finished() const;
    // Waits until Execute has returned (never call it for a thread that
    // loops forever).
    void WaitFor();
    // The text of an exception that ended Execute (empty when none did).
    QString FatalException() const;

    // Runs `method` on the user-interface thread and waits for it; an
    // exception it raises is raised again here. Called on the
    // user-interface thread itself, it simply runs `method`.
    void Synchronize(const std::function<void()>& method);

protected:
    virtual void Execute() = 0;
    // Sleeps `milliseconds`, then honours a pending Suspend.
    void Sleep(unsigned milliseconds);

private:
    static void Run(TThread* self);
    void StartThread();
    void WaitWhileSuspended();
    bool OnOwnThread() const;

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool suspended_ = true;
    bool terminated_ = false;
    bool started_ = false;
    bool finished_ = false;
    bool freeOnTerminate_ = false;
    TThreadPriority priority_ = tpNormal;
    std::thread::id threadId_;
    QString fatal_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

} // namespace platform
