#pragma once
// What the status boxes say to assistive technology: before a result, then the verdict
// followed by its reason ("failed: directory not found: C:\...").
#include "app/check_table.h"

namespace skelvane {

inline constexpr wchar_t kNotCheckedText[] = L"not checked yet";
inline constexpr wchar_t kPassedText[] = L"passed";
inline constexpr wchar_t kFailedText[] = L"failed";

} // namespace skelvane
