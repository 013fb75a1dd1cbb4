#include "core/text.h"

namespace ombrix {

namespace {

// Latin-1 letters in UTF-8 are 0xC3 followed by 0x80..0x9E (capitals, 0x97 is the
// multiplication sign) or 0xA0..0xBE (small letters, 0xB7 is the division sign).
std::string ChangeCase(const std::string& text, bool lower) {
  std::string result = text;
  for (size_t i = 0; i < result.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(result[i]);
    if (c < 0x80) {
      if (lower && c >= 'A' && c <= 'Z') result[i] = static_cast<char>(c + 32);
      if (!lower && c >= 'a' && c <= 'z') result[i] = static_cast<char>(c - 32);
    } else if (c == 0xC3 && i + 1 < result.size()) {
      unsigned char next = static_cast<unsigned char>(result[i + 1]);
      if (lower && next >= 0x80 && next <= 0x9E && next != 0x97) {
        result[i + 1] = static_cast<char>(next + 0x20);
      } else if (!lower && next >= 0xA0 && next <= 0xBE && next != 0xB7) {
        result[i + 1] = static_cast<char>(next - 0x20);
      }
      ++i;
    }
  }
  return result;
}

}  // namespace

std::string LowerText(const std::string& text) { return ChangeCase(text, true); }
std::string UpperText(const std::string& text) { return ChangeCase(text, false); }

std::string TrimBlanks(const std::string& text) {
  size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

std::string ReplaceAll(std::string text, const std::string& what, const std::string& with) {
  if (what.empty()) return text;
  for (size_t at = text.find(what); at != std::string::npos;
       at = text.find(what, at + with.size())) {
    text.replace(at, what.size(), with);
  }
  return text;
}


std::string CutWithEllipsis(const std::string& text, size_t count) {
  size_t characters = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    // A byte 10xxxxxx continues the character before it.
    if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
    if (characters++ == count) return text.substr(0, i) + "...";
  }
  return text;
}

std::string WithBackslash(std::string folder) {
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  return folder;
}

std::string FileNameOf(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace ombrix
