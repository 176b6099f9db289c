// setup.exe throws no exceptions of its own. Should the C++ runtime still end the program (an
// exception that nothing catches), it ends at once with the failure exit code, instead of through
// the runtime's verbose handler, whose name demangler alone would make the program a sixth larger.
#include "app/exit_codes.h"

#include <windows.h>

#include <bits/functexcept.h>

namespace __gnu_cxx {

void __verbose_terminate_handler() {
    ExitProcess(kExitFailure);
}

} // namespace __gnu_cxx

// The library's reports of requests that no string or container can carry out (more elements than
// it can ever hold, a position past its end, a string made from a null pointer) end the program
// the same way. setup never makes such a request: its paths and texts are bounded before they
// reach a container. The library's own versions would bring in its whole set of exception classes
// and their strings, a fifth of the program. Memory that runs out is not among them: operator new
// itself still throws std::bad_alloc, which the framework's window procedures catch where it is
// thrown inside the framework; anywhere else (the layers above are built without exceptions) it
// ends the program through the handler above; only an allocator asked for more than its largest
// size ends here. Should a later change use a part of the library that
// needs one more of these reports, the link fails with a "multiple definition" of them: the new
// one then belongs here too.
namespace std {

void __throw_bad_alloc() {
    ExitProcess(kExitFailure);
}

void __throw_bad_array_new_length() {
    ExitProcess(kExitFailure);
}

void __throw_length_error(const char*) {
    ExitProcess(kExitFailure);
}

void __throw_logic_error(const char*) {
    ExitProcess(kExitFailure);
}

void __throw_out_of_range(const char*) {
    ExitProcess(kExitFailure);
}

void __throw_out_of_range_fmt(const char*, ...) {
    ExitProcess(kExitFailure);
}

void __throw_invalid_argument(const char*) {
    ExitProcess(kExitFailure);
}

} // namespace std
