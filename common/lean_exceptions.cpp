// The standard library throws its logic errors (a substring past the end, a string too
// long) through these functions. Its own versions build std::logic_error and its kin
// around a reference-counted string, which brought about 85 KB of library code into
// each program. Nothing here ever shows those messages: every check that throws has simply
// not passed. These throw one small exception that keeps the library's fixed text.
#include <exception>
#include <new>

namespace {

class LibraryError : public std::exception {
  public:
    explicit LibraryError(const char* what) noexcept : what_(what ? what : "library error") {}
    const char* what() const noexcept override { return what_; }

  private:
    const char* what_; // the library passes string literals
};

} // namespace

namespace std {

void __throw_bad_alloc() {
    throw bad_alloc();
}
void __throw_bad_array_new_length() {
    throw bad_array_new_length();
}
void __throw_bad_cast() {
    throw LibraryError("bad cast");
}
void __throw_bad_typeid() {
    throw LibraryError("bad typeid");
}
void __throw_bad_exception() {
    throw bad_exception();
}
void __throw_logic_error(const char* s) {
    throw LibraryError(s);
}
void __throw_domain_error(const char* s) {
    throw LibraryError(s);
}
void __throw_invalid_argument(const char* s) {
    throw LibraryError(s);
}
void __throw_length_error(const char* s) {
    throw LibraryError(s);
}
void __throw_out_of_range(const char* s) {
    throw LibraryError(s);
}
void __throw_out_of_range_fmt(const char* s, ...) {
    throw LibraryError(s);
}
void __throw_runtime_error(const char* s) {
    throw LibraryError(s);
}
void __throw_range_error(const char* s) {
    throw LibraryError(s);
}
void __throw_overflow_error(const char* s) {
    throw LibraryError(s);
}
void __throw_underflow_error(const char* s) {
    throw LibraryError(s);
}

} // namespace std
