// The wizard run of start-up.
#include "app/exit_codes.h"
#include "app/run_modes.h"

int RunWizard(const wchar_t*, BOOL, BOOL* pRemovalRan) {
    *pRemovalRan = FALSE;
    return kExitSuccess;
}
