// Replaces libstdc++'s verbose terminate handler, which prints the type of
// an uncaught exception through the C++ demangler: a GUI program has no
// console to print to, and the demangler alone would add some 50 KB to each
// executable. An uncaught exception still ends the program through abort().
#include <cstdlib>

namespace __gnu_cxx {
// The name is libstdc++'s own: defining it here is what replaces the library's.
void __verbose_terminate_handler() { std::abort(); }  // NOLINT(bugprone-reserved-identifier)
}  // namespace __gnu_cxx
