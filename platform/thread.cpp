#include "platform/thread.h"

#include "platform/event.h"

#include <process.h>

#include <memory>

namespace platform {
namespace {

ThreadObserver g_observer;

struct ThreadStart {
    std::function<unsigned()> body;
    Event running{Event::Reset::Manual, false};
};

unsigned __stdcall ThreadEntry(void* parameter) {
    // The starter waits on `running`, so the block stays valid until it is set; the body is moved
    // out first because the starter may free the block as soon as the event is signalled.
    auto* start = static_cast<ThreadStart*>(parameter);
    std::function<unsigned()> body = std::move(start->body);
    const ThreadObserver observer = g_observer;
    if (observer.started)
        observer.started(observer.context);
    start->running.Set();
    const unsigned result = body();
    if (observer.ending)
        observer.ending(observer.context);
    return result;
}

} // namespace

void SetThreadObserver(const ThreadObserver& observer) {
    g_observer = observer;
}

UniqueHandle StartThread(std::function<unsigned()> body, DWORD* threadId) {
    auto start = std::make_unique<ThreadStart>();
    if (!start->running.IsValid())
        return UniqueHandle();
    start->body = std::move(body);
    unsigned id = 0;
    UniqueHandle thread(
        reinterpret_cast<HANDLE>(::_beginthreadex(nullptr, 0, &ThreadEntry, start.get(), 0, &id)));
    if (!thread)
        return thread;
    const HANDLE waits[] = {start->running.Get(), thread.Get()};
    ::WaitForMultipleObjects(2, waits, FALSE, INFINITE);
    if (threadId)
        *threadId = id;
    return thread;
}

} // namespace platform
