// Replaces the functions through which libstdc++'s containers and strings
// throw (a length past max_size(), a position out of range, no memory). The
// library keeps them in one object file that builds its logic_error family
// with formatted messages, and so brings along its stdexcept classes, its
// copy-on-write string and what they use: some 85 KB of each program. The
// programs' handlers read no what(): CurrentFailure reports every exception
// but a kelmo::Failure and std::bad_alloc as the same unexpected failure, so
// a plain std::exception says all that is read. Only the functions the
// program reaches are defined: a use of another one brings the library's
// file back, and the link then fails on the duplicates instead of growing.
#include <bits/functexcept.h>

#include <exception>
#include <new>

// The names are libstdc++'s own: defining them here is what replaces the library's.
// NOLINTBEGIN(bugprone-reserved-identifier)
namespace std {
void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_alloc(); }
void __throw_length_error(const char*) { throw exception(); }
void __throw_logic_error(const char*) { throw exception(); }
void __throw_out_of_range_fmt(const char*, ...) { throw exception(); }
void __throw_bad_function_call() { throw exception(); }
}  // namespace std
// NOLINTEND(bugprone-reserved-identifier)
