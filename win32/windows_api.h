#pragma once

// The one way the Win32 front-end includes the Windows API: wide-character
// calls, Windows 10's per-monitor DPI functions, and none of the names that
// clash with the game's own (MessageBox is the rules' message-box interface).
#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif

#include <windows.h>

#undef MessageBox
