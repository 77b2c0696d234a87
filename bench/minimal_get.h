#pragma once
// The plainest WinHTTP GET there is, for comparison with the checker's fetch on the same
// stack: open, connect, send, receive, read to the end.
#include <windows.h>
#include <winhttp.h>

inline bool MinimalGet(const wchar_t* host, INTERNET_PORT port, const wchar_t* path) {
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
