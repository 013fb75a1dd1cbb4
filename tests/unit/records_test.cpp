#include <gtest/gtest.h>

#include "core/records.h"

namespace ombrix {
namespace {

std::shared_ptr<clsWI> Win(Hwnd h, std::string title, std::string cls = "Cls",
                           int16_t hide = kListed) {
  auto w = std::make_shared<clsWI>();
  w->lHwnd = h;
  w->window_text = std::move(title);
  w->class_name = std::move(cls);
  w->iHideFromList = hide;
  return w;
}

std::shared_ptr<clsPI> App(int32_t pid, std::vector<std::shared_ptr<clsWI>> windows) {
  auto app = std::make_shared<clsPI>();
  app->pID = pid;
  for (auto& w : windows) app->oWin.Add(w);
  return app;
}

TEST(Desktop, VisibleApplicationCountSkipsUntitledAndZeroSizeOnes) {
  clsDesktop desk;
  desk.opi.Add(App(1, {Win(1, "", "C", kNoTitle)}));
  desk.opi.Add(App(2, {Win(2, "x", "C", kZeroSize)}));
  desk.opi.Add(App(3, {Win(3, "y"), Win(4, "", "C", kNoTitle)}));
  desk.opi.Add(App(4, {}));
  EXPECT_EQ(desk.GetNumVisProc(), 1);
}

TEST(Application, TextFallsBackFromTitleToClassAndTheIconIsLookedUpOnce) {
  auto app = App(1, {Win(1, "", ""), Win(2, "", "Notepad"), Win(3, "Doc", "Edit")});
  EXPECT_EQ(app->GetText(kTitleOrClass), "Doc");
  auto untitled = App(1, {Win(1, "", ""), Win(2, "", "Notepad")});
  EXPECT_EQ(untitled->GetText(kTitleOrClass), "Notepad");
  EXPECT_EQ(untitled->GetText(kTitleOnly), "");
  EXPECT_EQ(app->GetText(kClassOnly), "Notepad");
  EXPECT_EQ(app->GetText(7), "");

  // The icon: the first window's with one, the small class icon before the large one.
  int lookups = 0;
  ClassIconLookup lookup = [&](Hwnd h, bool small) -> IconHandle {
    ++lookups;
    if (h == 2) return small ? 0 : 22;
    if (h == 3) return small ? 33 : 34;
    return 0;
  };
  EXPECT_EQ(app->GetHIcon(lookup), 22);  // window 1 has none, window 2 only a large one
  const int afterFirst = lookups;
  EXPECT_EQ(app->GetHIcon(lookup), 22);
  EXPECT_EQ(lookups, afterFirst);  // cached
  auto none = App(1, {Win(1, "a")});
  EXPECT_EQ(none->GetHIcon([](Hwnd, bool) { return 0; }), 0);
}

TEST(Text, CaseMappingCoversLatin1AndTrimOnlyBlanks) {
  EXPECT_EQ(LowerText("ÀÉÎÕÜ Straße ×"), "àéîõü straße ×");
  EXPECT_EQ(UpperText("àéîõü abc ÷"), "ÀÉÎÕÜ ABC ÷");
  EXPECT_EQ(TrimBlanks("  Work  "), "Work");
  EXPECT_EQ(TrimBlanks("\tWork "), "\tWork");
  EXPECT_EQ(TrimBlanks("   "), "");
}

}  // namespace
}  // namespace ombrix
