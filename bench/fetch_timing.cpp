// Times FetchAndFind against a URL: the median of N fetches; or, with a deadline,
// how far past it a fetch from a silent or trickling server returns, and the peak
// working set it reached.
//   fetch_timing.exe URL [RUNS]          -> median ms
//   fetch_timing.exe URL --deadline MS   -> elapsed ms, peak working set KiB
#include "checks/web_fetch.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <vector>

int wmain(int argc, wchar_t** argv) {
    using namespace skelvane;
    if (argc < 2) return 2;
    LARGE_INTEGER f, a, b;
    ::QueryPerformanceFrequency(&f);
    if (argc > 3 && std::wcscmp(argv[2], L"--deadline") == 0) {
        const unsigned deadline = static_cast<unsigned>(_wtoi(argv[3]));
        ::QueryPerformanceCounter(&a);
        const FetchResult r = FetchAndFind(argv[1], "QuorrelApp.application", deadline);
        ::QueryPerformanceCounter(&b);
        PROCESS_MEMORY_COUNTERS counters{};
        ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
        std::printf("%.0f %zu %d\n", 1000.0 * (b.QuadPart - a.QuadPart) / f.QuadPart,
                    static_cast<std::size_t>(counters.PeakWorkingSetSize / 1024),
                    static_cast<int>(r.outcome));
        return 0;
    }
    const int runs = argc > 2 ? _wtoi(argv[2]) : 20;
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        ::QueryPerformanceCounter(&a);
        const FetchResult r = FetchAndFind(argv[1], "QuorrelApp.application", 20000);
        ::QueryPerformanceCounter(&b);
        if (r.outcome != FetchOutcome::Found) return 1;
        times.push_back(1000.0 * (b.QuadPart - a.QuadPart) / f.QuadPart);
    }
    std::sort(times.begin(), times.end());
    std::printf("%.2f\n", times[times.size() / 2]);
    return 0;
}
