#include "platform/ui/threads.h"

#include <QCoreApplication>
#include <QObject>
#include <QThread>
#include <chrono>
#include <exception>

namespace platform {

namespace {

// Hands calls to the user-interface thread. Never destroyed; when the Qt
// application goes away it stops accepting calls.
class SyncHub {
public:
    static SyncHub& Get() {
        static auto* hub = new SyncHub;
        return *hub;
    }

    // Prepares the receiver that lives on the user-interface thread.
    void Init() {
        std::lock_guard<std::mutex> lock(mutex_);
        InitLocked();
    }

    // Queues `call`; false once the application is gone (or before it
    // exists).
    bool Post(std::function<void()> call) {
        std::lock_guard<std::mutex> lock(mutex_);
        InitLocked();
        if (dead_ || receiver_ == nullptr) return false;
        QMetaObject::invokeMethod(receiver_, std::move(call), Qt::QueuedConnection);
        return true;
    }

    bool Dead() {
        std::lock_guard<std::mutex> lock(mutex_);
        return dead_;
    }

private:
    void InitLocked() {
        if (receiver_ != nullptr || dead_ || QCoreApplication::instance() == nullptr) return;
        receiver_ = new QObject; // created here, then handed to the UI thread
        receiver_->moveToThread(QCoreApplication::instance()->thread());
        qAddPostRoutine(&SyncHub::ShutDown);
    }

    static void ShutDown() {
        SyncHub& hub = Get();
        std::lock_guard<std::mutex> lock(hub.mutex_);
        hub.dead_ = true;
        delete hub.receiver_;
        hub.receiver_ = nullptr;
    }

    std::mutex mutex_;
    QObject* receiver_ = nullptr;
    bool dead_ = false;
};

bool OnUiThread() {
    QCoreApplication* app = QCoreApplication::instance();
    return app != nullptr && QThread::currentThread() == app->thread();
}

// A worker whose Synchronize can no longer be served waits here until the
// process ends.
[[noreturn]] void ParkForever() {
    for (;;)
        std::this_thread::sleep_for(std::chrono::hours(24));
}

// One Synchronize call, shared by the waiting worker and the queued event.
struct SyncCall {
    std::function<void()> method;
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    std::exception_ptr error;
};

} // namespace

TThread::TThread(bool createSuspended) {
    SyncHub::Get().Init();
    if (!createSuspended) {
        std::weak_ptr<bool> alive = alive_;
        SyncHub::Get().Post([this, alive] {
            if (alive.lock()) Resume();
        });
    }
}

TThread::~TThread() {
    *alive_ = false;
    alive_.reset();
    bool mustWait = false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        mustWait = started_ && !finished_ && !OnOwnThread();
        terminated_ = true;
        suspended_ = false;
    }
    wake_.notify_all();
    if (mustWait) WaitFor();
}

bool TThread::OnOwnThread() const {
    return std::this_thread::get_id() == threadId_;
}

void TThread::StartThread() {
    started_ = true;
    std::thread worker(&TThread::Run, this);
    threadId_ = worker.get_id();
    worker.detach(); // never joined: the process may end while it runs
}

void TThread::Run(TThread* self) {
    {
        // Wait until StartThread has recorded the id.
        std::unique_lock<std::mutex> lock(self->mutex_);
    }
    try {
        self->Execute();
    } catch (const std::exception& error) {
        std::lock_guard<std::mutex> lock(self->mutex_);
        self->fatal_ = QString::fromLocal8Bit(error.what());
    } catch (...) {
        std::lock_guard<std::mutex> lock(self->mutex_);
        self->fatal_ = "Unknown exception";
    }
    bool freeIt = false;
    {
        std::lock_guard<std::mutex> lock(self->mutex_);
        self->finished_ = true;
        freeIt = self->freeOnTerminate_;
    }
    self->wake_.notify_all();
    if (freeIt) delete self;
}

void TThread::Resume() {
    std::lock_guard<std::mutex> lock(mutex_);
    suspended_ = false;
    if (!started_) StartThread();
    wake_.notify_all();
}

void TThread::Suspend() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        suspended_ = true;
    }
    if (OnOwnThread()) WaitWhileSuspended();
}

bool TThread::Suspended() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return suspended_;
}

void TThread::Terminate() {
    std::lock_guard<std::mutex> lock(mutex_);
    terminated_ = true;
    wake_.notify_all();
}

bool TThread::Terminated() const {
    if (OnOwnThread()) const_cast<TThread*>(this)->WaitWhileSuspended();
    std::lock_guard<std::mutex> lock(mutex_);
    return terminated_;
}

bool TThread::FreeOnTerminate() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return freeOnTerminate_;
}

void TThread::SetFreeOnTerminate(bool free) {
    std::lock_guard<std::mutex> lock(mutex_);
    freeOnTerminate_ = free;
}

bool TThread::Finished() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return finished_;
}

void TThread::WaitFor() {
    if (!OnUiThread()) {
        std::unique_lock<std::mutex> lock(mutex_);
        wake_.wait(lock, [this] { return finished_ || !started_; });
        return;
    }
    // On the user-interface thread, serve the thread's Synchronize calls
    // while waiting, or both would wait for each other.
    for (;;) {
        {
            std::unique_lock<std::mutex> lock(mutex_);
            if (wake_.wait_for(lock, std::chrono::milliseconds(5),
                               [this] { return finished_ || !started_; })) {
                return;
            }
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    }
}

QString TThread::FatalException() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return fatal_;
}

void TThread::WaitWhileSuspended() {
    std::unique_lock<std::mutex> lock(mutex_);
    wake_.wait(lock, [this] { return !suspended_; });
}

void TThread::Sleep(unsigned milliseconds) {
    {
        std::unique_lock<std::mutex> lock(mutex_);
        auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
        // Only the clock ends the sleep; Terminate does not cut it short.
        while (wake_.wait_until(lock, until) != std::cv_status::timeout) {
        }
    }
    WaitWhileSuspended();
}

void TThread::Synchronize(const std::function<void()>& method) {
    if (OnUiThread()) {
        method();
        return;
    }
    WaitWhileSuspended();
    auto call = std::make_shared<SyncCall>();
    call->method = method;
    bool posted = SyncHub::Get().Post([call] {
        try {
            call->method();
        } catch (...) {
            call->error = std::current_exception();
        }
        {
            std::lock_guard<std::mutex> lock(call->mutex);
            call->finished = true;
        }
        call->done.notify_all();
    });
    if (!posted) {
        if (SyncHub::Get().Dead()) ParkForever(); // the user interface is gone
        method(); // there has never been a user-interface thread to run it on
        WaitWhileSuspended();
        return;
    }
    {
        std::unique_lock<std::mutex> lock(call->mutex);
        call->done.wait(lock, [&] { return call->finished; });
    }
    if (call->error) std::rethrow_exception(call->error);
    WaitWhileSuspended();
}

} // namespace platform
