#include "service/read_thread.h"

#include "platform/condition_variable.h"
#include "platform/critical_section.h"
#include "platform/thread.h"

namespace service {

// What the owner and the thread share; the thread keeps it alive after its owner left it.
struct CReadThread::Shared {
    platform::CriticalSection lock;
    platform::ConditionVariable changed;
    std::function<void()> read; // handed over and not yet taken
    bool running = false;       // taken and not yet done with
    bool quit = false;

    // Waits for a read; an empty function once the owner asks the thread to end.
    std::function<void()> Take() {
        platform::ScopedLock hold(lock);
        while (!read && !quit)
            changed.Wait(lock, INFINITE);
        std::function<void()> taken;
        if (!quit) {
            taken.swap(read);
            running = true;
        }
        return taken;
    }

    void Done() {
        platform::ScopedLock hold(lock);
        running = false;
        changed.WakeAll();
    }

    void Quit() {
        platform::ScopedLock hold(lock);
        quit = true;
        changed.WakeAll();
    }
};

CReadThread::~CReadThread() {
    if (!shared_)
        return;
    shared_->Quit();
    ::WaitForSingleObject(thread_.Get(), INFINITE);
}

unsigned CReadThread::Run(const std::shared_ptr<Shared>& shared) {
    for (;;) {
        std::function<void()> read = shared->Take();
        if (!read)
            return 0;
        read();
        // What the read holds goes here, on this thread, also when the owner has left it.
        read = nullptr;
        shared->Done();
    }
}

void CReadThread::Start(std::function<void()> read) {
    if (!shared_) {
        auto shared = std::make_shared<Shared>();
        thread_ = platform::StartThread([shared] { return Run(shared); });
        if (!thread_) {
            read();
            return;
        }
        shared_ = std::move(shared);
    }
    platform::ScopedLock hold(shared_->lock);
    shared_->read = std::move(read);
    shared_->changed.WakeAll();
}

bool CReadThread::WaitFor(DWORD milliseconds) {
    if (!shared_)
        return true; // the read ran in Start
    platform::ScopedLock hold(shared_->lock);
    if (shared_->read || shared_->running)
        shared_->changed.Wait(shared_->lock, milliseconds);
    return !shared_->read && !shared_->running;
}

void CReadThread::Leave() {
    if (!shared_)
        return;
    shared_->Quit();
    shared_.reset();
    thread_.Reset();
}

} // namespace service
