#include "lang/language_file.h"

#include <cstdint>

namespace ombrix {

namespace {

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

bool IsValidUtf8(const std::string& text) {
  size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    size_t length = 0;
    uint32_t cp = 0;
    if (c < 0x80) {
      ++i;
      continue;
    } else if ((c & 0xE0) == 0xC0) {
      length = 2;
      cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      length = 3;
      cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      length = 4;
      cp = c & 0x07;
    } else {
      return false;
    }
    if (i + length > text.size()) return false;
    for (size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (next & 0x3F);
    }
    const uint32_t minimum[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < minimum[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += length;
  }
  return true;
}

std::string FromUtf16(const std::string& bytes, size_t start, bool bigEndian) {
  std::string out;
  out.reserve(bytes.size());
  for (size_t i = start; i + 1 < bytes.size(); i += 2) {
    auto unit = [&](size_t at) -> uint32_t {
      const auto a = static_cast<unsigned char>(bytes[at]);
      const auto b = static_cast<unsigned char>(bytes[at + 1]);
      return bigEndian ? (a << 8) | b : (b << 8) | a;
    };
    uint32_t cp = unit(i);
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 3 < bytes.size()) {
      const uint32_t low = unit(i + 2);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      }
    }
    if (cp >= 0xD800 && cp <= 0xDFFF) cp = 0xFFFD;  // a lone surrogate
    AppendUtf8(out, cp);
  }
  return out;
}

std::string FromWindows1252(const std::string& bytes) {
  // 0x80..0x9F differ from Latin-1; the five unassigned codes keep their Latin-1 meaning.
  static const uint16_t kHigh[32] = {
      0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
  std::string out;
  out.reserve(bytes.size() * 2);
  for (char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    AppendUtf8(out, c >= 0x80 && c < 0xA0 ? kHigh[c - 0x80] : c);
  }
  return out;
}

std::string TrimSpace(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  const size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

}  // namespace

std::string DecodeTextFile(const std::string& bytes) {
  auto startsWith = [&](const char* bom, size_t n) { return bytes.compare(0, n, bom, n) == 0; };
  if (startsWith("\xEF\xBB\xBF", 3)) {
    const std::string rest = bytes.substr(3);
    return IsValidUtf8(rest) ? rest : FromWindows1252(rest);
  }
  if (startsWith("\xFF\xFE", 2)) return FromUtf16(bytes, 2, false);
  if (startsWith("\xFE\xFF", 2)) return FromUtf16(bytes, 2, true);
  return IsValidUtf8(bytes) ? bytes : FromWindows1252(bytes);
}

LanguageFileReader::LanguageFileReader(const std::string& bytes) {
  const std::string text = DecodeTextFile(bytes);
  constexpr size_t kNoSection = static_cast<size_t>(-1);
  size_t current = kNoSection;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    const std::string line = TrimSpace(text.substr(start, end - start));
    start = end + 1;
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      const size_t close = line.find(']');
      if (close == std::string::npos) continue;
      const std::string name = TrimSpace(line.substr(1, close - 1));
      auto [found, added] = index_.emplace(name, sections_.size());
      if (added) sections_.push_back({name, {}});
      current = found->second;
      continue;
    }
    const size_t equals = line.find('=');
    if (current == kNoSection || equals == std::string::npos) continue;
    sections_[current].entries.emplace_back(TrimSpace(line.substr(0, equals)),
                                  TrimSpace(line.substr(equals + 1)));
  }
}

std::vector<std::string> LanguageFileReader::SectionNames() const {
  std::vector<std::string> names;
  for (const LanguageSection& section : sections_) names.push_back(section.name);
  return names;
}

const std::vector<std::pair<std::string, std::string>>& LanguageFileReader::Keys(
    const std::string& section) const {
  static const std::vector<std::pair<std::string, std::string>> kNone;
  auto found = index_.find(section);
  return found == index_.end() ? kNone : sections_[found->second].entries;
}

}  // namespace ombrix
