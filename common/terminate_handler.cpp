// The runtime's default terminate handler prints a demangled type name before it
// aborts; replacing it keeps the demangler (about 30 KB) out of the executables.
#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
} // namespace __gnu_cxx
