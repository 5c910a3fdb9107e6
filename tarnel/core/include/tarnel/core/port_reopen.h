// Opening a port again at another rate through the object that owns its handle.
#pragma once

#include "comms/comms.h"

// Closes `port` and opens it again with its settings at `baud`, then gives it back the
// time-outs it had before. `port` must own its handle: an object built around a borrowed handle
// would close the owner's handle and leave the owner with a dead one. The result of the open (a
// CommsResult), or of restoring the time-outs.
int ReopenPortAt(CComms& port, DWORD baud);
