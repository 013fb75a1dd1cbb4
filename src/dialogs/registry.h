// cRegistry: reads and writes one value or key of the system's registry at a time. Its
// properties name the target; operations that fail report an error of number 26001 as their
// result instead of raising it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/platform.h"

namespace ombrix {

class Program;

// The predefined root keys, as the system's handle values.
inline constexpr int32_t kCurrentUserKey = static_cast<int32_t>(0x80000001u);
inline constexpr int32_t kLocalMachineKey = static_cast<int32_t>(0x80000002u);

// A value as cRegistry reads and writes it: nothing, a text, a 32-bit number or bytes.
using RegistryValue = std::variant<std::monostate, std::string, int32_t, std::vector<uint8_t>>;

struct RegistryError {
  int32_t number = 26001;
  std::string source;  // "<program name>.cRegistry"
  std::string description;
};
// "(" number ") " description, as the program shows unexpected failures.
std::string ErrorText(const RegistryError& error);

// Empty when the operation succeeded.
using RegistryResult = std::optional<RegistryError>;

class cRegistry {
 public:
  explicit cRegistry(Program& program);

  int32_t ClassKey = kCurrentUserKey;
  std::string SectionKey;
  std::string ValueKey;  // empty: the key's default value
  uint32_t ValueType = reg::kText;  // the type written; every successful read sets it
  RegistryValue Default;  // what a read gives when the value cannot be read

  bool KeyExists();
  [[nodiscard]] RegistryResult CreateKey();
  [[nodiscard]] RegistryResult DeleteKey();
  // Fails when the key cannot be opened and when the value is missing.
  [[nodiscard]] RegistryResult DeleteValue();
  // Texts as text, numbers as numbers (a big-endian one turned around), anything else as bytes.
  RegistryValue Value();
  // Creates the key when missing and writes the value as ValueType says: a text holding two
  // "%" at least two characters apart as an expandable text, a number only when it is one.
  // Fails when the key cannot be created, when the system refuses the value, and when bytes
  // are to be written and the value is not bytes.
  [[nodiscard]] RegistryResult SetValue(const RegistryValue& value);
  bool EnumerateValues(std::vector<std::string>& sKeyNames, int32_t& iKeyCount);
  bool EnumerateSections(std::vector<std::string>& sSect, int32_t& iSectCount);

 private:
  std::optional<RegistryRoot> Root() const;
  RegistryError Error(std::string description) const;
  std::string RootText() const;

  Registry& registry_;
  std::string source_;
};

// The program file's name without its extension ("Ombrix").
std::string ExeName(Program& program);

// The value as text in an error description: texts as they are, numbers in decimal, bytes in
// hexadecimal.
std::string ValueText(const RegistryValue& value);

}  // namespace ombrix
