// The device programmer's application object; the class library's WinMain runs it.
#include "tarnel/shell/tarnel_app.h"

CTarnelApp theApp;
