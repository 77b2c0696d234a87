#include "checks/path_template.h"

namespace skelvane {

std::wstring ReplaceAll(std::wstring_view text, std::wstring_view token, std::wstring_view with) {
    if (token.empty()) return std::wstring{text};
    std::wstring out;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find(token, from)) != std::wstring_view::npos;
         from = at + token.size()) {
        out.append(text.substr(from, at - from));
        out.append(with);
    }
    out.append(text.substr(from));
    return out;
}

} // namespace skelvane
