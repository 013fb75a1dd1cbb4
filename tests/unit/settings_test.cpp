#include <gtest/gtest.h>

#include "app/settings.h"
#include "appearance/passwords.h"
#include "platform/sim/sim.h"

namespace ombrix {
namespace {

TEST(Encoding, FlagIsTrueOnlyForTheExactTextOne) {
  EXPECT_TRUE(DecodeFlag("1"));
  for (const char* text : {"True", "-1", " 1", "1 ", "", "01", "2"}) {
    EXPECT_FALSE(DecodeFlag(text)) << text;
  }
  EXPECT_EQ(EncodeFlag(true), "1");
  EXPECT_EQ(EncodeFlag(false), "0");
}

TEST(Encoding, NumberIsTheLeadingDecimalNumber) {
  EXPECT_EQ(DecodeNumber("2x"), 2);
  EXPECT_EQ(DecodeNumber("x"), 0);
  EXPECT_EQ(DecodeNumber("-5"), -5);
  EXPECT_EQ(DecodeNumber(""), 0);
  EXPECT_EQ(DecodeNumber("-"), 0);
  EXPECT_EQ(DecodeNumber(" 4"), 0);
  EXPECT_EQ(DecodeNumber("007"), 7);
  EXPECT_EQ(DecodeNumber("99999999999999999999"), 2147483647);
  EXPECT_EQ(DecodeNumber("-99999999999999999999"), -2147483648);
  EXPECT_EQ(EncodeNumber(-12), "-12");
}

TEST(KeyTable, ProgramValuesAreReadOrTakeTheirDefaults) {
  sim::MemoryStore store;
  Settings s;
  s.bWin = false;  // the reading must set every value, not rely on the initial ones
  s.bAlt = true;
  s.sTheme = std::string(1, 'x');  // not = "x": GCC 12 warns of a false overlap there
  ReadProgramKeys(store, ReadAt::BeforeAutoStart, s);
  ReadProgramKeys(store, ReadAt::AfterAutoStart, s);
  EXPECT_TRUE(s.bWin && s.bWinNumbers && s.bShiftWinNumbers && s.bIgnoreTopMost &&
              s.bIgnoreNoTitle && s.bShowCurDesk);
  EXPECT_FALSE(s.bAlt || s.bAltNumbers || s.bCtrl || s.bCtrlNumbers || s.bShiftAltNumbers ||
               s.bShiftCtrlNumbers || s.bCicleDesktops);
  EXPECT_EQ(s.sTheme, "default");
  EXPECT_EQ(s.sGlobalPass, "");

  const std::string scrambled = EncodePassword("secret");
  store.sections["Settings"] = {{"Alt", "1"},           {"Win", "0"},   {"ITopMost", "0"},
                                {"CicleDesktops", "1"}, {"Theme", "blue"},
                                {"GlobalPass", scrambled}};
  ReadProgramKeys(store, ReadAt::BeforeAutoStart, s);
  ReadProgramKeys(store, ReadAt::AfterAutoStart, s);
  EXPECT_TRUE(s.bAlt && s.bCicleDesktops);
  EXPECT_FALSE(s.bWin || s.bIgnoreTopMost);
  EXPECT_EQ(s.sTheme, "blue");
  EXPECT_EQ(s.sGlobalPass, scrambled) << "held as stored, never as typed";
}

TEST(KeyTable, DesktopKeysCarryOneDigitAndTrimNameAndPassword) {
  sim::MemoryStore store;
  auto& v = store.sections["Settings"];
  v["DeskName4"] = "  Work  ";
  v["WallpaperType2"] = "2x";
  v["WallpaperType3"] = "x";
  v["Wallpaper9"] = "C:\\nine.bmp";
  v["Wallpaper09"] = "wrong";
  const std::string verifier = "pbkdf2-sha256$1$2$00$" + std::string(64, '0');
  v["DeskPass5"] = "  " + verifier + " ";
  v["DeskPass6"] = "E";  // a scrambled empty text: no password, as before
  v["DontShowApps6"] = "1";
  clsDesktop desks[10];
  for (int n = 1; n <= 9; ++n) ReadDesktopKeys(store, n, desks[n]);
  EXPECT_EQ(desks[4].sDeskName, "Work");
  EXPECT_EQ(desks[2].iWallPaperType, 2);
  EXPECT_EQ(desks[3].iWallPaperType, 0);
  EXPECT_EQ(desks[9].sWallPaper, "C:\\nine.bmp");
  EXPECT_EQ(desks[5].sPassword, verifier);
  EXPECT_EQ(desks[6].sPassword, "");
  EXPECT_TRUE(desks[6].bHideThisDeskApps);
  EXPECT_FALSE(desks[7].bHideThisDeskApps);
  EXPECT_EQ(DesktopKeyName("Wallpaper", 9), "Wallpaper9");
}

TEST(Passwords, AVerifierTestsThePasswordWithoutHoldingItAndABrokenOneNeverMatches) {
  sim::World world;
  System& system = world.process;
  const std::string verifier = MakeVerifier(system, "Secret").value();
  EXPECT_TRUE(verifier.starts_with("pbkdf2-sha256$1$200000$")) << verifier;
  EXPECT_EQ(verifier.size(), std::string("pbkdf2-sha256$1$200000$$").size() + 32 + 64);
  // Matching at the count a verifier carries; few here, to keep the test fast.
  const std::string quick = MakeVerifier(system, "Secret", 10).value();
  EXPECT_NE(MakeVerifier(system, "Secret", 10).value(), quick) << "every salt is new";
  EXPECT_TRUE(PasswordMatches(system, "Secret", quick));
  EXPECT_FALSE(PasswordMatches(system, "secret", quick));
  EXPECT_FALSE(PasswordMatches(system, "", quick));
  // The scrambled form of older versions, as tools still write it (k = 5 here).
  std::vector<double> draws = {0.0, 0.0, 0.999, 0.5, 0.5};
  size_t next = 0;
  const std::string scrambled = EncodePassword("\xfe" "A~", [&] { return draws[next++]; });
  EXPECT_EQ(scrambled, std::string("03A46Z83N") + static_cast<char>(64 + 5));
  EXPECT_TRUE(PasswordMatches(system, "\xfe" "A~", scrambled));
  EXPECT_FALSE(PasswordMatches(system, "\xfe" "a~", scrambled));
  EXPECT_FALSE(PasswordMatches(system, std::string("\xfe" "A~\0", 4), scrambled));
  EXPECT_TRUE(PasswordMatches(system, "", ""));
  EXPECT_FALSE(PasswordMatches(system, "x", ""));
  EXPECT_EQ(MakeVerifier(system, "").value(), "");

  // Hand-edited: a count beyond the limit is not even tried, nor is anything unreadable.
  const std::string tail = quick.substr(quick.find('$', 17));  // "$<salt>$<key>"
  const int derived = world.process.keysDerived;
  for (const std::string& broken : std::vector<std::string>{
           "pbkdf2-sha256$1$1000001" + tail, "pbkdf2-sha256$1$99999999999" + tail,
        "pbkdf2-sha256$1$0" + tail, "pbkdf2-sha256$1$-10" + tail, "pbkdf2-sha256$1$10" + tail + "0",
        "pbkdf2-sha256$1$10" + tail.substr(0, tail.size() - 2) + "zz",
        "pbkdf2-sha256$1$10$$" + std::string(64, '0'), "pbkdf2-sha256$2$10" + tail,
        "pbkdf2-sha256$1$10" + tail + "$", "pbkdf2-sha256$"}) {
    EXPECT_FALSE(PasswordMatches(system, "Secret", broken)) << broken;
  }
  EXPECT_EQ(world.process.keysDerived, derived);

  world.process.cryptoFails = true;
  EXPECT_FALSE(MakeVerifier(system, "Secret"));
  EXPECT_FALSE(PasswordMatches(system, "Secret", quick));
}

}  // namespace
}  // namespace ombrix
