// The header check must reject this file: a logic header that includes a Windows header.
#include <Windows.h>
