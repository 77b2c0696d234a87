#pragma once
// A span of time measured with the performance counter (always there from XP on). The
// tick count moves in steps of about 16 ms, so a span measured with it can end up to a
// step early.
#include <windows.h>

#include <cstdint>

namespace skelvane {

class Deadline {
  public:
    explicit Deadline(DWORD budgetMs) : budgetMs_(budgetMs) {
        LARGE_INTEGER frequency{};
        ::QueryPerformanceFrequency(&frequency);
        frequency_ = frequency.QuadPart > 0 ? static_cast<std::uint64_t>(frequency.QuadPart) : 1;
        start_ = Now();
    }

    // What is left of the budget, rounded up: 0 only once all of it has passed.
    DWORD Remaining() const {
        const std::uint64_t elapsed = Now() - start_;
        const std::uint64_t budget = std::uint64_t{budgetMs_} * frequency_;
        if (elapsed * 1000 >= budget) return 0;
        return static_cast<DWORD>((budget - elapsed * 1000 + frequency_ - 1) / frequency_);
    }

  private:
    static std::uint64_t Now() {
        LARGE_INTEGER now{};
        ::QueryPerformanceCounter(&now);
        return static_cast<std::uint64_t>(now.QuadPart);
    }

    DWORD budgetMs_;
    std::uint64_t frequency_;
    std::uint64_t start_;
};

} // namespace skelvane
