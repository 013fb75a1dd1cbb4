#include "dialogs/organize.h"

#include "app/program.h"
#include "core/discovery.h"
#include "dialogs/application_list.h"
#include "lang/messages.h"
#include "switching/move.h"

namespace ombrix {

namespace {

constexpr int kColumns = 3;
constexpr int kCellWidth = 190;
constexpr int kHeadingHeight = 18;
constexpr int kListHeight = 128;
constexpr int kGap = 10;
constexpr int kMargin = 12;
constexpr int kGridTop = 56;

// The desktop of a digit key, on the top row or the number pad; 0 for any other key.
int16_t DesktopOfKey(int virtualKey) {
  if (virtualKey >= '1' && virtualKey <= '9') return static_cast<int16_t>(virtualKey - '0');
  constexpr int kNumPad1 = 0x61;
  if (virtualKey >= kNumPad1 && virtualKey < kNumPad1 + kDesktopCount) {
    return static_cast<int16_t>(virtualKey - kNumPad1 + 1);
  }
  return 0;
}

}  // namespace

frmMove::frmMove(Program& program) : Dialog(program) {
  Name = "frmMove";
  Caption = "Organize Applications...";
  const int gridHeight = kColumns * (kHeadingHeight + kListHeight) + (kColumns - 1) * kGap;
  width = 2 * kMargin + kColumns * kCellWidth + (kColumns - 1) * kGap;
  height = kGridTop + gridHeight + 48;
  centred = true;

  Add({.Name = "lblInfo",
       .Caption = "Move applications among desktops by dragging them...",
       .bounds = {kMargin, 10, width - kMargin, 28}});
  Add({.Name = "lblKeys",
       .Caption = "Or select one and press the number of a desktop, or open its menu.",
       .bounds = {kMargin, 30, width - kMargin, 48}});
  for (int i = 0; i < kDesktopCount; ++i) {
    const int left = kMargin + (i % kColumns) * (kCellWidth + kGap);
    const int top = kGridTop + (i / kColumns) * (kHeadingHeight + kListHeight + kGap);
    headings_[i] = Add({.Name = "lblDesk",
                        .Index = i,
                        .bounds = {left, top, left + kCellWidth, top + kHeadingHeight},
                        .font = {.bold = true}});
    lists_[i] = Add({.Name = "lstDesk",
                     .Index = i,
                     .kind = ControlKind::PictureList,
                     .bounds = {left, top + kHeadingHeight, left + kCellWidth,
                                top + kHeadingHeight + kListHeight},
                     .DragDrop = true});
  }
  ok_ = Add({.Name = "btnOk",
             .kind = ControlKind::Button,
             .Caption = "Ok",
             .bounds = {width - kMargin - 84, height - 38, width - kMargin, height - 12},
             .Default = true,
             .Cancel = true});
}

int16_t frmMove::DesktopOf(const Control& list) const {
  for (size_t i = 0; i < lists_.size(); ++i) {
    if (list == lists_[i]) return static_cast<int16_t>(i + 1);
  }
  return 0;
}

void frmMove::RefreshLists() {
  ScanDesktop(program_, program_.desk.iCurDesk);
  for (int16_t d = 1; d <= kDesktopCount; ++d) {
    Control& list = At(lists_[d - 1]);
    At(headings_[d - 1]).Caption = DesktopHeading(program_, d);
    list.ListItems.clear();
    if (ListsApplicationsOf(program_, d)) list.ListItems = ApplicationItems(program_, d);
    const int count = static_cast<int>(list.ListItems.size());
    if (list.ListIndex >= count || list.ListIndex < 0) list.ListIndex = count > 0 ? 0 : -1;
  }
}

// Filled at load as well: where the system refuses the dialog the foreground, it is not
// activated until the user clicks it.
void frmMove::OnLoad() {
  LoadDialog();
  RefreshLists();
}

void frmMove::OnActivate(bool) { RefreshLists(); }

void frmMove::OnClick(Control& control) {
  if (control == ok_) HideDialog();
}

IconHandle frmMove::OnItemPicture(Control&, const ListItem& item) {
  return ApplicationPicture(program_, item.Key);
}

void frmMove::OnItemDropped(Control&, const ListItem& item, Control& target) {
  const int16_t to = DesktopOf(target);
  if (to != 0) MoveItem(item.Key, to);
}

bool frmMove::OnKeyDown(Control& list, int virtualKey) {
  const int16_t to = DesktopOfKey(virtualKey);
  const int16_t from = DesktopOf(list);
  const ListItem* item = SelectedItem(list);
  if (to == 0 || from == 0 || item == nullptr) return false;
  if (to != from) MoveItem(item->Key, to);
  return true;
}

void frmMove::OnContextMenu(Control& control) {
  const int16_t from = DesktopOf(control);
  const ListItem* item = SelectedItem(control);
  if (from == 0 || item == nullptr) return;
  Menu menu;
  for (int16_t d = 1; d <= kDesktopCount; ++d) {
    Menu entry;
    entry.Caption = GetMsgFmt(program_, msgs::kMoveToDesktop.id, msgs::kMoveToDesktop.text,
                              DesktopHeading(program_, d));
    entry.id = d;
    entry.Enabled = d != from;
    menu.items.push_back(entry);
  }
  std::string key = item->Key;
  const int chosen = program_.platform.ui.PopupMenu(hwnd, menu);
  if (chosen >= 1 && chosen <= kDesktopCount)
    MoveItem(std::move(key), static_cast<int16_t>(chosen));
}

// The item was filled at the last refresh; since then a window may have closed or a rule may
// have moved an application, so it is looked up again by its window, and nothing is moved when
// that application has left the item's desktop. The password prompt lets messages through too.
void frmMove::MoveItem(std::string key, int16_t to) {
  ApplicationPlace place = FindApplication(program_, key);
  if (place.position > 0 && place.desk != to && unlocked_.MayMoveFrom(program_, place.desk)) {
    if (hwnd == 0) return;  // the session ended while the prompt was open
    place = FindApplication(program_, key);
    if (place.position > 0) {
      MoveApplication(program_, place.desk, static_cast<int16_t>(place.position), to);
      program_.platform.ui.DoEvents();
    }
  }
  if (hwnd == 0) return;  // the session ended while messages ran
  RefreshLists();
  program_.platform.windows.SetForegroundWindow(hwnd);
}

void ShowOrganize(Program& program) {
  frmMove dialog(program);
  ShowDialog(program, dialog, true);
}

}  // namespace ombrix
