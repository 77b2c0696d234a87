#include "loopback_server.h"

#include <winsock2.h>

#include <algorithm>
#include <cstring>

namespace skelvane::test {

namespace {

struct WinsockUser {
    WinsockUser() {
        WSADATA data;
        ::WSAStartup(MAKEWORD(2, 2), &data);
    }
    ~WinsockUser() { ::WSACleanup(); }
};

bool SendAll(SOCKET s, const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const int n = ::send(s, bytes.data() + sent, static_cast<int>(bytes.size() - sent), 0);
        if (n <= 0) return false;
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

std::string Page(int status, const std::string& body, const std::string& extra = "") {
    return "HTTP/1.1 " + std::to_string(status) + (status == 200 ? " OK" : " Other") +
           "\r\nContent-Type: text/html\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\nConnection: close\r\n" + extra + "\r\n" + body;
}

std::string Redirect(const std::string& location) {
    return Page(302, "moved", "Location: " + location + "\r\n");
}

struct Connection {
    LoopbackServer* server;
    SOCKET socket;
};

} // namespace

LoopbackServer::LoopbackServer(unsigned short port, std::string answer)
    : answer_(std::move(answer)) {
    static WinsockUser winsock;
    ::InitializeCriticalSection(&lock_);
    SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    int length = sizeof address;
    if (s == INVALID_SOCKET ||
        ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(s, 16) != 0 ||
        ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        if (s != INVALID_SOCKET) ::closesocket(s);
        return;
    }
    listener_ = s;
    port_ = ntohs(address.sin_port);
    acceptThread_ = ::CreateThread(nullptr, 0, &AcceptLoop, this, 0, nullptr);
}

LoopbackServer::~LoopbackServer() {
    ::InterlockedExchange(&stopping_, 1);
    if (running()) ::closesocket(listener_);
    if (acceptThread_) {
        ::WaitForSingleObject(acceptThread_, 5000);
        ::CloseHandle(acceptThread_);
    }
    ::EnterCriticalSection(&lock_);
    for (UINT_PTR c : clients_)
        ::shutdown(c, SD_BOTH);
    std::vector<HANDLE> threads = threads_;
    ::LeaveCriticalSection(&lock_);
    for (HANDLE t : threads) {
        ::WaitForSingleObject(t, 5000);
        ::CloseHandle(t);
    }
    ::DeleteCriticalSection(&lock_);
}

std::wstring LoopbackServer::Url(const std::wstring& path) const {
    return L"http://127.0.0.1:" + std::to_wstring(port_) + path;
}

DWORD WINAPI LoopbackServer::AcceptLoop(void* self) {
    auto* server = static_cast<LoopbackServer*>(self);
    for (;;) {
        SOCKET client = ::accept(server->listener_, nullptr, nullptr);
        if (client == INVALID_SOCKET) return 0;
        ::EnterCriticalSection(&server->lock_);
        server->clients_.push_back(client);
        auto* connection = new Connection{server, client};
        server->threads_.push_back(::CreateThread(nullptr, 0, &Serve, connection, 0, nullptr));
        ::LeaveCriticalSection(&server->lock_);
    }
}

DWORD WINAPI LoopbackServer::Serve(void* context) {
    auto* connection = static_cast<Connection*>(context);
    std::string request;
    char buffer[2048];
    const bool hangUp = connection->server->answer_ == kHangUp;
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
        const int n = ::recv(connection->socket, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        request.append(buffer, n);
        if (hangUp) break;
    }
    const std::size_t start = request.find(' ') + 1, end = request.find(' ', start);
    if (!hangUp && start != 0 && end != std::string::npos) {
        ::InterlockedIncrement(&connection->server->requests_);
        // Up to the protocol name, so a raw space inside the target counts too.
        const std::size_t line = std::min(request.find(" HTTP/", start), request.find('\r'));
        for (std::size_t i = start; i < line && i < request.size(); ++i)
            if (static_cast<unsigned char>(request[i]) <= ' ' ||
                static_cast<unsigned char>(request[i]) >= 0x7F) {
                ::InterlockedIncrement(&connection->server->rawTargets_);
                break;
            }
        connection->server->Respond(connection->socket, request.substr(start, end - start),
                                    request);
    }
    ::shutdown(connection->socket, SD_SEND);
    ::closesocket(connection->socket);
    delete connection;
    return 0;
}

void LoopbackServer::Respond(UINT_PTR client, const std::string& path, const std::string& request) {
    const SOCKET s = client;
    auto asked = [&](const char* header) { return request.find(header) != std::string::npos; };
    const std::string gzipped = Page(200, kMarkerPage, "Content-Encoding: gzip\r\n");
    if (answer_ == kHostile) {
        SendAll(s, path.starts_with("/x") ? Page(200, kMarkerPage) : Redirect(kHostileLocation));
    } else if (answer_ == kSilence || path == "/silent") {
        while (!stopping_)
            ::Sleep(20);
    } else if (!answer_.empty()) {
        SendAll(s, answer_);
    } else if (path.find("/./") != std::string::npos || path.find("/../") != std::string::npos) {
        SendAll(s, Page(404, "taken literally"));
    } else if (path == "/marker" || path == "/install/QuorrelApp/publish.htm" ||
               path == "/final/page.htm") {
        SendAll(s, Page(200, kMarkerPage));
    } else if (path == "/plain") {
        SendAll(s, Page(200, "<html><body>A sign-in page, nothing else.</body></html>"));
    } else if (path == "/missing") {
        SendAll(s, Page(404, kMarkerPage));
    } else if (path == "/redirect") {
        SendAll(s, Redirect("/marker"));
    } else if (path == "/redirect-absolute") {
        SendAll(s, Redirect("http://127.0.0.1:" + std::to_string(port_) + "/marker"));
    } else if (path == "/install/QuorrelApp/dots") {
        SendAll(s, Redirect("../../final/./page.htm"));
    } else if (path == "/guarded") {
        SendAll(s, asked("Cookie: seen=1") ? Page(200, kMarkerPage) : Redirect("/check"));
    } else if (path == "/check") {
        SendAll(s, Page(302, "checked", "Location: /guarded\r\nSet-Cookie: seen=1; Path=/\r\n"));
    } else if (path == "/compressing") {
        SendAll(s, asked("Accept-Encoding: identity") ? Page(200, kMarkerPage) : gzipped);
    } else if (path == "/gzip") {
        SendAll(s, gzipped);
    } else if (path == "/loop") {
        SendAll(s, Redirect("/loop"));
    } else if (path.starts_with("/chain/")) {
        const int left = std::atoi(path.c_str() + 7);
        SendAll(s,
                left > 0 ? Redirect("/chain/" + std::to_string(left - 1)) : Page(200, kMarkerPage));
    } else if (path == "/trickle") {
        SendAll(s, "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nConnection: close\r\n\r\n");
        while (!stopping_ && SendAll(s, "x"))
            ::Sleep(50);
    } else if (path == "/big") {
        std::string head = "HTTP/1.1 200 OK\r\nContent-Length: " +
                           std::to_string(8 * 1024 * 1024 + sizeof kMarkerPage - 1) +
                           "\r\nConnection: close\r\n\r\n";
        std::string filler(64 * 1024, 'f');
        bool ok = SendAll(s, head);
        for (int i = 0; ok && i < 128; ++i)
            ok = SendAll(s, filler);
        if (ok) SendAll(s, kMarkerPage);
    } else {
        SendAll(s, Page(404, "no such page"));
    }
}

unsigned short RefusingPort() {
    static WinsockUser winsock;
    SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address;
    ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    ::closesocket(s);
    return ntohs(address.sin_port);
}

} // namespace skelvane::test
