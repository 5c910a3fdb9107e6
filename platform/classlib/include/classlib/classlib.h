// The whole class library: include this from the program's windows, documents and toolkits.
#pragma once

#include "classlib/portable.h"
#include "classlib/ids.h"

#if defined(_WIN32)
#include "classlib/cmdtarget.h"
#include "classlib/gdi.h"
#include "classlib/menu.h"
#include "classlib/imagelist.h"
#include "classlib/wnd.h"
#include "classlib/controls.h"
#include "classlib/app.h"
#include "classlib/frame.h"
#include "classlib/docview.h"
#include "classlib/hooks.h"
#include "classlib/dialog.h"
#include "classlib/doctempl.h"
#include "classlib/mdi.h"
#include "classlib/controlbar.h"
#include "classlib/statusbar.h"
#include "classlib/toolbar.h"
#include "classlib/dialogbar.h"
#include "classlib/dockbar.h"
#include "classlib/dockstate.h"
#include "classlib/auxdata.h"
#include "classlib/thread_state.h"
#endif
