#include <gtest/gtest.h>

#include "app/lifecycle.h"
#include "app/program.h"
#include "lang/messages.h"
#include "platform/sim/sim.h"

namespace ombrix {
namespace {

constexpr const char* kStore = "C:\\Users\\me\\AppData\\Local\\Ombrix";
constexpr const char* kDesktop = "Control Panel\\Desktop";

class Wallpapers : public ::testing::Test {
 protected:
  void SetUp() override {
    world.store.sections["Settings"]["FirstUse"] = "0";
    world.files.files["C:\\Pictures\\mine.jpg"] = "user's own";
    world.files.files["C:\\Pictures\\sea.bmp"] = "sea";
    // A style the program has no code for (span), and no "TileWallpaper" value at all.
    world.shell.UserSets("C:\\Pictures\\mine.jpg", "22", "");
    world.registry.DeleteValue(RegistryRoot::CurrentUser, kDesktop, "TileWallpaper");
  }
  void Start() { ASSERT_EQ(StartUp(program), StartOutcome::Running); }
  void Exit(Program& p) {
    p.bExitRequested = true;
    ASSERT_TRUE(UnloadMainWindow(p, UnloadReason::FormCode));
  }
  // A desktop whose wallpaper was chosen earlier: its copy is in the store.
  void GiveWallpaper(int desk, const std::string& image, const std::string& style = "2") {
    world.files.folders.push_back(std::string(kStore) + "\\" + std::to_string(desk));
    world.files.files[Copy(desk, image)] = image;
    world.store.sections["Settings"]["Wallpaper" + std::to_string(desk)] = Copy(desk, image);
    world.store.sections["Settings"]["WallpaperType" + std::to_string(desk)] = style;
  }
  std::optional<std::string> System(const std::string& name) {
    return world.registry.Text(RegistryRoot::CurrentUser, kDesktop, name);
  }
  // The three values the system's wallpaper is made of.
  std::vector<std::optional<std::string>> SystemValues() {
    return {System("Wallpaper"), System("WallpaperStyle"), System("TileWallpaper")};
  }
  void Go(int16_t desk) { program.mainWindow->OnSubscribedMessage(1027, 48 + desk, 0); }
  void SettingChanged() { program.mainWindow->OnSubscribedMessage(26, 0, 0); }
  std::string Copy(int desk, const std::string& name) {
    return std::string(kStore) + "\\" + std::to_string(desk) + "\\" + name;
  }

