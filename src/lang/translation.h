// The loaded language: "SECTION.KEY" upper-cased to the file's text.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>

namespace ombrix {

class Program;

class TranslationTable {
 public:
  void Clear() { entries_.clear(); }
  // Applies the comment rule and keeps the first value of a key.
  void Add(const std::string& section, const std::string& key, const std::string& value);
  // The stored value of "section.key", compared without case.
  std::optional<std::string> Find(const std::string& section, const std::string& key) const;
  size_t Count() const { return entries_.size(); }

 private:
  std::unordered_map<std::string, std::string> entries_;
};

// Cuts a value at its first "#" and removes the blanks before it: all trailing spaces, then
// every trailing tab with the spaces before it. A value without "#" stays as it is.
std::string CutComment(const std::string& value);
// "[CR]", then "[cr]", each become a carriage return and line feed.
std::string ReplaceLineBreaks(const std::string& text);

// A bigger file is not a language file (the shipped ones are a few kilobytes) and is not read.
inline constexpr size_t kLargestLanguageFile = 1u << 20;
// A language is a file in the program's folder: a name with a path separator, a drive or
// stream colon, or ".." would read a file elsewhere.
bool IsLanguageFileName(const std::string& name);

inline constexpr const char* kIncompatibleLanguage =
    "The current language file is not compatible with this version of Ombrix.\r\n"
    "You may have some problems or errors!";

// Loads a language file from the program's folder. At start the built-in name loads nothing;
// from the settings dialog it loads "english.lng".
void LoadLanguage(Program& program, const std::string& name, bool fromSettings);

std::string GetSectionText(const Program& program, const std::string& section,
                           const std::string& key, const std::string& defaultText);
// As GetSectionText, but a value present and empty gives the empty text.
std::string GetFormText(const Program& program, const std::string& form, const std::string& key,
                        const std::string& defaultText);

}  // namespace ombrix
