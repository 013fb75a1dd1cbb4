#include "dialogs/registry.h"

#include "app/program.h"

namespace ombrix {

namespace {

// A text with a "%" followed at least two characters later by another one names a variable.
bool NamesVariable(const std::string& text) {
  const size_t first = text.find('%');
  return first != std::string::npos && text.find('%', first + 2) != std::string::npos;
}

std::optional<uint32_t> NumberOf(const std::vector<uint8_t>& bytes, bool bigEndian) {
  if (bytes.size() != 4) return std::nullopt;
  uint32_t value = 0;
  for (int i = 0; i < 4; ++i) {
    const uint8_t byte = bytes[static_cast<size_t>(bigEndian ? i : 3 - i)];
    value = (value << 8) | byte;
  }
  return value;
}

std::vector<uint8_t> LittleEndian(uint32_t value) {
  return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
          static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
}

}  // namespace

std::string ErrorText(const RegistryError& error) {
  std::string text = "(";
  text += std::to_string(error.number);
  text += ") ";
  text += error.description;
  return text;
}

std::string ExeName(Program& program) {
  const std::string file = program.platform.system.ProgramFileName();
  const size_t dot = file.rfind('.');
  return dot == std::string::npos ? file : file.substr(0, dot);
}

std::string ValueText(const RegistryValue& value) {
  if (const auto* text = std::get_if<std::string>(&value)) return *text;
  if (const auto* number = std::get_if<int32_t>(&value)) return std::to_string(*number);
  std::string hex;
  if (const auto* bytes = std::get_if<std::vector<uint8_t>>(&value)) {
    static const char kDigits[] = "0123456789ABCDEF";
    for (uint8_t byte : *bytes) {
      hex += kDigits[byte >> 4];
      hex += kDigits[byte & 15];
    }
  }
  return hex;
}

cRegistry::cRegistry(Program& program)
    : registry_(program.platform.registry), source_(ExeName(program) + ".cRegistry") {}

std::optional<RegistryRoot> cRegistry::Root() const {
  if (ClassKey == kCurrentUserKey) return RegistryRoot::CurrentUser;
  if (ClassKey == kLocalMachineKey) return RegistryRoot::LocalMachine;
  return std::nullopt;
}

RegistryError cRegistry::Error(std::string description) const {
  return RegistryError{26001, source_, std::move(description)};
}

std::string cRegistry::RootText() const { return std::to_string(ClassKey); }

bool cRegistry::KeyExists() {
  const auto root = Root();
  return root && registry_.KeyExists(*root, SectionKey);
}

RegistryResult cRegistry::CreateKey() {
  const auto root = Root();
  if (root && registry_.CreateKey(*root, SectionKey)) return std::nullopt;
  return Error("Failed to create registry Key: '" + SectionKey);
}

RegistryResult cRegistry::DeleteKey() {
  const auto root = Root();
  if (root && registry_.DeleteKey(*root, SectionKey)) return std::nullopt;
  return Error("Failed to delete registry Key: '" + RootText() + "',Section: '" + SectionKey);
}

RegistryResult cRegistry::DeleteValue() {
  const auto root = Root();
  if (!root || !registry_.KeyExists(*root, SectionKey)) {
    return Error("Failed to open key '" + RootText() + "',Section: '" + SectionKey +
                 "' for delete access");
  }
  if (!registry_.ReadValue(*root, SectionKey, ValueKey) ||
      !registry_.DeleteValue(*root, SectionKey, ValueKey)) {
    return Error("Failed to delete registry Key: '" + RootText() + "',Section: '" + SectionKey +
                 "',Key: '" + ValueKey);
  }
  return std::nullopt;
}

RegistryValue cRegistry::Value() {
  const auto root = Root();
  const std::optional<RegistryData> data =
      root ? registry_.ReadValue(*root, SectionKey, ValueKey) : std::nullopt;
  if (!data) return Default;
  RegistryValue value;
  switch (data->type) {
    case reg::kText:
    case reg::kExpandableText:
    case reg::kTextList:
      value = data->text;
      break;
    case reg::kNumber:
    case reg::kBigEndianNumber: {
      const auto number = NumberOf(data->bytes, data->type == reg::kBigEndianNumber);
      if (!number) return Default;
      value = static_cast<int32_t>(*number);
      break;
    }
    default:
      value = data->bytes;
      break;
  }
  ValueType = data->type;
  return value;
}

RegistryResult cRegistry::SetValue(const RegistryValue& value) {
  const std::string description = "Failed to set registry value Key: '" + RootText() +
                                  "',Section: '" + SectionKey + "',Key: '" + ValueKey +
                                  "' to value: '" + ValueText(value) + "'";
  RegistryData data;
  switch (ValueType) {
    case reg::kText:
    case reg::kExpandableText:
      if (std::holds_alternative<std::vector<uint8_t>>(value)) return Error(description);
      data.text = ValueText(value);
      data.type = NamesVariable(data.text) ? reg::kExpandableText : reg::kText;
      break;
    case reg::kNumber:
    case reg::kBigEndianNumber:
      // Only a number is written as one.
      if (!std::holds_alternative<int32_t>(value)) return std::nullopt;
      data.type = reg::kNumber;
      data.bytes = LittleEndian(static_cast<uint32_t>(std::get<int32_t>(value)));
      break;
    case reg::kBinary:
      if (!std::holds_alternative<std::vector<uint8_t>>(value)) return Error(description);
      data.type = reg::kBinary;
      data.bytes = std::get<std::vector<uint8_t>>(value);
      break;
    default:
      return std::nullopt;
  }
  const auto root = Root();
  if (!root || !registry_.CreateKey(*root, SectionKey) ||
      !registry_.WriteValue(*root, SectionKey, ValueKey, data)) {
    return Error(description);
  }
  return std::nullopt;
}

bool cRegistry::EnumerateValues(std::vector<std::string>& sKeyNames, int32_t& iKeyCount) {
  const auto root = Root();
  const auto names = root ? registry_.ValueNames(*root, SectionKey) : std::nullopt;
  if (!names) return false;
  sKeyNames = *names;
  iKeyCount = static_cast<int32_t>(names->size());
  return true;
}

bool cRegistry::EnumerateSections(std::vector<std::string>& sSect, int32_t& iSectCount) {
  const auto root = Root();
  const auto names = root ? registry_.SubkeyNames(*root, SectionKey) : std::nullopt;
  if (!names) return false;
  sSect = *names;
  iSectCount = static_cast<int32_t>(names->size());
  return true;
}

}  // namespace ombrix