  sim::World world;
  Program program{world.platform()};
  const std::vector<std::optional<std::string>> users = {"C:\\Pictures\\mine.jpg", "22",
                                                         std::nullopt};
};

// Setting any wallpaper ends a slideshow and loses a style the program cannot write, so
// without a desktop image of its own the system's wallpaper is left alone.
TEST_F(Wallpapers, WithoutADesktopImageTheSystemsWallpaperIsNeverTouched) {
  Start();
  Go(2);
  SettingChanged();
  world.clock.Advance(kWallpaperRestoreMs);
  Go(1);
  Exit(program);
  EXPECT_TRUE(world.shell.applied.empty());
  EXPECT_EQ(SystemValues(), users);
}

TEST_F(Wallpapers, EachDesktopShowsItsOwnImageAndTheUsersOwnComesBackAsItWas) {
  GiveWallpaper(2, "sea.bmp");
  GiveWallpaper(4, "sea.bmp", "1");
  Start();
  EXPECT_EQ(world.files.files[Copy(0, "mine.jpg")], "user's own");
  EXPECT_TRUE(world.shell.applied.empty());  // desktop 1 has none of its own

  Go(2);
  EXPECT_EQ(System("Wallpaper"), Copy(2, "sea.bmp"));
  EXPECT_EQ(System("WallpaperStyle"), "2");
  Go(4);  // the same picture in another desktop's copy, tiled
  EXPECT_EQ(System("Wallpaper"), Copy(4, "sea.bmp"));
  EXPECT_EQ(System("TileWallpaper"), "1");
  Go(3);  // the user's own, by its own path and with its own values
  EXPECT_EQ(SystemValues(), users);

  // Only while the user's image is gone does the copy stand in for it.
  Go(2);
  world.files.files.erase("C:\\Pictures\\mine.jpg");
  Go(3);
  EXPECT_EQ(System("Wallpaper"), Copy(0, "mine.jpg"));
  EXPECT_EQ(System("WallpaperStyle"), "22");
  world.files.files["C:\\Pictures\\mine.jpg"] = "user's own";
  Go(2);
  Exit(program);
  EXPECT_EQ(SystemValues(), users);
}

// An abnormal end leaves a desktop's image on the screen: the next start must not take it for
// the user's own, nor put its copy in place of the user's.
TEST_F(Wallpapers, AfterAnAbnormalEndTheUsersWallpaperIsStillTheOneRecordedBefore) {
  GiveWallpaper(2, "sea.bmp");
  Start();
  Go(2);
  world.Crash();
  Program again{world.platform()};
  ASSERT_EQ(StartUp(again), StartOutcome::Running);
  EXPECT_EQ(SystemValues(), users) << "desktop 1 has no image of its own";
  EXPECT_EQ(world.files.files[Copy(0, "mine.jpg")], "user's own");
  again.mainWindow->OnSubscribedMessage(1027, 50, 0);
  Exit(again);
  EXPECT_EQ(SystemValues(), users);
}

TEST_F(Wallpapers, CopiesLiveInTheStoreAndAFailedCopyLosesNothing) {
  Start();
  const std::string sea = KeepWallpaperCopy(program, "C:\\Pictures\\sea.bmp", 3);
  EXPECT_EQ(sea, Copy(3, "sea.bmp"));
  const int copies = static_cast<int>(world.files.files.size());
  EXPECT_EQ(KeepWallpaperCopy(program, sea, 3), sea);  // the stored copy itself: no copying
  EXPECT_EQ(static_cast<int>(world.files.files.size()), copies);

  world.files.files["C:\\Pictures\\hills.png"] = "hills";
  EXPECT_EQ(KeepWallpaperCopy(program, "C:\\Pictures\\hills.png", 3), Copy(3, "hills.png"));
  EXPECT_FALSE(world.files.FileExists(sea));  // one image per desktop

  world.files.readOnlyFolders.push_back(kStore);
  EXPECT_EQ(KeepWallpaperCopy(program, "C:\\Pictures\\sea.bmp", 3), "");
  EXPECT_TRUE(world.files.FileExists(Copy(3, "hills.png")));
  world.files.readOnlyFolders.clear();

  EXPECT_EQ(KeepWallpaperCopy(program, "  ", 3), "");
  EXPECT_FALSE(world.files.FileExists(Copy(3, "hills.png")));
  EXPECT_FALSE(IsBitmapFile("C:\\a.JPG"));
  EXPECT_TRUE(IsBitmapFile("C:\\b.DIB") && IsBitmapFile("x.rle") && IsBitmapFile("y.Bmp"));
}

TEST_F(Wallpapers, ActiveDesktopIsOfferedOnceAndUsedWhereItExists) {
  world.files.files["C:\\Pictures\\a.jpg"] = "a";
  GiveWallpaper(3, "a.jpg");
  GiveWallpaper(5, "b.jpg");
  world.shell.activeDesktopExists = true;
  world.process.versionCode = 8;  // the option decides on this system
  world.ui.boxAnswers = {mb::kYes};
  Start();
  ASSERT_EQ(world.ui.boxes.size(), 1u);
  EXPECT_EQ(world.ui.boxes[0].text, msgs::kEnableActiveDesktopSome.text);
  EXPECT_TRUE(world.shell.activeDesktopOn);
  EXPECT_TRUE(IsActiveDesktopOn(program));

  // Where the object does not exist at all, as under Wine, the parameter call sets it and
  // nobody is asked.
  sim::World wine;
  wine.store.sections = world.store.sections;
  wine.files.files = world.files.files;
  wine.files.folders = world.files.folders;
  Program other{wine.platform()};
  StartUp(other);
  EXPECT_TRUE(wine.ui.boxes.empty());
  EXPECT_FALSE(IsActiveDesktopOn(other));
  other.mainWindow->OnSubscribedMessage(1027, 51, 0);
  EXPECT_EQ(wine.shell.applied.back(), Copy(3, "a.jpg"));
}

TEST_F(Wallpapers, ASystemChangeMakesOnlyAWallpaperTheUserChoseTheirOwn) {
  world.store.sections["Settings"]["Wallpaper2"] = "C:\\Pictures\\sea.bmp";  // not a copy
  Start();
  Go(2);
  // Some other setting changes while desktop 2 shows its own image: the system still reports
  // that image, which is not the user's wallpaper; nor is an image of the store.
  SettingChanged();
  world.shell.UserSets(Copy(3, "sea.bmp"), "2", "0");
  SettingChanged();
  Go(1);
  EXPECT_EQ(SystemValues(), users);

  // The user really chooses a new wallpaper through the system: it becomes their own, and the
  // desktop's own image is back 50 ms later.
  Go(2);
  world.files.files["C:\\Pictures\\new.png"] = "new";
  world.shell.UserSets("C:\\Pictures\\new.png", "0", "1");
  SettingChanged();
  EXPECT_EQ(world.files.files[Copy(0, "new.png")], "new");
  world.clock.Advance(kWallpaperRestoreMs);
  EXPECT_EQ(System("Wallpaper"), "C:\\Pictures\\sea.bmp");

  // The program's own change does not count as the user's.
  world.shell.duringSet = [&] { SettingChanged(); };
  Go(1);
  Go(2);
  world.shell.duringSet = nullptr;
  EXPECT_FALSE(world.ui.TimerRunning(kWallpaperRestoreTimer));

  // A new style for the user's own image, chosen while it shows, is theirs too.
  Go(1);
  world.shell.UserSets("C:\\Pictures\\new.png", "6", "0");
  SettingChanged();
  Go(2);
  Exit(program);
  EXPECT_EQ(SystemValues(),
            (std::vector<std::optional<std::string>>{"C:\\Pictures\\new.png", "6", "0"}));
}

}  // namespace
}  // namespace ombrix
