// Reading language files: INI-style text in any of the encodings such files come in.
#pragma once

#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace ombrix {

// Turns file bytes into UTF-8: UTF-8 with or without a byte-order mark, UTF-16 (either byte
// order) with a byte-order mark, and Windows-1252 for anything that is not valid UTF-8.
std::string DecodeTextFile(const std::string& bytes);

struct LanguageSection {
  std::string name;
  std::vector<std::pair<std::string, std::string>> entries;  // key, value in file order
};

// Sections in order of first appearance; a header that repeats adds to its section. Names and
// values are trimmed of blanks and tabs; lines starting with ";" and lines without "=" are
// skipped, and so are keys before the first header.
class LanguageFileReader {
 public:
  explicit LanguageFileReader(const std::string& bytes);
  std::vector<std::string> SectionNames() const;
  const std::vector<std::pair<std::string, std::string>>& Keys(const std::string& section) const;

 private:
  std::vector<LanguageSection> sections_;
  std::unordered_map<std::string, size_t> index_;  // section name -> position
};

}  // namespace ombrix
