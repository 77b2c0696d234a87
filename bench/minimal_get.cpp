// The plainest WinHTTP GET there is, for comparison with the checker's fetch on the
// same stack: open, connect, send, receive, read to the end. Prints the median of N.
//   minimal_get.exe HOST PORT PATH [RUNS]
#include <windows.h>
#include <winhttp.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

bool Get(const wchar_t* host, INTERNET_PORT port, const wchar_t* path) {
    HINTERNET session = ::WinHttpOpen(L"minimal", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                                      WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0);
    HINTERNET connection = session ? ::WinHttpConnect(session, host, port, 0) : nullptr;
    HINTERNET request =
        connection ? ::WinHttpOpenRequest(connection, L"GET", path, nullptr, WINHTTP_NO_REFERER,
                                          WINHTTP_DEFAULT_ACCEPT_TYPES, 0)
                   : nullptr;
    bool ok = request &&
              ::WinHttpSendRequest(request, WINHTTP_NO_ADDITIONAL_HEADERS, 0,
                                   WINHTTP_NO_REQUEST_DATA, 0, 0, 0) &&
              ::WinHttpReceiveResponse(request, nullptr);
    char buffer[4096];
    for (DWORD got = 1; ok && got;)
        ok = ::WinHttpReadData(request, buffer, sizeof buffer, &got);
    for (HINTERNET h : {request, connection, session})
        if (h) ::WinHttpCloseHandle(h);
    return ok;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) return 2;
    const int runs = argc > 4 ? _wtoi(argv[4]) : 20;
    LARGE_INTEGER f, a, b;
    ::QueryPerformanceFrequency(&f);
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        ::QueryPerformanceCounter(&a);
        if (!Get(argv[1], static_cast<INTERNET_PORT>(_wtoi(argv[2])), argv[3])) return 1;
        ::QueryPerformanceCounter(&b);
        times.push_back(1000.0 * (b.QuadPart - a.QuadPart) / f.QuadPart);
    }
    std::sort(times.begin(), times.end());
    std::printf("%.2f\n", times[times.size() / 2]);
    return 0;
}
