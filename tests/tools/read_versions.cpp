// Reads one damaged copy of a file with the version reader, for a test that must see a
// crash, a corrupted heap or a hang as a failure: it runs this as a child process, one
// per copy, so nothing one read leaves behind can hide the damage of the next.
// Usage: read_versions ORIGINAL "put OFFSET HEXBYTES" | "cut SIZE" COPY
// Prints read, failed or damaged. Exit code 0, or 2 for bad arguments, 3 for a heap
// that no longer validates, 4 when the copy cannot be written, 5 for a crash.
#include "checks/version_info.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

bool HeapsValid() {
    HANDLE heaps[64];
    const DWORD count = ::GetProcessHeaps(64, heaps);
    for (DWORD i = 0; i < count && i < 64; ++i)
        if (!::HeapValidate(heaps[i], 0, nullptr)) return false;
    return true;
}

bool Apply(std::string& bytes, const std::string& damage) {
    std::istringstream words(damage);
    std::string verb, hex;
    std::size_t at = 0;
    words >> verb >> at >> hex;
    if (verb == "cut") {
        bytes.resize(std::min(at, bytes.size()));
        return true;
    }
    if (verb != "put" || hex.empty() || hex.size() % 2) return false;
    for (std::size_t i = 0; i < hex.size() / 2 && at + i < bytes.size(); ++i)
        bytes[at + i] = static_cast<char>(std::stoi(hex.substr(2 * i, 2), nullptr, 16));
    return true;
}

LONG WINAPI Crashed(EXCEPTION_POINTERS*) {
    std::printf("crashed\n");
    std::fflush(stdout);
    ::TerminateProcess(::GetCurrentProcess(), 5);
    return EXCEPTION_EXECUTE_HANDLER;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) return 2;
    ::SetUnhandledExceptionFilter(&Crashed); // no debugger: a crash is an exit code at once
    std::ifstream in(argv[1], std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(in), {}};
    if (bytes.empty() || !Apply(bytes, argv[2])) return 2;
    if (!std::ofstream(argv[3], std::ios::binary).write(bytes.data(), bytes.size())) return 4;

    const std::string path = argv[3];
    skelvane::VersionInfo info;
    const auto result = skelvane::ReadVersionResource({path.begin(), path.end()}, info);
    std::printf("%s\n", result == skelvane::VersionRead::Read     ? "read"
                        : result == skelvane::VersionRead::Failed ? "failed"
                                                                  : "damaged");
    return HeapsValid() ? 0 : 3;
}
