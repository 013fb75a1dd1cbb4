#include <gtest/gtest.h>

#include "app/lifecycle.h"
#include "app/program.h"
#include "lang/messages.h"
#include "platform/sim/sim.h"

namespace ombrix {
namespace {

// The system's and the program's wallpaper values as the simulated registry holds them.
constexpr const char* kStore = "C:\\Users\\me\\AppData\\Local\\Ombrix";

class Wallpapers : public ::testing::Test {
 protected:
  void SetUp() override {
    world.store.sections["Settings"]["FirstUse"] = "0";
    world.files.files["C:\\Pictures\\mine.jpg"] = "user's own";
    world.files.files["C:\\Pictures\\sea.bmp"] = "sea";
    world.shell.UserSets("C:\\Pictures\\mine.jpg", "10", "0");
  }
  void Start() { ASSERT_EQ(StartUp(program), StartOutcome::Running); }
  // A desktop whose wallpaper was chosen earlier: its copy is in the store.
  void GiveWallpaper(int desk, const std::string& image, const std::string& style = "2") {
    const std::string copy = std::string(kStore) + "\\" + std::to_string(desk) + "\\" + image;
    world.files.folders.push_back(std::string(kStore) + "\\" + std::to_string(desk));
    world.files.files[copy] = image;
    world.store.sections["Settings"]["Wallpaper" + std::to_string(desk)] = copy;
    world.store.sections["Settings"]["WallpaperType" + std::to_string(desk)] = style;
  }
  std::string System(const std::string& name) {
    return world.registry.Text(RegistryRoot::CurrentUser, "Control Panel\\Desktop", name)
        .value_or("");
  }
  void Go(int16_t desk) { program.mainWindow->OnSubscribedMessage(1027, 48 + desk, 0); }
  void SettingChanged() { program.mainWindow->OnSubscribedMessage(26, 0, 0); }
  std::string Copy(int desk, const std::string& name) {
    return std::string(kStore) + "\\" + std::to_string(desk) + "\\" + name;
  }

  sim::World world;
  Program program{world.platform()};
};

TEST_F(Wallpapers, EachDesktopShowsItsOwnImageAndTheStartUpOneComesBack) {
  GiveWallpaper(2, "sea.bmp");
  GiveWallpaper(4, "sea.bmp", "1");
  Start();
  EXPECT_EQ(program.wallpaper.sOrigWallPaper, Copy(0, "mine.jpg"));
  EXPECT_EQ(world.files.files[Copy(0, "mine.jpg")], "user's own");
  EXPECT_EQ(program.wallpaper.iOrigWallPaperType, 10);
  EXPECT_TRUE(world.shell.applied.empty());  // desktop 1 has none of its own

  Go(2);
  EXPECT_EQ(System("Wallpaper"), Copy(2, "sea.bmp"));
  EXPECT_EQ(System("WallpaperStyle"), "2");
  Go(4);  // the same picture in another desktop's copy, tiled
  EXPECT_EQ(System("Wallpaper"), Copy(4, "sea.bmp"));
  EXPECT_EQ(System("TileWallpaper"), "1");
  Go(3);
  EXPECT_EQ(System("Wallpaper"), Copy(0, "mine.jpg"));
  EXPECT_EQ(System("WallpaperStyle"), "10");
  const size_t applied = world.shell.applied.size();
  Go(5);  // neither desktop has one: nothing is set
  EXPECT_EQ(world.shell.applied.size(), applied);

  Go(2);
  program.bExitRequested = true;
  ASSERT_TRUE(UnloadMainWindow(program, UnloadReason::FormCode));
  EXPECT_EQ(System("Wallpaper"), Copy(0, "mine.jpg"));
  EXPECT_EQ(System("WallpaperStyle"), "10");
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

TEST_F(Wallpapers, StylesMapToTheSystemsValuesBothWays) {
  Start();
  const std::vector<std::tuple<int, std::string, std::string>> table = {
      {0, "0", "0"}, {1, "0", "1"}, {10, "10", "0"}, {7, "", ""}};
  for (const auto& [code, style, tile] : table) {
    ASSERT_TRUE(SetWallpaper(program, "C:\\Pictures\\sea.bmp", code));
    EXPECT_EQ(System("WallpaperStyle"), style) << code;
    EXPECT_EQ(System("TileWallpaper"), tile) << code;
    if (code == 7) continue;
    EXPECT_EQ(ReadSystemWallpaper(program).style, code);
  }
  world.shell.refuse = true;
  EXPECT_FALSE(SetWallpaper(program, "C:\\Pictures\\sea.bmp", 0));
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

TEST_F(Wallpapers, ASystemChangeKeepsTheUsersStartUpWallpaperUnlessTheyChoseANewOne) {
  GiveWallpaper(2, "sea.bmp");
  Start();
  Go(2);
  // Some other setting changes while desktop 2 shows its own image: the system still reports
  // that image, which is not the user's wallpaper.
  SettingChanged();
  EXPECT_EQ(program.wallpaper.sOrigWallPaper, Copy(0, "mine.jpg"));
  EXPECT_EQ(world.files.files[Copy(0, "mine.jpg")], "user's own");

  // The user really chooses a new wallpaper through the system: it becomes the start-up one,
  // and the desktop's own image is back 50 ms later.
  world.files.files["C:\\Pictures\\new.png"] = "new";
  world.shell.UserSets("C:\\Pictures\\new.png", "0", "1");
  SettingChanged();
  EXPECT_EQ(program.wallpaper.sOrigWallPaper, Copy(0, "new.png"));
  EXPECT_EQ(program.wallpaper.iOrigWallPaperType, 1);
  world.clock.Advance(kWallpaperRestoreMs);
  EXPECT_EQ(System("Wallpaper"), Copy(2, "sea.bmp"));
  Go(1);
  EXPECT_EQ(System("Wallpaper"), Copy(0, "new.png"));

  // The program's own change does not count as the user's.
  world.shell.duringSet = [&] { SettingChanged(); };
  Go(2);
  world.shell.duringSet = nullptr;
  EXPECT_EQ(program.wallpaper.sOrigWallPaper, Copy(0, "new.png"));
  EXPECT_FALSE(world.ui.TimerRunning(kWallpaperRestoreTimer));
}

}  // namespace
}  // namespace ombrix
