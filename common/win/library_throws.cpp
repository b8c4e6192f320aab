// Replaces the helpers through which libstdc++'s templates raise their
// exceptions, for a program whose own code is a few kilobytes. The library's
// helpers build each std::logic_error with its message in a std::string, and
// that pulls the library's prebuilt string classes and exception types into
// a static program: some 85 KB that kelmo.exe would carry for errors it never
// shows. Here a failed allocation still throws std::bad_alloc, and every
// other helper throws an exception of no standard type; the program's
// handlers report both as they report any failure (CurrentFailure). The
// names are libstdc++'s own: defining them here is what replaces the
// library's, and a helper left out shows at link time as a duplicate symbol.
#include <new>

namespace {
struct LibraryPreconditionFailure {};
}  // namespace

// NOLINTBEGIN(bugprone-reserved-identifier): the names are the library's.
namespace std {
[[noreturn]] void __throw_bad_alloc() { throw std::bad_alloc(); }
[[noreturn]] void __throw_bad_array_new_length() { throw std::bad_alloc(); }
[[noreturn]] void __throw_length_error(const char*) { throw LibraryPreconditionFailure(); }
[[noreturn]] void __throw_logic_error(const char*) { throw LibraryPreconditionFailure(); }
[[noreturn]] void __throw_out_of_range_fmt(const char*, ...) { throw LibraryPreconditionFailure(); }
[[noreturn]] void __throw_bad_function_call() { throw LibraryPreconditionFailure(); }
}  // namespace std
// NOLINTEND(bugprone-reserved-identifier)
