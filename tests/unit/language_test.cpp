#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "app/lifecycle.h"
#include "app/program.h"
#include "dialogs/desktop_dialog.h"
#include "dialogs/organize.h"
#include "dialogs/rules_editor.h"
#include "dialogs/settings_dialog.h"
#include "lang/form_translation.h"
#include "lang/language_file.h"
#include "lang/messages.h"
#include "lang/translation.h"
#include "platform/sim/sim.h"
#include "ui/tray_menu.h"

namespace ombrix {
namespace {

const std::string kFolder = "C:\\Program Files\\Ombrix\\";

class Language : public ::testing::Test {
 protected:
  void Load(const std::string& text, const std::string& name = "test.lng") {
    world.files.files[kFolder + name] = text;
    LoadLanguage(program, name, false);
  }
  sim::World world;
  Program program{world.platform()};
};

TEST(LanguageFile, ReaderKeepsSectionOrderTrimsAndSkipsNoise) {
  const LanguageFileReader reader(
      "orphan=1\n[ Second ]\n ; comment\nkey = value \nno equals sign\n=empty key\r\n"
      "[First]\r\nA=1\n[Second]\nB=2\n[]\nC=3\n[broken\nD=4\n");
  EXPECT_EQ(reader.SectionNames(), (std::vector<std::string>{"Second", "First", ""}));
  const auto& second = reader.Keys("Second");
  ASSERT_EQ(second.size(), 3u);
  EXPECT_EQ(second[0], std::make_pair(std::string("key"), std::string("value")));
  EXPECT_EQ(second[1].first, "");
  EXPECT_EQ(second[2].first, "B");
  ASSERT_EQ(reader.Keys("").size(), 2u);
  EXPECT_EQ(reader.Keys("")[1].first, "D");  // a header without "]" is no header
  EXPECT_TRUE(reader.Keys("Missing").empty());
  EXPECT_EQ(CutComment("Hello\t \t# note"), "Hello");
  EXPECT_EQ(CutComment("no comment  "), "no comment  ");
  EXPECT_EQ(CutComment("a\tb #c"), "a\tb");
}

TEST(LanguageFile, EncodingsAllGiveTheSameAccentedText) {
  const std::string utf8 = "[S]\nk=perch\xC3\xA9 \xE2\x82\xAC\n";
  const std::string bom = "\xEF\xBB\xBF" + utf8;
  const std::string cp1252 = "[S]\nk=perch\xE9 \x80\n";
  std::string utf16le = "\xFF\xFE";
  std::string utf16be = "\xFE\xFF";
  const std::u16string wide = u"[S]\nk=perch\u00E9 \u20AC\n";
  for (char16_t c : wide) {
    utf16le += static_cast<char>(c & 0xFF);
    utf16le += static_cast<char>(c >> 8);
    utf16be += static_cast<char>(c >> 8);
    utf16be += static_cast<char>(c & 0xFF);
  }
  for (const std::string& bytes : {utf8, bom, cp1252, utf16le, utf16be}) {
    EXPECT_EQ(LanguageFileReader(bytes).Keys("S").at(0).second, "perch\xC3\xA9 \xE2\x82\xAC");
  }
  EXPECT_EQ(DecodeTextFile("\xC3"), "\xC3\x83");  // a cut-off sequence is not UTF-8
}

TEST_F(Language, LookupsUseTheFileAndFallBackToTheBuiltInText) {
  Load("[Ombrix]\nVersion=1.0\n[global]\n0001=Esci?\n0001=Second\n0004=\n"
       "0032=Line one[CR]line two[cr]three[Cr]four %1 %2\n0031=#just a comment\n"
       "[frmTest]\nlblEmpty=\n");
  EXPECT_TRUE(world.ui.boxes.empty());
  EXPECT_EQ(GetMsg(program, msgs::kExit), "Esci?");  // first occurrence wins
  EXPECT_EQ(GetMsg(program, msgs::kAlreadyRunning), "The application is already running");
  EXPECT_EQ(GetMsg(program, msgs::kApps), "apps");
  EXPECT_EQ(GetMsg(program, "9999", "a[CR]b"), "a\r\nb");
  EXPECT_EQ(GetMsgFmt(program, "0032", "", "3"),
            "Line one\r\nline two\r\nthree[Cr]four 3 ");
  EXPECT_EQ(GetFormText(program, "frmTest", "lblEmpty", "Designed"), "");
  EXPECT_EQ(GetFormText(program, "frmTest", "lblMissing", "Designed"), "Designed");
  EXPECT_EQ(GetSectionText(program, "FRMTEST", "LBLEMPTY", "Designed"), "Designed");
  // Placeholders are replaced in order, each over the text the previous one left.
  EXPECT_EQ(GetMsgFmt(program, "9999", "%1|%2", "x%2", "y"), "xy|y");
}

TEST_F(Language, VersionMustBeExactlyOnePointZero) {
  for (const std::string version : {"1.00", "2.0"}) {
    world.ui.boxes.clear();
    Load("[Ombrix]\nVersion=" + version + "\n[GLOBAL]\n0001=Kept\n");
    ASSERT_EQ(world.ui.boxes.size(), 1u) << version;
    EXPECT_EQ(world.ui.boxes[0].text,
              "The current language file is not compatible with this version of Ombrix.\r\n"
              "You may have some problems or errors!");
    EXPECT_EQ(GetMsg(program, msgs::kExit), "Kept");  // entries stay in use
  }
  world.ui.boxes.clear();
  LoadLanguage(program, "missing.lng", false);
  EXPECT_EQ(world.ui.boxes.size(), 1u);
  EXPECT_EQ(program.translations.Count(), 0u);
}

TEST_F(Language, FileOverTheSizeLimitIsNotRead) {
  std::string text = "[Ombrix]\nVersion=1.0\n[GLOBAL]\n0001=Esci?\n;";
  text += std::string(kLargestLanguageFile - text.size() - 1, 'x') + "\n";
  Load(text);
  EXPECT_EQ(GetMsg(program, msgs::kExit), "Esci?");
  EXPECT_TRUE(world.ui.boxes.empty());
  Load(text + "\n");
  EXPECT_EQ(GetMsg(program, msgs::kExit), "Exit Ombrix?");
  EXPECT_EQ(world.ui.boxes.size(), 1u);
  world.files.sizes[kFolder + "huge.lng"] = uint64_t{8} << 30;  // sparse: its size is checked first
  Load(text, "huge.lng");
  EXPECT_EQ(world.ui.boxes.size(), 2u);
}

// A language is a file beside the program: a name that leads elsewhere starts it in English.
TEST_F(Language, NamesLeadingOutOfTheProgramFolderAreRefused) {
  for (const std::string name : {"..\\up.lng", "sub/in.lng", "D:drive.lng", ".."}) {
    sim::World w;
    w.store.sections["Settings"]["Language"] = name;
    w.store.sections["Settings"]["FirstUse"] = "0";
    w.files.files[kFolder + name] = "[Ombrix]\nVersion=1.0\n[GLOBAL]\n0001=Elsewhere\n";
    Program p{w.platform()};
    ASSERT_EQ(StartUp(p), StartOutcome::Running);
    EXPECT_EQ(GetMsg(p, msgs::kExit), "Exit Ombrix?") << name;
    EXPECT_EQ(p.settings.sLanguage, kBuiltInLanguage);
  }
}

TEST_F(Language, FormsAndMenusAreTranslatedFromTheirOwnSections) {
  Load("[Ombrix]\nVersion=1.0\n[frmTest]\nfrmTest=Prova\nlblDesk(0)=Zero\nlblDesk(1)=Uno\n"
       "txtName=Ignored\ntxtName.Tip=Nome\nbtnOk.Tip=Conferma\nlstApps.Tip=Trascina\n"
       "[frmOther]\nfrmTest=Wrong\n[frmMain]\nmEsci=&Esci\nmGoTo=\n");
  Form form;
  form.Name = "frmTest";
  form.Caption = "Test";
  for (Control control : {Control{.Name = "lblDesk", .Index = 0, .Caption = "a"},
                          Control{.Name = "lblDesk", .Index = 1, .Caption = "b"},
                          Control{.Name = "txtName", .kind = ControlKind::TextBox, .Caption = "c"},
                          Control{.Name = "btnOk", .kind = ControlKind::Button, .Caption = "Ok"},
                          Control{.Name = "lstApps", .kind = ControlKind::PictureList},
                          Control{.Name = "Timer1", .kind = ControlKind::Timer}}) {
    form.Add(control);
  }
  TranslateForm(program, form);
  EXPECT_EQ(form.Caption, "Prova");
  EXPECT_EQ(form.Controls()[0].Caption, "Zero");
  EXPECT_EQ(form.Controls()[1].Caption, "Uno");
  EXPECT_EQ(form.Controls()[2].Caption, "c");
  EXPECT_EQ(form.Controls()[2].Tip, "Nome");
  EXPECT_EQ(form.Controls()[3].Caption, "Ok");
  EXPECT_EQ(form.Controls()[3].Tip, "Conferma");
  EXPECT_EQ(form.Controls()[4].Tip, "Trascina");

  Menu menu = BuildMainMenu();
  Menu twin;
  twin.Name = "mTwin";
  twin.Caption = "  &EXIT ";
  menu.items.push_back(twin);
  clsMenuTranslation table;
  table.InitTranslationTableByForm(menu);
  EXPECT_EQ(table.GetMenuTranslation(program, "frmMain", "&Exit"), "&Esci");
  EXPECT_EQ(table.GetMenuTranslation(program, "frmMain", " &exit"), "&Esci");
  EXPECT_EQ(table.GetMenuTranslation(program, "frmMain", "&Go To..."), "&Go To...");
  EXPECT_EQ(table.GetMenuTranslation(program, "frmMain", "[sep][Desktop 2]"), "[sep][Desktop 2]");
}

// The shipped language files against the code.
std::string ReadShipped(const std::string& name) {
  std::ifstream in(std::string(OMBRIX_SOURCE_DIR) + "/languages/" + name, std::ios::binary);
  std::stringstream contents;
  contents << in.rdbuf();
  return contents.str();
}

std::set<std::string> KeysOf(const LanguageFileReader& reader) {
  std::set<std::string> keys;
  for (const std::string& section : reader.SectionNames()) {
    for (const auto& [key, value] : reader.Keys(section)) {
      EXPECT_TRUE(keys.insert(section + "." + key).second) << "duplicate " << section << "." << key;
      EXPECT_FALSE(value.empty()) << section << "." << key;
    }
  }
  return keys;
}

void CollectMenuKeys(const Menu& menu, std::set<std::string>& keys) {
  if (menu.Caption != "-") keys.insert("frmMain." + ControlKey(menu.Name, menu.Index));
  for (const Menu& item : menu.items) CollectMenuKeys(item, keys);
}

// The caption of the form and the designed captions of its controls.
void CollectFormKeys(const Form& form, std::set<std::string>& keys) {
  keys.insert(form.Name + "." + form.Name);
  for (const Control& control : form.Controls()) {
    if (HasTranslatedCaption(control.kind) && !control.Caption.empty()) {
      keys.insert(form.Name + "." + ControlKey(control));
    }
  }
}

TEST(ShippedLanguages, EnglishMatchesTheCodeAndItalianHasTheSameKeys) {
  const LanguageFileReader english(ReadShipped("english.lng"));
  const LanguageFileReader italian(ReadShipped("italiano.lng"));
  const std::set<std::string> englishKeys = KeysOf(english);
  ASSERT_FALSE(englishKeys.empty());
  EXPECT_EQ(KeysOf(italian), englishKeys);

  std::set<std::string> expected = {"Ombrix.Version"};
  for (const MessageText& m : AllMessages()) expected.insert(std::string("GLOBAL.") + m.id);
  CollectMenuKeys(BuildMainMenu(), expected);
  expected.insert({"frmAbout.frmAbout", "frmAbout.btnOk"});
  expected.insert({"frmPassword.frmPassword", "frmPassword.lblPassword",
                   "frmPassword.lblPasswordPrg", "frmPassword.lblPasswordDesk",
                   "frmPassword.btnOk", "frmPassword.btnCancel"});
  sim::World world;
  Program program{world.platform()};
  // Every dialog's designed captions, and the tabs the settings dialogs caption themselves.
  CollectFormKeys(frmSettings(program), expected);
  CollectFormKeys(frmDesktop(program), expected);
  CollectFormKeys(frmRules(program), expected);
  CollectFormKeys(frmMove(program), expected);
  expected.insert({"frmSettings.ctlTabbed(0)", "frmSettings.ctlTabbed(1)",
                   "frmSettings.ctlTabbed(2)", "frmDesktop.ctlTabbed(0)",
                   "frmDesktop.ctlTabbed(1)"});
  EXPECT_EQ(englishKeys, expected);
  std::map<std::string, std::string> builtIn;
  for (const MessageText& m : AllMessages()) builtIn[m.id] = m.text;
  for (const auto& [id, text] : english.Keys("GLOBAL")) EXPECT_EQ(text, builtIn[id]) << id;
  EXPECT_EQ(english.Keys("Ombrix").at(0).second, "1.0");
  EXPECT_EQ(italian.Keys("Ombrix").at(0).second, "1.0");
}

}  // namespace
}  // namespace ombrix
