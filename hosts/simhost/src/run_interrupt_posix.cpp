// Ctrl-C on Linux: SIGINT is taken by a thread of its own, which may call into the target.
#include <pthread.h>
#include <signal.h>

#include <thread>

#include "run_interrupt.h"

namespace simhost {

void RunInterrupt::CatchCtrlC() {
    // Blocked here, the signal stays blocked in every thread started later (the plug-ins' too),
    // so only the waiting thread below takes it; a signal handler could not call the target.
    sigset_t interrupt;
    sigemptyset(&interrupt);
    sigaddset(&interrupt, SIGINT);
    if (pthread_sigmask(SIG_BLOCK, &interrupt, nullptr) != 0) {
        return;
    }
    std::thread([interrupt] {
        for (;;) {
            int number = 0;
            if (sigwait(&interrupt, &number) != 0 || Deliver()) {
                continue;
            }
            // No run to break into: end as the signal ends a program, for the shell to see.
            ::signal(SIGINT, SIG_DFL);
            pthread_sigmask(SIG_UNBLOCK, &interrupt, nullptr);
            raise(SIGINT);
        }
    }).detach();
}

}  // namespace simhost
