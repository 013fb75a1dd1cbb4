// Lists, picture lists, combo boxes and check boxes: their items, selection and check state
// kept in step with the form model, the notifications that report what the user chose, and
// the drag of a picture list's item onto another picture list.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/win32/win.h"
#include "ui/form.h"

namespace ombrix::win32 {

// Sent by a picture list to its form window for a key that goes down in it (wParam the
// virtual key, lParam the list); a non-zero answer means the form used the key.
constexpr UINT kListKeyMessage = WM_APP + 0x40;

// What the host last gave a list, combo box or check box window.
struct ChoiceState {
  std::vector<ListItem> items;    // lists
  std::vector<std::string> texts;  // combo boxes
  int listIndex = -1;
  bool value = false;
  HIMAGELIST images = nullptr;  // picture lists; the list view destroys it with itself
  std::map<IconHandle, int> imageOf;
};

// The list view of a new picture list: one column across its width, small pictures, and its
// keys reported to the form window.
void SetUpPictureList(HWND list, UINT dpi);
// Keeps the one column as wide as the list.
void FitPictureListColumn(HWND list);
// Gives the window the control's items, selection and check state where they changed.
void SyncChoices(HWND child, ChoiceState& state, const Control& control);
// Reads what the user chose in the window into the control, for a WM_COMMAND notification
// code; false when the code reports no choice.
bool ReadChoice(HWND child, ChoiceState& state, Control& control, WORD code);
// Reads a list view's selection change into the control; true when an item was selected.
bool ReadPictureListChange(const NMLISTVIEW& change, ChoiceState& state, Control& control);
// The image list index of an item's picture for a list view, made at the list's DPI on the
// list's background; -1 for no picture.
int PictureIndex(HWND list, ChoiceState& state, IconHandle picture);

// A drag of a picture list's item: the form window has the mouse captured until it ends.
struct ItemDrag {
  int source = -1;  // the list's position in the form; -1 when no drag runs
  ListItem item;
  HIMAGELIST image = nullptr;
};
// Starts the drag of item `index` of the list, grabbed at `grab` (list client coordinates).
void BeginItemDrag(HWND form, HWND list, int source, int index, const ListItem& item,
                   POINT grab, ItemDrag& drag);
// Moves the drag image to the mouse, at a point in form client coordinates; over a place
// where the item cannot be dropped the cursor says so.
void DragItemTo(HWND form, POINT at, bool droppable);
// Ends the drag; the caller then decides on the drop.
void EndItemDrag(HWND form, ItemDrag& drag);

}  // namespace ombrix::win32
