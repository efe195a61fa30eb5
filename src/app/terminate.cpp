// The program's own end for an exception that nothing caught. Every window
// procedure and callback catches at its edge, so this is reached only
// through a fault of the program itself. The toolchain's default prints the
// exception's type, demangled, on standard error, which a program without a
// console does not have, and it links the demangler into the program, which
// makes Setup.exe larger for a text no one sees. Defined here, the linker
// takes this one and leaves the default out.
#include <cstdlib>

namespace __gnu_cxx {

void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx
