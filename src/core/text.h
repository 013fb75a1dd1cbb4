// Text helpers for UTF-8 strings.
#pragma once

#include <string>

namespace ombrix {

// Lower-cases ASCII and Latin-1 letters of a UTF-8 text; other characters stay as they are.
std::string LowerText(const std::string& text);
// Upper-cases the same letters.
std::string UpperText(const std::string& text);
// Removes space characters at both ends.
std::string TrimBlanks(const std::string& text);
// The first count characters of a UTF-8 text followed by "...", or the text itself when it
// has no more than count characters.
std::string CutWithEllipsis(const std::string& text, size_t count);
// A folder with a backslash at its end.
std::string WithBackslash(std::string folder);
// The last part of a path: the file's name.
std::string FileNameOf(const std::string& path);
// Replaces every occurrence of what, left to right; replaced text is not searched again.
std::string ReplaceAll(std::string text, const std::string& what, const std::string& with);

}  // namespace ombrix
