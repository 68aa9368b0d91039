#pragma once
// An unnamed Win32 event owned by the object.

#include "platform/unique_resource.h"

namespace platform {

class Event {
public:
    enum class Reset { Manual, Automatic };

    // Creates the event; IsValid() tells whether the system gave one.
    Event(Reset reset, bool initiallySignalled)
        : handle_(::CreateEventW(nullptr, reset == Reset::Manual, initiallySignalled, nullptr)) {}

    bool IsValid() const { return handle_.IsValid(); }
    HANDLE Get() const { return handle_.Get(); }
    void Set() const { ::SetEvent(handle_.Get()); }
    void Clear() const { ::ResetEvent(handle_.Get()); }
    bool IsSet() const { return Wait(0); }
    // True when the event was signalled within `milliseconds`.
    bool Wait(DWORD milliseconds) const {
        return ::WaitForSingleObject(handle_.Get(), milliseconds) == WAIT_OBJECT_0;
    }

private:
    UniqueHandle handle_;
};

} // namespace platform
