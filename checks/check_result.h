#pragma once
#include <string>

namespace skelvane {

// What a check found: pass or fail, and a short reason a person can act on.
struct CheckResult {
    bool passed = false;
    std::wstring reason;
};

inline CheckResult Pass(std::wstring reason) {
    return {true, std::move(reason)};
}
inline CheckResult Fail(std::wstring reason) {
    return {false, std::move(reason)};
}

} // namespace skelvane
