// Times FetchAndFind against a URL: alternated with a minimal WinHTTP GET of the same
// page; or, with a deadline, how far past it a fetch from a silent or trickling server
// returns, and the peak working set it reached.
//   fetch_timing.exe URL --paired ROUNDS -> the per-round ratio of the fetch's time to the
//       minimal GET's (median, lower and upper quartile, min, max), then each one's median
//       ms. Within a round the two go one after the other, in turns first, after warm-up
//       rounds that are not counted.
//   fetch_timing.exe URL --deadline MS   -> elapsed ms, peak working set KiB
#include "checks/web_fetch.h"
#include "minimal_get.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <vector>

namespace {

using namespace skelvane;

constexpr char kMarker[] = "QuorrelApp.application";

double Milliseconds(const std::function<bool()>& work, bool& ok) {
    LARGE_INTEGER f, a, b;
    ::QueryPerformanceFrequency(&f);
    ::QueryPerformanceCounter(&a);
    ok = work() && ok;
    ::QueryPerformanceCounter(&b);
    return 1000.0 * static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(f.QuadPart);
}

// The value at a fraction of the way through sorted values.
double At(std::vector<double> values, double fraction) {
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1) +
                                           0.5)];
}

int Paired(const wchar_t* url, int rounds) {
    const auto parsed = ParseUrl(url);
    if (!parsed || parsed->secure) return 2;
    const std::function<bool()> minimal = [&] {
        return MinimalGet(parsed->host.c_str(), parsed->port, parsed->path.c_str());
    };
    const std::function<bool()> fetch = [&] {
        return FetchAndFind(url, kMarker, 20000).outcome == FetchOutcome::Found;
    };
    constexpr int kWarmUp = 5;
    std::vector<double> ratios, fetches, minimals;
    bool ok = true;
    for (int round = -kWarmUp; round < rounds; ++round) {
        const bool fetchFirst = round % 2 == 0;
        const double first = Milliseconds(fetchFirst ? fetch : minimal, ok);
        const double second = Milliseconds(fetchFirst ? minimal : fetch, ok);
        if (round < 0) continue;
        const double f = fetchFirst ? first : second, m = fetchFirst ? second : first;
        fetches.push_back(f);
        minimals.push_back(m);
        ratios.push_back(f / m);
    }
    if (!ok || ratios.empty()) return 1;
    std::printf("%.3f %.3f %.3f %.3f %.3f %.2f %.2f\n", At(ratios, 0.5), At(ratios, 0.25),
                At(ratios, 0.75), At(ratios, 0), At(ratios, 1), At(fetches, 0.5),
                At(minimals, 0.5));
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) return 2;
    if (std::wcscmp(argv[2], L"--paired") == 0) return Paired(argv[1], _wtoi(argv[3]));
    if (std::wcscmp(argv[2], L"--deadline") == 0) {
        FetchResult r;
        bool ok = true;
        const double ms = Milliseconds(
            [&] { return r = FetchAndFind(argv[1], kMarker, _wtoi(argv[3])), true; }, ok);
        PROCESS_MEMORY_COUNTERS counters{};
        ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
        std::printf("%.0f %zu %d\n", ms,
                    static_cast<std::size_t>(counters.PeakWorkingSetSize / 1024),
                    static_cast<int>(r.outcome));
        return 0;
    }
    return 2;
}
