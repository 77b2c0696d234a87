#include "checks/fetch_workers.h"

#include "common/unique_handle.h"

#include <windows.h>
#include <process.h>

#include <algorithm>
#include <vector>

namespace skelvane {

namespace {

constexpr DWORD kIdleMs = 30000; // how long a finished worker waits for more work

struct Worker {
    unique_kernel_handle wake{::CreateEventW(nullptr, FALSE, FALSE, nullptr)};
    std::function<void()> work;
};

// The process's idle workers: the one piece of shared state the fetch keeps, made once
// and never destroyed, as a worker may still be running when the process ends.
class Pool {
  public:
    static Pool& Instance() {
        static Pool* volatile instance = nullptr;
        if (!instance) {
            auto* made = new Pool;
            if (::InterlockedCompareExchangePointer(reinterpret_cast<void* volatile*>(&instance),
                                                    made, nullptr))
                delete made; // another thread made it first
        }
        return *instance;
    }

    bool Run(std::function<void()>& work) {
        ::EnterCriticalSection(&lock_);
        if (!idle_.empty()) {
            Worker* worker = idle_.back();
            idle_.pop_back();
            worker->work = std::move(work);
            ::LeaveCriticalSection(&lock_);
            ::SetEvent(worker->wake.get());
            return true;
        }
        ::LeaveCriticalSection(&lock_);
        auto* worker = new Worker;
        worker->work = std::move(work);
        unique_kernel_handle thread;
        if (worker->wake)
            thread.reset(
                reinterpret_cast<HANDLE>(::_beginthreadex(nullptr, 0, &Loop, worker, 0, nullptr)));
        if (!thread) {
            work = std::move(worker->work);
            delete worker;
            return false;
        }
        return true;
    }

  private:
    Pool() { ::InitializeCriticalSection(&lock_); }

    static unsigned __stdcall Loop(void* argument) {
        auto* worker = static_cast<Worker*>(argument);
        Pool& pool = Instance();
        for (;;) {
            {
                const std::function<void()> work = std::move(worker->work);
                worker->work = nullptr;
                try {
                    work();
                } catch (...) {
                    // the work reports its own failures; a worker outlives them
                }
            } // what the work holds is let go before the worker waits
            ::EnterCriticalSection(&pool.lock_);
            pool.idle_.push_back(worker);
            ::LeaveCriticalSection(&pool.lock_);
            if (::WaitForSingleObject(worker->wake.get(), kIdleMs) == WAIT_OBJECT_0) continue;
            ::EnterCriticalSection(&pool.lock_);
            const auto at = std::find(pool.idle_.begin(), pool.idle_.end(), worker);
            const bool taken = at == pool.idle_.end(); // handed work as the wait ran out
            if (!taken) pool.idle_.erase(at);
            ::LeaveCriticalSection(&pool.lock_);
            if (!taken) break;
            ::WaitForSingleObject(worker->wake.get(), INFINITE);
        }
        delete worker;
        return 0;
    }

    CRITICAL_SECTION lock_;
    std::vector<Worker*> idle_;
};

} // namespace

bool RunOnWorker(std::function<void()> work) {
    try {
        return Pool::Instance().Run(work);
    } catch (...) {
        return false;
    }
}

} // namespace skelvane
