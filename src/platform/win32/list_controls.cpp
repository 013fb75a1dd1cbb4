#include "platform/win32/list_controls.h"

#include <memory>

#include "platform/win32/dpi.h"
#include "platform/win32/handles.h"
#include "platform/win32/text.h"

namespace ombrix::win32 {

namespace {

constexpr int kPictureWidth = 18;  // a 16x16 icon one pixel in from the left
constexpr int kPictureHeight = 16;
constexpr int kIconSize = 16;

// A key a list view's form used is eaten, and the character it makes with it.
struct KeyFilter {
  bool eatChar = false;
};

LRESULT CALLBACK PictureListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam,
                                 UINT_PTR id, DWORD_PTR data) {
  auto* filter = reinterpret_cast<KeyFilter*>(data);
  switch (message) {
    case WM_KEYDOWN:
      filter->eatChar = SendMessageW(GetParent(list), kListKeyMessage, wParam,
                                     reinterpret_cast<LPARAM>(list)) != 0;
      if (filter->eatChar) return 0;
      break;
    case WM_CHAR:
      if (filter->eatChar) {
        filter->eatChar = false;
        return 0;
      }
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(list, PictureListProc, id);
      delete filter;
      break;
    default:
      break;
  }
  return DefSubclassProc(list, message, wParam, lParam);
}

void SetItemState(HWND list, int index, UINT state, UINT mask) {
  LVITEMW item{};
  item.stateMask = mask;
  item.state = state;
  SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void FillPictureList(HWND list, ChoiceState& state, const std::vector<ListItem>& items) {
  SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
  // Icons of programs that ended may be reused for others: pictures are asked again.
  if (state.images != nullptr) ImageList_RemoveAll(state.images);
  state.imageOf.clear();
  for (size_t i = 0; i < items.size(); ++i) {
    std::wstring text = Widen(items[i].Text);
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = static_cast<int>(i);
    item.pszText = text.data();
    item.iImage = I_IMAGECALLBACK;
    SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }
}

void SelectPictureListItem(HWND list, int index) {
  SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  if (index < 0) return;
  SetItemState(list, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
}

void FillTexts(HWND child, UINT reset, UINT add, const std::vector<std::string>& texts) {
  SendMessageW(child, reset, 0, 0);
  for (const std::string& text : texts) {
    SendMessageW(child, add, 0, reinterpret_cast<LPARAM>(Widen(text).c_str()));
  }
}

std::vector<std::string> TextsOf(const std::vector<ListItem>& items) {
  std::vector<std::string> texts;
  for (const ListItem& item : items) texts.push_back(item.Text);
  return texts;
}

// The point relative to the form window's outer upper-left corner, where drag images are
// drawn.
POINT InWindow(HWND form, POINT client) {
  POINT screen = client;
  ClientToScreen(form, &screen);
  RECT outer{};
  GetWindowRect(form, &outer);
  return {screen.x - outer.left, screen.y - outer.top};
}

}  // namespace

void SetUpPictureList(HWND list, UINT dpi) {
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH;
  SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
  FitPictureListColumn(list);
  HIMAGELIST images = ImageList_Create(Scale(kPictureWidth, dpi), Scale(kPictureHeight, dpi),
                                       ILC_COLOR24, 8, 8);
  SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
  SetWindowSubclass(list, PictureListProc, 1, reinterpret_cast<DWORD_PTR>(new KeyFilter));
}

void FitPictureListColumn(HWND list) {
  RECT client{};
  GetClientRect(list, &client);
  SendMessageW(list, LVM_SETCOLUMNWIDTH, 0, client.right - client.left);
}

void SyncChoices(HWND child, ChoiceState& state, const Control& control) {
  switch (control.kind) {
    case ControlKind::CheckBox:
    case ControlKind::OptionButton:
      if (state.value != control.Value) {
        state.value = control.Value;
        SendMessageW(child, BM_SETCHECK, control.Value ? BST_CHECKED : BST_UNCHECKED, 0);
      }
      return;
    case ControlKind::ComboBox:
      if (state.texts != control.Items) {
        state.texts = control.Items;
        FillTexts(child, CB_RESETCONTENT, CB_ADDSTRING, control.Items);
        state.listIndex = -2;  // whatever it was, it is given again
      }
      if (state.listIndex != control.ListIndex) {
        state.listIndex = control.ListIndex;
        SendMessageW(child, CB_SETCURSEL, static_cast<WPARAM>(control.ListIndex), 0);
      }
      return;
    case ControlKind::TabStrip:
      if (state.texts != control.Items) {
        state.texts = control.Items;
        SendMessageW(child, TCM_DELETEALLITEMS, 0, 0);
        for (size_t i = 0; i < control.Items.size(); ++i) {
          std::wstring text = Widen(control.Items[i]);
          TCITEMW item{};
          item.mask = TCIF_TEXT;
          item.pszText = text.data();
          SendMessageW(child, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
        }
        state.listIndex = -2;
      }
      if (state.listIndex != control.ListIndex) {
        state.listIndex = control.ListIndex;
        SendMessageW(child, TCM_SETCURSEL, static_cast<WPARAM>(control.ListIndex), 0);
      }
      return;
    case ControlKind::ListBox:
      if (state.items != control.ListItems) {
        state.items = control.ListItems;
        FillTexts(child, LB_RESETCONTENT, LB_ADDSTRING, TextsOf(control.ListItems));
        state.listIndex = -2;
      }
      if (state.listIndex != control.ListIndex) {
        state.listIndex = control.ListIndex;
        SendMessageW(child, LB_SETCURSEL, static_cast<WPARAM>(control.ListIndex), 0);
      }
      return;
    case ControlKind::PictureList:
      if (state.images == nullptr) {
        state.images = reinterpret_cast<HIMAGELIST>(
            SendMessageW(child, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
      }
      if (state.items != control.ListItems) {
        state.items = control.ListItems;
        FillPictureList(child, state, control.ListItems);
        state.listIndex = -2;
      }
      if (state.listIndex != control.ListIndex) {
        state.listIndex = control.ListIndex;
        SelectPictureListItem(child, control.ListIndex);
      }
      return;
    default:
      return;
  }
}

bool ReadChoice(HWND child, ChoiceState& state, Control& control, WORD code) {
  switch (control.kind) {
    case ControlKind::CheckBox:
    case ControlKind::OptionButton:
      if (code != BN_CLICKED) return false;
      state.value = SendMessageW(child, BM_GETCHECK, 0, 0) == BST_CHECKED;
      control.Value = state.value;
      return true;
    case ControlKind::ComboBox:
      if (code != CBN_SELCHANGE) return false;
      state.listIndex = static_cast<int>(SendMessageW(child, CB_GETCURSEL, 0, 0));
      control.ListIndex = state.listIndex;
      return true;
    case ControlKind::ListBox:
      if (code != LBN_SELCHANGE) return false;
      state.listIndex = static_cast<int>(SendMessageW(child, LB_GETCURSEL, 0, 0));
      control.ListIndex = state.listIndex;
      return true;
    default:
      return false;
  }
}

bool ReadPictureListChange(const NMLISTVIEW& change, ChoiceState& state, Control& control) {
  if ((change.uChanged & LVIF_STATE) == 0 || change.iItem < 0) return false;
  const bool was = (change.uOldState & LVIS_SELECTED) != 0;
  const bool is = (change.uNewState & LVIS_SELECTED) != 0;
  if (is && !was) {
    state.listIndex = change.iItem;
    control.ListIndex = change.iItem;
    return true;
  }
  if (was && !is && control.ListIndex == change.iItem) {
    state.listIndex = -1;
    control.ListIndex = -1;
  }
  return false;
}

int PictureIndex(HWND list, ChoiceState& state, IconHandle picture) {
  if (picture == 0 || state.images == nullptr) return -1;
  if (auto found = state.imageOf.find(picture); found != state.imageOf.end()) {
    return found->second;
  }
  const UINT dpi = WindowDpi(list);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = Scale(kPictureWidth, dpi);
  info.bmiHeader.biHeight = Scale(kPictureHeight, dpi);
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC dc = CreateCompatibleDC(nullptr);
  int index = -1;
  if (bitmap != nullptr && dc != nullptr) {
    HGDIOBJ old = SelectObject(dc, bitmap);
    COLORREF back = static_cast<COLORREF>(SendMessageW(list, LVM_GETBKCOLOR, 0, 0));
    if (back == CLR_NONE) back = GetSysColor(COLOR_WINDOW);
    HBRUSH brush = CreateSolidBrush(back);
    RECT all{0, 0, info.bmiHeader.biWidth, info.bmiHeader.biHeight};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    DrawIconEx(dc, Scale(1, dpi), 0, ToHicon(picture), Scale(kIconSize, dpi),
               Scale(kIconSize, dpi), 0, nullptr, DI_NORMAL);
    SelectObject(dc, old);
    index = ImageList_Add(state.images, bitmap, nullptr);
  }
  if (dc != nullptr) DeleteDC(dc);
  if (bitmap != nullptr) DeleteObject(bitmap);
  if (index >= 0) state.imageOf[picture] = index;
  return index;
}

void BeginItemDrag(HWND form, HWND list, int source, int index, const ListItem& item,
                   POINT grab, ItemDrag& drag) {
  POINT origin{};
  drag.image = reinterpret_cast<HIMAGELIST>(SendMessageW(
      list, LVM_CREATEDRAGIMAGE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&origin)));
  drag.source = source;
  drag.item = item;
  POINT inForm = grab;
  MapWindowPoints(list, form, &inForm, 1);
  if (drag.image != nullptr &&
      ImageList_BeginDrag(drag.image, 0, grab.x - origin.x, grab.y - origin.y)) {
    const POINT at = InWindow(form, inForm);
    ImageList_DragEnter(form, at.x, at.y);
  }
  SetCapture(form);
}

void DragItemTo(HWND form, POINT at, bool droppable) {
  const POINT inWindow = InWindow(form, at);
  ImageList_DragMove(inWindow.x, inWindow.y);
  SetCursor(LoadCursorW(nullptr, droppable ? IDC_ARROW : IDC_NO));
}

void EndItemDrag(HWND form, ItemDrag& drag) {
  if (drag.image != nullptr) {
    ImageList_DragLeave(form);
    ImageList_EndDrag();
    ImageList_Destroy(drag.image);
  }
  drag = ItemDrag{};
  if (GetCapture() == form) ReleaseCapture();
}

}  // namespace ombrix::win32
