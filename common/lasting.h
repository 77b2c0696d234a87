#pragma once
// Process-wide state the fetch workers share: made on first use and never destroyed, as
// a worker may still be using it while the process ends.
#include <windows.h>

namespace skelvane {

template <typename T> T& Lasting() {
    static T* volatile instance = nullptr;
    if (!instance) {
        auto* made = new T;
        if (::InterlockedCompareExchangePointer(reinterpret_cast<void* volatile*>(&instance), made,
                                                nullptr))
            delete made; // another thread made it first
    }
    return *instance;
}

// Holds a critical section for a scope.
class Locked {
  public:
    explicit Locked(CRITICAL_SECTION& lock) : lock_(lock) { ::EnterCriticalSection(&lock_); }
    ~Locked() { ::LeaveCriticalSection(&lock_); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;

  private:
    CRITICAL_SECTION& lock_;
};

} // namespace skelvane
