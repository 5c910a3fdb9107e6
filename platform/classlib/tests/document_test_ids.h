// Resource ids of the class library's document and MDI tests.
#pragma once

#define IDR_MAINFRAME 300
#define IDR_TEXTTYPE 301
#define IDR_NOTETYPE 302
#define ID_SHOUT 32900
#define ID_FRAME_ONLY 32901
