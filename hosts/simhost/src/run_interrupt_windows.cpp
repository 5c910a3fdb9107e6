// Ctrl-C on Windows: the system calls the console's control handler on a thread of its own.
#include <windows.h>

#include "run_interrupt.h"

namespace simhost {

namespace {

BOOL WINAPI OnConsoleControl(DWORD kind) {
    if (kind != CTRL_C_EVENT && kind != CTRL_BREAK_EVENT) {
        return FALSE;
    }
    // FALSE passes the key on to the system's own handler, which ends the program.
    return RunInterrupt::Deliver() ? TRUE : FALSE;
}

}  // namespace

void RunInterrupt::CatchCtrlC() { SetConsoleCtrlHandler(OnConsoleControl, TRUE); }

}  // namespace simhost
