#include "checks/fetch_workers.h"

#include "common/lasting.h"
#include "common/unique_handle.h"

#include <windows.h>
#include <process.h>

namespace skelvane {

namespace {

constexpr DWORD kIdleMs = 30000; // how long a finished worker waits for more work

struct Worker {
    unique_kernel_handle wake{::CreateEventW(nullptr, FALSE, FALSE, nullptr)};
    std::function<void()> work;
    Worker* nextIdle = nullptr; // the idle list runs through the workers: it never allocates
};

// The process's idle workers. Nothing that can throw runs under its lock.
class Pool {
  public:
    Pool() { ::InitializeCriticalSection(&lock_); }

    bool Run(std::function<void()>& work) {
        if (Worker* worker = TakeIdle()) {
            worker->work = std::move(work);
            ::SetEvent(worker->wake.get());
            return true;
        }
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
    Worker* TakeIdle() {
        const Locked locked(lock_);
        Worker* worker = idle_;
        if (worker) idle_ = worker->nextIdle;
        return worker;
    }
    void PutIdle(Worker* worker) {
        const Locked locked(lock_);
        worker->nextIdle = idle_;
        idle_ = worker;
    }
    // False when the worker is no longer idle: it was handed work meanwhile.
    bool RemoveIdle(Worker* worker) {
        const Locked locked(lock_);
        for (Worker** at = &idle_; *at; at = &(*at)->nextIdle)
            if (*at == worker) {
                *at = worker->nextIdle;
                return true;
            }
        return false;
    }

    static unsigned __stdcall Loop(void* argument) {
        auto* worker = static_cast<Worker*>(argument);
        Pool& pool = Lasting<Pool>();
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
            pool.PutIdle(worker);
            if (::WaitForSingleObject(worker->wake.get(), kIdleMs) == WAIT_OBJECT_0) continue;
            if (pool.RemoveIdle(worker)) break;
            ::WaitForSingleObject(worker->wake.get(), INFINITE); // its work is on the way
        }
        delete worker;
        return 0;
    }

    CRITICAL_SECTION lock_;
    Worker* idle_ = nullptr;
};

} // namespace

bool RunOnWorker(std::function<void()> work) {
    try {
        return Lasting<Pool>().Run(work);
    } catch (...) {
        return false;
    }
}

} // namespace skelvane
