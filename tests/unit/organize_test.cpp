#include "dialogs/organize.h"

#include <gtest/gtest.h>

#include "appearance/passwords.h"
#include "core/discovery.h"
#include "heart_fixture.h"
#include "switching/move.h"

namespace ombrix {
namespace {

using Names = std::vector<std::string>;

class Organize : public Started {
 protected:
  // Runs the dialog; act is what the user does while it is open, then Ok closes it.
  void WhileOpen(const std::function<void(Form&)>& act) {
    Then("frmMove", [this, act](Form& dialog) {
      act(dialog);
      Click(dialog, "btnOk");
    });
    ShowOrganize(program);
    EXPECT_EQ(world.forms.Loaded("frmMove"), nullptr);
  }
  static Control& List(Form& dialog, int d) { return Ctl(dialog, "lstDesk", d - 1); }
  static std::string Key(int d, Hwnd hwnd) {
    return std::to_string(d) + "," + std::to_string(hwnd);
  }
  // The item of desktop d's list at a position, dragged and dropped on desktop to's list.
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
  Send(mail, 2);
  Send(secret, 3);
  Desk(2).sDeskName = "  Post  ";
  Desk(3).bHideThisDeskApps = true;
  Desk(1).bHideThisDeskApps = true;  // the current desktop is always listed
  WhileOpen([&](Form& dialog) {
    EXPECT_EQ(Ctl(dialog, "lblDesk", 1).Caption, "Post");
    EXPECT_EQ(List(dialog, 1).ListItems, (std::vector<ListItem>{{Key(1, editor), "Editor"}}));
    EXPECT_EQ(List(dialog, 2).ListItems, (std::vector<ListItem>{{Key(2, mail), "Mail"}}));
    EXPECT_TRUE(List(dialog, 3).ListItems.empty());
    EXPECT_EQ(List(dialog, 1).ListIndex, 0);  // the first item is selected
    EXPECT_EQ(List(dialog, 3).ListIndex, -1);
  });
}

// The items were filled at the last refresh; a window that closed since, or a rule that moved
// an application, must not make a drop move another application.
TEST_F(Organize, ADropMovesOnlyTheApplicationItWasFilledForWithAllItsWindows) {
  const Hwnd first = world.Open("First", 10);
  const Hwnd second = world.Open("Second", 11);
  const Hwnd owned = world.Open("Find", 11, second);
  const Hwnd third = world.Open("Third", 12);
  const Hwnd fourth = world.Open("Fourth", 13);
  WhileOpen([&](Form& dialog) {
    ASSERT_EQ(Texts(List(dialog, 1)), (Names{"Fourth", "Third", "Second", "First"}));
    Drag(dialog, 1, 0, 1);  // on its own list: nothing moves
    EXPECT_TRUE(Visible(fourth));
    world.windows.Destroy(first);
    Send(fourth, 6);  // as a rule pass would, without refilling the dialog
    Drag(dialog, 1, 1, 2);  // Third, now first on its desktop
    EXPECT_FALSE(Visible(third));
    EXPECT_EQ(Texts(List(dialog, 1)), Names{"Second"});
    EXPECT_EQ(world.windows.foreground, dialog.hwnd);

    const ListItem stale = List(dialog, 1).ListItems.at(0);  // Second
    Send(second, 4);
    dialog.OnItemDropped(List(dialog, 1), stale, List(dialog, 2));
    dialog.OnItemDropped(List(dialog, 1), {"1,x", "junk"}, List(dialog, 2));
    dialog.OnItemDropped(List(dialog, 1), {"12,4", "junk"}, List(dialog, 2));
    EXPECT_EQ(Desk(2).opi.Count(), 1);
    Drag(dialog, 4, 0, 1);  // from a hidden desktop: it shows, with the window it owns
    EXPECT_TRUE(Visible(second) && Visible(owned));
  });
}

TEST_F(Organize, TheSelectedApplicationMovesByTheNumberOfADesktopOrFromItsMenu) {
  world.Open("Editor", 10);
  const Hwnd mail = world.Open("Mail", 11);
  Desk(4).sDeskName = "Work";
  std::vector<Menu> menus;
  world.ui.choosePopupItem = [&](const Menu& menu) {
    menus.push_back(menu);
    return 4;
  };
  WhileOpen([&](Form& dialog) {
    Control& list = List(dialog, 1);
    world.forms.Pick(dialog, "lstDesk", 0, 0);  // Mail, the topmost
    EXPECT_FALSE(dialog.OnKeyDown(list, 'A'));
    EXPECT_TRUE(dialog.OnKeyDown(list, '1'));  // its own desktop: nothing moves
    EXPECT_TRUE(Visible(mail));
    EXPECT_TRUE(dialog.OnKeyDown(list, 0x62));  // 2 on the number pad
    EXPECT_EQ(Texts(List(dialog, 2)), Names{"Mail"});
    EXPECT_EQ(list.ListIndex, 0);  // the next one is selected, ready for the next key

    dialog.OnContextMenu(list);
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_EQ(menus[0].items[3].Caption, "Move to Work");
    EXPECT_FALSE(menus[0].items[0].Enabled);
    dialog.OnContextMenu(list);  // nothing selected in an empty list: no menu
    dialog.OnContextMenu(Ctl(dialog, "btnOk"));
    EXPECT_EQ(menus.size(), 1u);
  });
}

// Every way of moving asks, once per opening of the dialog, for the password of a protected
// desktop that an application leaves, unless it is the current one; a desktop it goes to asks
// nothing.
TEST_F(Organize, AnApplicationLeavesAProtectedDesktopOnlyWithItsPassword) {
  const Hwnd mail = world.Open("Mail", 11);
  const Hwnd news = world.Open("News", 12);
  const Hwnd editor = world.Open("Editor", 10);
  Send(mail, 2);
  Send(news, 2);
  Desk(2).sPassword = EncodePassword("pw");
  Desk(3).sPassword = EncodePassword("three");
  Desk(1).sPassword = EncodePassword("one");  // the current desktop's windows are on screen
  world.ui.choosePopupItem = [](const Menu&) { return 1; };
  WhileOpen([&](Form& dialog) {
    Drag(dialog, 1, 0, 3);
    EXPECT_FALSE(Visible(editor));
    AnswerPrompt("pw", "btnCancel");
    Drag(dialog, 2, 0, 1);
    AnswerPrompt("wrong");
    EXPECT_TRUE(dialog.OnKeyDown(List(dialog, 2), '1'));
    EXPECT_EQ(LastBox(), "Wrong password!");
    EXPECT_FALSE(Visible(mail) || Visible(news));
    EXPECT_EQ(Desk(2).opi.Count(), 2);

    AnswerPrompt("pw");
    dialog.OnContextMenu(List(dialog, 2));
    EXPECT_TRUE(Visible(mail) != Visible(news));
    Drag(dialog, 2, 0, 1);  // asked once
    EXPECT_TRUE(Visible(mail) && Visible(news));
    EXPECT_TRUE(world.ui.userActions.empty());
  });
}

TEST_F(Organize, ListsAreRefilledAtEveryActivationAndPicturesAskedByKey) {
  const Hwnd editor = world.Open("Editor", 10);
  WhileOpen([&](Form& dialog) {
    const Hwnd later = world.Open("Later", 11);
    world.windows.Destroy(editor);
    dialog.OnActivate(true);
    EXPECT_EQ(Texts(List(dialog, 1)), Names{"Later"});

    const IconHandle fallback = world.ui.Picture(MenuPicture::DefaultApplication);
    EXPECT_EQ(dialog.OnItemPicture(List(dialog, 1), {Key(1, later), "Later"}), fallback);
    world.windows.Get(later)->smallIcon = 0x5555;
    EXPECT_EQ(dialog.OnItemPicture(List(dialog, 1), {Key(1, later), "Later"}), 0x5555);
    EXPECT_EQ(dialog.OnItemPicture(List(dialog, 1), {Key(1, editor), "Editor"}), fallback);
  });
}

}  // namespace
}  // namespace ombrix
