#include "lang/translation.h"

#include "app/program.h"
#include "core/text.h"
#include "lang/language_file.h"
#include "lang/messages.h"

namespace ombrix {

namespace {

std::string TableKey(const std::string& section, const std::string& key) {
  return UpperText(section + "." + key);
}

}  // namespace

std::string CutComment(const std::string& value) {
  const size_t hash = value.find('#');
  if (hash == std::string::npos) return value;
  std::string cut = value.substr(0, hash);
  while (!cut.empty() && cut.back() == ' ') cut.pop_back();
  while (!cut.empty() && cut.back() == '\t') {
    cut.pop_back();
    while (!cut.empty() && cut.back() == ' ') cut.pop_back();
  }
  return cut;
}

std::string ReplaceLineBreaks(const std::string& text) {
  return ReplaceAll(ReplaceAll(text, "[CR]", "\r\n"), "[cr]", "\r\n");
}

void TranslationTable::Add(const std::string& section, const std::string& key,
                           const std::string& value) {
  if (section.empty() || key.empty()) return;
  entries_.emplace(TableKey(section, key), CutComment(value));
}

std::optional<std::string> TranslationTable::Find(const std::string& section,
                                                  const std::string& key) const {
  auto found = entries_.find(TableKey(section, key));
  if (found == entries_.end()) return std::nullopt;
  return found->second;
}

bool IsLanguageFileName(const std::string& name) {
  return name.find_first_of("\\/:") == std::string::npos && name.find("..") == std::string::npos;
}

void LoadLanguage(Program& program, const std::string& name, bool fromSettings) {
  program.translations.Clear();
  std::string folder = program.platform.system.ProgramFolder();
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  std::string file = name;
  if (file == kBuiltInLanguage && fromSettings) file = "english.lng";
  if (file == kBuiltInLanguage) return;

  Files& files = program.platform.files;
  const std::string path = folder + file;
  if (files.FileExists(path)) {
    if (const auto bytes = files.ReadFile(path, kLargestLanguageFile)) {
      const LanguageFileReader reader(*bytes);
      for (const std::string& section : reader.SectionNames()) {
        if (section.empty()) continue;
        for (const auto& [key, value] : reader.Keys(section)) {
          program.translations.Add(section, key, value);
        }
      }
    }
  }
  if (GetSectionText(program, "Ombrix", "Version", "") != "1.0") {
    ErrorBox(program, kIncompatibleLanguage);
  }
}

std::string GetSectionText(const Program& program, const std::string& section,
                           const std::string& key, const std::string& defaultText) {
  const auto value = program.translations.Find(section, key);
  if (value && !value->empty()) {
    const std::string text = ReplaceLineBreaks(*value);
    if (!text.empty()) return text;
  }
  return ReplaceLineBreaks(defaultText);
}

std::string GetFormText(const Program& program, const std::string& form, const std::string& key,
                        const std::string& defaultText) {
  const auto value = program.translations.Find(form, key);
  if (!value) return ReplaceLineBreaks(defaultText);
  return ReplaceLineBreaks(*value);
}

}  // namespace ombrix
