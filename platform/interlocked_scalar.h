#pragma once
// A value guarded by its own lock, for flags that one thread sets and another polls (the cancel
// requests of the worker and of the transfer).

#include "platform/critical_section.h"

namespace platform {

template <typename T>
class CInterlockedType {
public:
    explicit CInterlockedType(T initial = T()) : value_(initial) {}
    virtual ~CInterlockedType() = default;
    CInterlockedType(const CInterlockedType&) = delete;
    CInterlockedType& operator=(const CInterlockedType&) = delete;

protected:
    mutable CriticalSection lock_;
    T value_;
};

template <typename T>
class CInterlockedScalar : private CInterlockedType<T> {
public:
    explicit CInterlockedScalar(T initial = T()) : CInterlockedType<T>(initial) {}

    // Stores `value` when it differs from the held one and then tells OnChange; returns the value
    // now held.
    T Set(T value) {
        ScopedLock lock(this->lock_);
        if (!(value == this->value_)) {
            const T old = this->value_;
            this->value_ = value;
            OnChange(old, value);
        }
        return this->value_;
    }

    T Get() const {
        ScopedLock lock(this->lock_);
        return this->value_;
    }

protected:
    // Called under the lock after a change.
    virtual void OnChange(T /*oldValue*/, T /*newValue*/) {}
};

} // namespace platform
