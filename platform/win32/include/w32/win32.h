// The whole platform layer: Win32 types, clock, handles, threads, modules and errors.
#pragma once

#include "w32/types.h"
#include "w32/api.h"
#include "w32/clock.h"
#include "w32/handles.h"
#include "w32/threads.h"
#include "w32/modules.h"
#include "w32/errors.h"
