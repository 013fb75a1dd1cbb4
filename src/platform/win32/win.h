// The Windows headers as this folder uses them. The platform interfaces have methods named
// MessageBox, FindWindow, PostMessage, SendMessage, SendMessageTimeout, DeleteFile and
// ReplaceFile; the headers' A/W macros of those names would rename them in this folder only, so
// they are removed here and the W functions are called by their full names.
#pragma once

#include <windows.h>
// These need <windows.h> first.
#include <commctrl.h>
#include <shellapi.h>

#undef MessageBox
#undef FindWindow
#undef PostMessage
#undef SendMessage
#undef SendMessageTimeout
#undef DeleteFile
#undef ReplaceFile
