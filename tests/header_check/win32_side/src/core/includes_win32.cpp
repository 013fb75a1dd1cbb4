// The header check must reject this file: logic that reaches into the Windows side.
#include "platform/win32/win.h"
