#pragma once
// The system's own program-files folders, where installers put what they install.
#include <string>

namespace skelvane {

struct ProgramFilesFolders {
    std::wstring x86; // where 32-bit programs install
    std::wstring x64; // where 64-bit programs install; empty text on 32-bit Windows
};

// The folders as the registry records them, for both builds alike; empty text for one it
// does not name.
ProgramFilesFolders SystemProgramFiles();

} // namespace skelvane
