// The docking window toolkit: every public header of its window part.
#pragma once

#include "classlib/classlib.h"
#include "docking/resource.h"
#include "docking/aux_data.h"
#include "docking/draw.h"
#include "docking/mem_dc.h"
#include "docking/control_bar.h"
#include "docking/button.h"
#include "docking/hyperlink.h"
#include "docking/dock_window.h"
#include "docking/dock_bar.h"
#include "docking/splitter_dock.h"
#include "docking/dock_context.h"
#include "docking/mini_dock_frame.h"
#include "docking/tab_view.h"
