// Opening a port again at another rate through the object that owns its handle.
#pragma once

#include "comms/comms.h"

// Closes `port` and opens it again with its settings at `baud`. The port then has the time-outs of
// every open (1000, 1000, 0, 1000, 0), not those it had. `port` must own its handle: an object
// built around a borrowed handle would close the owner's handle and leave the owner with a dead
// one. The result of the open (a CommsResult).
int ReopenPortAt(CComms& port, DWORD baud);
