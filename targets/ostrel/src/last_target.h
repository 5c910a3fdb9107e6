// The most recently created target of the plug-in, which the kernel loader's progress relay
// writes its messages to.
#pragma once

namespace ostrel {

class C8051Target;

void SetLastTarget(C8051Target* target);
// Null when no target was created, or the last one has been destroyed.
C8051Target* GetLastTarget();
// Called by a target's destructor: forgets it when it is the one remembered.
void ForgetLastTarget(const C8051Target* target);

}  // namespace ostrel
