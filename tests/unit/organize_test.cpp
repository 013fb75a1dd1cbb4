#include "dialogs/organize.h"

#include <gtest/gtest.h>

#include "core/discovery.h"
#include "form_user.h"
#include "heart_fixture.h"
#include "switching/move.h"
#include "switching/switch.h"
#include "ui/tray_menu.h"

namespace ombrix {
namespace {

class Organize : public Started {
 protected:
  // Runs the dialog; act is what the user does while it is open, then Ok closes it.
  void WhileOpen(const std::function<void(Form&)>& act) {
    world.ui.userActions.push_back([this, act] {
      Form* dialog = world.forms.Loaded("frmMove");
      ASSERT_NE(dialog, nullptr);
      EXPECT_EQ(program.busy.OpenDialog(), dialog->hwnd);
      act(*dialog);
      Click(*dialog, "btnOk");
    });
    ShowOrganize(program);
    EXPECT_EQ(world.forms.Loaded("frmMove"), nullptr);
  }
  static Control& List(Form& dialog, int d) { return Ctl(dialog, "lstDesk", d - 1); }
  static std::string Key(int d, Hwnd hwnd) { return std::to_string(d) + "," + std::to_string(hwnd); }
  // The dragged item of desktop d's list at a position, dropped on desktop to's list.
  static void Drag(Form& dialog, int d, int position, int to) {
    const ListItem item = List(dialog, d).ListItems.at(static_cast<size_t>(position));
    dialog.OnItemDropped(List(dialog, d), item, List(dialog, to));
  }
  // Moves the application of window hwnd from the current desktop to desktop d.
  void Send(Hwnd hwnd, int16_t d) {
    ScanDesktop(program, program.desk.iCurDesk);
    const int position = Desk(program.desk.iCurDesk).GetProcessIdxByHandle(hwnd);
    MoveApplication(program, program.desk.iCurDesk, static_cast<int16_t>(position), d);
  }
};

TEST_F(Organize, ListsEveryDesktopUnderItsHeadingExceptThoseThatHideTheirApplications) {
  const Hwnd editor = world.Open("Editor", 10);
  const Hwnd mail = world.Open("Mail", 11);
  const Hwnd secret = world.Open("Secret", 12);
  const Hwnd tiny = world.Open("Tiny", 13);
  world.windows.Get(tiny)->rect = {0, 0, 0, 10};  // zero size: in no list
  Send(mail, 2);
  Send(secret, 3);
  Send(tiny, 4);
  Desk(2).sDeskName = "  Post  ";
  Desk(3).bHideThisDeskApps = true;
  Desk(1).bHideThisDeskApps = true;  // the current desktop is always listed

  WhileOpen([&](Form& dialog) {
    EXPECT_EQ(Ctl(dialog, "lblDesk", 1).Caption, "Post");
    EXPECT_EQ(List(dialog, 1).ListItems, (std::vector<ListItem>{{Key(1, editor), "Editor"}}));
    EXPECT_EQ(List(dialog, 2).ListItems, (std::vector<ListItem>{{Key(2, mail), "Mail"}}));
    EXPECT_TRUE(List(dialog, 3).ListItems.empty());
    EXPECT_TRUE(List(dialog, 4).ListItems.empty());
    EXPECT_EQ(List(dialog, 1).ListIndex, 0);  // the first item is selected
    EXPECT_EQ(List(dialog, 3).ListIndex, -1);
  });
}

TEST_F(Organize, ADropMovesTheApplicationAndItsWindowsHideOrShowAtOnce) {
  const Hwnd editor = world.Open("Editor", 10);
  const Hwnd owned = world.Open("Find", 10, editor);
  const Hwnd other = world.Open("Other", 11);
  const Hwnd away = world.Open("Away", 12);
  Send(away, 5);
  WhileOpen([&](Form& dialog) {
    Drag(dialog, 1, 1, 1);  // its own list: nothing
    EXPECT_EQ(Texts(List(dialog, 1)), (std::vector<std::string>{"Other", "Editor"}));
    EXPECT_TRUE(Visible(editor));

    Drag(dialog, 1, 1, 3);
    EXPECT_FALSE(Visible(editor));
    EXPECT_FALSE(Visible(owned));
    EXPECT_TRUE(Visible(other));
    EXPECT_EQ(Texts(List(dialog, 1)), std::vector<std::string>{"Other"});
    EXPECT_EQ(Texts(List(dialog, 3)), std::vector<std::string>{"Editor"});
    EXPECT_EQ(world.windows.foreground, dialog.hwnd);

    Drag(dialog, 5, 0, 1);  // from a hidden desktop to the current one
    EXPECT_TRUE(Visible(away));
    EXPECT_EQ(Texts(List(dialog, 1)), (std::vector<std::string>{"Other", "Away"}));
    Drag(dialog, 3, 0, 7);  // between hidden desktops: nothing on screen changes
    EXPECT_FALSE(Visible(editor));
  });
  EXPECT_EQ(Desk(7).opi.Count(), 1);
  EXPECT_EQ(Desk(7).lTopHwnd, editor);
  int16_t seven = 7;
  SwitchDesktop(program, seven);
  EXPECT_TRUE(Visible(editor) && Visible(owned));
  EXPECT_FALSE(Visible(other) || Visible(away));
}

// The items were filled at the last refresh; a window that closed since, or a rule that moved
// an application, must not make a drop move another application.
TEST_F(Organize, AStaleItemMovesOnlyTheApplicationItWasFilledFor) {
  const Hwnd first = world.Open("First", 10);
  const Hwnd second = world.Open("Second", 11);
  const Hwnd third = world.Open("Third", 12);
  const Hwnd fourth = world.Open("Fourth", 13);
  WhileOpen([&](Form& dialog) {
    ASSERT_EQ(Texts(List(dialog, 1)),  // topmost first
              (std::vector<std::string>{"Fourth", "Third", "Second", "First"}));
    world.windows.Destroy(first);
    Send(fourth, 6);  // as a rule pass would, without refilling the dialog
    ASSERT_EQ(Texts(List(dialog, 1)).size(), 4u);

    Drag(dialog, 1, 1, 2);  // Third, now first on its desktop
    EXPECT_FALSE(Visible(third));
    EXPECT_TRUE(Visible(second));
    EXPECT_EQ(Texts(List(dialog, 2)), std::vector<std::string>{"Third"});
    EXPECT_EQ(Texts(List(dialog, 1)), std::vector<std::string>{"Second"});
  });
  WhileOpen([&](Form& dialog) {
    const ListItem stale = List(dialog, 1).ListItems.at(0);  // Second
    Send(second, 4);
    dialog.OnItemDropped(List(dialog, 1), stale, List(dialog, 2));
    EXPECT_EQ(Desk(4).opi.Count(), 1);
    EXPECT_TRUE(Desk(2).opi.Count() == 1 && Desk(2).opi[1].ContainHandle(third));
    EXPECT_TRUE(List(dialog, 1).ListItems.empty());  // refilled all the same
    dialog.OnItemDropped(List(dialog, 1), {"1,x", "junk"}, List(dialog, 2));
    dialog.OnItemDropped(List(dialog, 1), {"12,4", "junk"}, List(dialog, 2));
    EXPECT_EQ(Desk(2).opi.Count(), 1);
  });
}

TEST_F(Organize, TheSelectedApplicationMovesByTheNumberOfADesktopOrFromItsMenu) {
  const Hwnd editor = world.Open("Editor", 10);
  const Hwnd mail = world.Open("Mail", 11);
  Desk(4).sDeskName = "Work";
  std::vector<Menu> menus;
  world.ui.choosePopupItem = [&](const Menu& menu) {
    menus.push_back(menu);
    return 4;
  };
  WhileOpen([&](Form& dialog) {
    Control& list = List(dialog, 1);
    Pick(dialog, "lstDesk", 0, 0);  // Mail, the topmost
    EXPECT_FALSE(dialog.OnKeyDown(list, 'A'));
    EXPECT_TRUE(dialog.OnKeyDown(list, '1'));  // its own desktop
    EXPECT_TRUE(Visible(mail));
    EXPECT_TRUE(dialog.OnKeyDown(list, 0x62));  // 2 on the number pad
    EXPECT_FALSE(Visible(mail));
    EXPECT_EQ(Texts(List(dialog, 2)), std::vector<std::string>{"Mail"});
    ASSERT_EQ(Texts(list), std::vector<std::string>{"Editor"});
    EXPECT_EQ(list.ListIndex, 0);  // the next one is selected, ready for the next key

    dialog.OnContextMenu(list);
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_EQ(menus[0].items.size(), 9u);
    EXPECT_EQ(menus[0].items[3].Caption, "Move to Work");
    EXPECT_FALSE(menus[0].items[0].Enabled);
    EXPECT_TRUE(menus[0].items[1].Enabled);
    EXPECT_FALSE(Visible(editor));
    EXPECT_EQ(Texts(List(dialog, 4)), std::vector<std::string>{"Editor"});

    dialog.OnContextMenu(list);  // nothing selected in an empty list: no menu
    EXPECT_EQ(menus.size(), 1u);
  });
}

TEST_F(Organize, ListsAreRefilledAtEveryActivationAndPicturesAskedByKey) {
  const Hwnd editor = world.Open("Editor", 10);
  world.windows.Get(editor)->largeIcon = 0x4444;
  WhileOpen([&](Form& dialog) {
    EXPECT_EQ(Texts(List(dialog, 1)), std::vector<std::string>{"Editor"});
    const Hwnd later = world.Open("Later", 11);
    dialog.OnActivate(false);
    EXPECT_EQ(Texts(List(dialog, 1)), (std::vector<std::string>{"Later", "Editor"}));
    world.windows.Destroy(editor);
    dialog.OnActivate(true);
    EXPECT_EQ(Texts(List(dialog, 1)), std::vector<std::string>{"Later"});

    const IconHandle fallback = world.ui.Picture(MenuPicture::DefaultApplication);
    EXPECT_EQ(dialog.OnItemPicture(List(dialog, 1), {Key(1, later), "Later"}), fallback);
    world.windows.Get(later)->smallIcon = 0x5555;
    EXPECT_EQ(dialog.OnItemPicture(List(dialog, 1), {Key(1, later), "Later"}), 0x5555);
    EXPECT_EQ(dialog.OnItemPicture(List(dialog, 1), {Key(1, editor), "Editor"}), fallback);
  });
}

TEST_F(Organize, MoveToOpensTheDialogAndWhileItIsOpenTheTrayOnlyBringsItForward) {
  world.ui.choosePopupItem = [](const Menu&) { return menu_id::kMoveTo; };
  world.ui.userActions.push_back([this] {
    Form* dialog = world.forms.Loaded("frmMove");
    ASSERT_NE(dialog, nullptr);
    program.mainWindow->OnTrayMouse(msg::kRButtonUp);
    EXPECT_EQ(world.ui.popups.size(), 1u);
    EXPECT_EQ(world.windows.foreground, dialog->hwnd);
    Click(*dialog, "btnOk");
  });
  program.mainWindow->OnTrayMouse(msg::kRButtonUp);
  EXPECT_EQ(world.forms.Loaded("frmMove"), nullptr);
  EXPECT_EQ(program.busy.OpenDialog(), 0);
}

}  // namespace
}  // namespace ombrix
