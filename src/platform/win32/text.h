// UTF-8 inside the program, UTF-16 at the system boundary.
#pragma once

#include <string>

namespace ombrix::win32 {

std::wstring Widen(const std::string& text);
std::string Narrow(const wchar_t* text, size_t length);
std::string Narrow(const std::wstring& text);

}  // namespace ombrix::win32
