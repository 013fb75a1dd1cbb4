// The dialog and registry commands of probe.exe (probe_forms.cpp).
#pragma once

#include <string>

// Runs the command when it is one of these; -1 when it is not.
int FormCommand(const std::wstring& command, int n, wchar_t** a);
// The same for probe_privacy.cpp's command.
int PrivacyCommand(const std::wstring& command, int n, wchar_t** a);
