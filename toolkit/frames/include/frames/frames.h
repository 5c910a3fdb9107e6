// The toolkit frames: every public header of their window part.
#pragma once

#include "frames/resource.h"
#include "frames/mdi_frame.h"
#include "frames/mdi_child.h"
