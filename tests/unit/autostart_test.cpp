#include <gtest/gtest.h>

#include "dialogs/autostart.h"
#include "dialogs/registry.h"
#include "heart_fixture.h"

namespace ombrix {
namespace {

constexpr RegistryRoot kUser = RegistryRoot::CurrentUser;
constexpr RegistryRoot kMachine = RegistryRoot::LocalMachine;
constexpr const char* kQuotedPath = "\"C:\\Program Files\\Ombrix\\Ombrix.exe\"";

class Registries : public ::testing::Test {
 protected:
  cRegistry At(const std::string& key, const std::string& name) {
    cRegistry registry(program);
    registry.SectionKey = key;
    registry.ValueKey = name;
    registry.Default = std::string("none");
    return registry;
  }
  void Store(const std::string& name, uint32_t type, std::string text,
             std::vector<uint8_t> bytes = {}) {
    world.registry.WriteValue(kUser, "Software\\Test", name,
                              RegistryData{type, std::move(text), std::move(bytes)});
  }
  sim::World world;
  Program program{world.platform()};
};

// The program keeps only texts in the registry; a value of another type still counts as there.
TEST_F(Registries, ReadsAndWritesTextsAndGivesTheDefaultForWhatIsMissingOrUnreadable) {
  Store("text", reg::kText, "plain");
  Store("number", reg::kNumber, "", {0x78, 0x56, 0x34, 0x12});
  Store("short", reg::kNumber, "", {1, 2});
  cRegistry r = At("Software\\Test", "text");
  EXPECT_EQ(r.Value(), RegistryValue(std::string("plain")));
  r.ValueKey = "number";
  EXPECT_EQ(r.Value(), RegistryValue(int32_t{0x12345678}));
  for (const char* unreadable : {"short", "missing"}) {
    r.ValueKey = unreadable;
    EXPECT_EQ(r.Value(), RegistryValue(std::string("none"))) << unreadable;
  }
  r.ClassKey = 0x1234;  // not a root
  r.ValueKey = "text";
  EXPECT_EQ(r.Value(), RegistryValue(std::string("none")));

  cRegistry path = At("Software\\New", "path");
  EXPECT_FALSE(path.SetValue(std::string("%SystemRoot%\\x")));
  EXPECT_TRUE(path.KeyExists()) << "the key is created";
  auto type = [&] { return world.registry.ReadValue(kUser, "Software\\New", "path")->type; };
  EXPECT_EQ(type(), reg::kExpandableText);
  for (const char* plain : {"100% sure", "50%%"}) {
    EXPECT_FALSE(path.SetValue(std::string(plain)));
    EXPECT_EQ(type(), reg::kText) << plain;
  }
}

TEST(ExecutablePaths, HaveOneBackslashAndOneExtension) {
  EXPECT_EQ(ExecutablePath("C:\\Apps", "Ombrix.exe"), "C:\\Apps\\Ombrix.exe");
  EXPECT_EQ(ExecutablePath("C:\\", "OMBRIX.EXE"), "C:\\OMBRIX.EXE");
  EXPECT_EQ(ExecutablePath("C:\\Apps\\", "Ombrix"), "C:\\Apps\\Ombrix.exe");
}

class AutoStart : public Started {
 protected:
  std::optional<std::string> Entry(RegistryRoot root, const char* key) {
    return world.registry.Text(root, key, "Ombrix");
  }
};

// On a real entry (tests/e2e/settings_dialog.sh): an unquoted one counts and is written back
// quoted; one that cannot be removed is told.
TEST_F(AutoStart, AnEntryCountsWhateverItHoldsButTheMissingMarkAndIsWrittenQuotedUnderOneKey) {
  EXPECT_EQ(GetAutoStart(program, false), autostart::kNone);
  world.registry.SetText(kUser, kRunOnceKey, "Ombrix", "x");
  EXPECT_EQ(GetAutoStart(program, false), autostart::kNextLogOn);
  world.registry.SetText(kUser, kRunKey, "Ombrix", "?");
  EXPECT_EQ(GetAutoStart(program, false), autostart::kNextLogOn);
  world.registry.SetText(kUser, kRunKey, "Ombrix", "C:\\Ombrix.exe");
  EXPECT_EQ(GetAutoStart(program, false), autostart::kEveryLogOn);
  EXPECT_EQ(GetAutoStart(program, true), autostart::kNone);

  // Written quoted under one key, and removed from the other.
  EXPECT_FALSE(SetAutoStart(program, false, autostart::kEveryLogOn));
  EXPECT_EQ(Entry(kUser, kRunKey), kQuotedPath);
  EXPECT_FALSE(Entry(kUser, kRunOnceKey));
  EXPECT_FALSE(SetAutoStart(program, false, autostart::kNextLogOn));
  EXPECT_EQ(Entry(kUser, kRunOnceKey), kQuotedPath);
  EXPECT_FALSE(Entry(kUser, kRunKey));
  EXPECT_FALSE(SetAutoStart(program, false, autostart::kNone));
  EXPECT_FALSE(Entry(kUser, kRunOnceKey));
  EXPECT_EQ(GetAutoStart(program, false), autostart::kNone);

  world.registry.readOnlyKeys.push_back(std::string("HKCU\\") + kRunKey);
  const RegistryResult refused = SetAutoStart(program, false, autostart::kEveryLogOn);
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->number, 26001);
}

TEST_F(AutoStart, StartUpReadsOnlyTheEveryLogOnEntry) {
  auto startsWith = [](const char* key, const char* text) {
    sim::World other;
    other.registry.SetText(kUser, key, "Ombrix", text);
    Program started{other.platform()};
    EXPECT_EQ(StartUp(started), StartOutcome::Running);
    return started.settings.bAutoStart;
  };
  EXPECT_FALSE(startsWith(kRunOnceKey, kQuotedPath));
  EXPECT_TRUE(startsWith(kRunKey, "unquoted"));
}

TEST_F(AutoStart, ApplyingRemovesAllUsersEntriesAndTellsWhenTheUsersEntryCannotFollow) {
  world.registry.SetText(kMachine, kRunKey, "Ombrix", "x");
  program.settings.bAutoStart = true;
  ApplyAutoStart(program);
  EXPECT_FALSE(Entry(kMachine, kRunKey));
  EXPECT_EQ(Entry(kUser, kRunKey), kQuotedPath);
  EXPECT_TRUE(world.ui.boxes.empty());

  // Without the rights for the all-users key nothing is said: the user's own entry is what counts.
  world.registry.SetText(kMachine, kRunKey, "Ombrix", "x");
  world.registry.readOnlyKeys = {std::string("HKLM\\") + kRunKey};
  ApplyAutoStart(program);
  EXPECT_TRUE(world.ui.boxes.empty());

  world.registry.readOnlyKeys.push_back(std::string("HKCU\\") + kRunKey);
  program.settings.bAutoStart = false;
  ApplyAutoStart(program);
  EXPECT_EQ(world.ui.boxes.size(), 1u);
  EXPECT_TRUE(program.settings.bAutoStart) << "the setting shows what the registry holds";

  world.registry.values.clear();
  world.registry.keys.clear();
  world.registry.readOnlyKeys = {"HKCU\\Software\\Microsoft"};
  program.settings.bAutoStart = true;
  ApplyAutoStart(program);
  ASSERT_EQ(world.ui.boxes.size(), 2u);
  EXPECT_NE(world.ui.boxes[1].text.find("so it will not start with Windows.\r\n\r\n(26001) "
                                        "Failed to set registry value"),
            std::string::npos)
      << world.ui.boxes[1].text;
  EXPECT_FALSE(program.settings.bAutoStart);
}

}  // namespace
}  // namespace ombrix
