// setup.exe throws no exceptions. Should the C++ runtime still end the program (out of memory in a
// container, say), it ends at once with the failure exit code, instead of through the runtime's
// verbose handler, whose name demangler alone would make the program a sixth larger.
#include "app/exit_codes.h"

#include <windows.h>

namespace __gnu_cxx {

void __verbose_terminate_handler() {
    ExitProcess(kExitFailure);
}

} // namespace __gnu_cxx
