// The module-level pointer to the most recently created target.
#include "last_target.h"

namespace ostrel {

namespace {
C8051Target* g_lastTarget = nullptr;
}  // namespace

void SetLastTarget(C8051Target* target) { g_lastTarget = target; }

C8051Target* GetLastTarget() { return g_lastTarget; }

void ForgetLastTarget(const C8051Target* target) {
    if (g_lastTarget == target) {
        g_lastTarget = nullptr;
    }
}

}  // namespace ostrel
