// The platform-independent part of the class library: objects, texts, geometry, collections.
#pragma once

#include "classlib/types.h"
#include "classlib/object.h"
#include "classlib/exceptions.h"
#include "classlib/cstring.h"
#include "classlib/geometry.h"
#include "classlib/collections.h"
#include "classlib/maps.h"
#include "classlib/recent_files.h"
#include "classlib/timeval.h"
#include "classlib/file.h"
#include "classlib/archive.h"
#include "classlib/ddx_numbers.h"
#include "classlib/toolbar_wrap.h"
#include "classlib/toolbar_resource.h"
#include "classlib/dock_rows.h"
