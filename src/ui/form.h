// Forms as data: a form has a name, a caption and its controls in order. A FormHost renders
// any form; the events are virtual methods the host calls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/types.h"

namespace ombrix {

enum class ControlKind { Label, Button, CheckBox, OptionButton, TextBox, ComboBox, ListBox,
                         Frame, Link, Line, Image, Timer, TabStrip,
                         // A list whose items show a picture beside their text.
                         PictureList };

// Colours as 0x00BBGGRR, the system's own byte order.
constexpr uint32_t Rgb(uint8_t r, uint8_t g, uint8_t b) {
  return static_cast<uint32_t>(r) | (static_cast<uint32_t>(g) << 8) |
         (static_cast<uint32_t>(b) << 16);
}
// A system colour index marked so the host resolves it (COLOR_INFOBK = 24 and so on).
constexpr uint32_t SystemColour(int index) { return 0x80000000u | static_cast<uint32_t>(index); }
constexpr uint32_t kDefaultColour = 0xFFFFFFFFu;

struct Font {
  std::string name;  // empty: the system's message font
  double points = 0;  // 0: the system's size
  bool bold = false;
};

enum class TextAlign { Left, Centre, Right };

// An item of a list: the text it shows and a key by which the form knows it. The items of a
// picture list show a 16x16 picture as well, which the host asks of the form before it draws
// the item (Form::OnItemPicture).
struct ListItem {
  std::string Key;
  std::string Text;
  bool operator==(const ListItem&) const = default;
};

// A control of a form, as Form::Add returned it: its position among the form's controls, which
// stays valid as more are added. A default ControlId names no control.
class ControlId {
 public:
  constexpr ControlId() = default;
  bool operator==(const ControlId&) const = default;

 private:
  friend class Form;
  explicit constexpr ControlId(size_t position) : position_(position) {}
  static constexpr size_t kNone = static_cast<size_t>(-1);
  size_t position_ = kNone;
};

struct Control {
  // The name and index by which language files translate the control (ControlKey).
  std::string Name;
  int Index = -1;  // position in a control array; -1 for a single control
  ControlKind kind = ControlKind::Label;
  std::string Caption;
  std::string Tip;
  bool Enabled = true;
  bool Visible = true;
  Rect bounds;  // in pixels at 96 dots per inch, relative to the form's client area
  Font font;
  uint32_t foreColour = kDefaultColour;
  uint32_t backColour = kDefaultColour;
  TextAlign align = TextAlign::Left;
  bool border = false;  // a single-line border around the control
  int margin = 0;       // inner margin in pixels between the border and the text
  int Interval = 0;     // timers: milliseconds between ticks
  int MaxLength = 0;    // text boxes: the most characters a user may type; 0 for any
  char PasswordChar = 0;  // text boxes: shown for every character typed, when not 0
  bool Default = false;   // buttons: Enter presses it
  bool Cancel = false;    // buttons: Esc presses it (a button may be both)
  bool Value = false;     // check boxes and option buttons: checked
  // Combo boxes: the items of the drop-down list; tab strips: the tabs' captions.
  std::vector<std::string> Items;
  int ListIndex = -1;     // the chosen item or tab; -1 for none
  // The ControlKey of the frame the control lies on; it is shown only while the frame is.
  // Empty for a control on the form itself.
  std::string Container;

  // Lists and picture lists: their items; ListIndex is the selected one.
  std::vector<ListItem> ListItems;
  // Picture lists: an item can be dragged from this list and dropped on another such list of
  // the form (Form::OnItemDropped).
  bool DragDrop = false;
  // Which control of its form this is; set by Form::Add.
  ControlId id;
};

// Whether the control is the one id names: how a form tells which of its controls an event
// concerns.
inline bool operator==(const Control& control, ControlId id) {
  return id != ControlId() && control.id == id;
}

// The text of a combo box: its chosen item, or empty.
std::string ComboText(const Control& combo);
// Chooses the item of that text, compared without case; false, with nothing chosen, when the
// list has no such item.
bool SetComboText(Control& combo, const std::string& text);
// What a text box keeps of a text typed or pasted into it: its first MaxLength characters.
std::string FitText(const Control& box, const std::string& text);

class Form {
 public:
  virtual ~Form() = default;

  std::string Name;
  std::string Caption;
  int width = 0;  // client size in pixels at 96 dots per inch
  int height = 0;
  uint32_t backColour = kDefaultColour;
  bool borderless = false;
  bool centred = true;  // placed at the screen's centre whenever it comes on screen
  bool showInTaskbar = true;
  bool topmost = false;  // above every other window, placed there whenever it is shown
  Hwnd hwnd = 0;  // set by the host while the window exists

  // Adds a control after the others; the id returned names it from then on. The host creates
  // the controls in this order, which is also the keyboard's.
  ControlId Add(Control control);
  // The control the id names; an id of no control of this form throws std::out_of_range.
  Control& At(ControlId id) { return controls_.at(id.position_); }
  const Control& At(ControlId id) const { return controls_.at(id.position_); }
  // The controls in order; a control's id is its position here.
  std::span<Control> Controls() { return controls_; }
  std::span<const Control> Controls() const { return controls_; }
  // True when the control and every frame it lies on are visible.
  bool Shows(const Control& control) const;
  // Checks the option button and clears the others of its group: the option buttons that
  // follow each other in the form's control order.
  void SelectOption(Control& option);

  // Events, called by the host. After each, the host brings the window up to date with the
  // model.
  virtual void OnLoad() {}
  virtual void OnTimer(Control& /*timer*/) {}
  // Buttons, links, check boxes and option buttons (with their new value), tab strips (with
  // the tab chosen) and lists (with the item selected).
  virtual void OnClick(Control& /*control*/) {}
  // Text typed into a text box, an item chosen in a combo box.
  virtual void OnChange(Control& /*control*/) {}
  // The loaded language changed while the form is up.
  virtual void OnLanguageChanged() {}
  // A close request from the window frame; false refuses it.
  virtual bool OnQueryClose() { return true; }

  // The form's window became the active window (true) or stopped being it.
  virtual void OnActivate(bool /*active*/) {}
  // The picture of an item of a picture list; 0 for none.
  virtual IconHandle OnItemPicture(Control& /*list*/, const ListItem& /*item*/) { return 0; }
  // An item of the picture list source was dragged and dropped on target, which may be source
  // itself.
  virtual void OnItemDropped(Control& /*source*/, const ListItem& /*item*/, Control& /*target*/) {}
  // A key went down while a picture list had the keyboard focus; true when the form used it,
  // and the list then ignores it.
  virtual bool OnKeyDown(Control& /*list*/, int /*virtualKey*/) { return false; }
  // The user asked for the context menu of a control: a right click, the menu key, Shift+F10.
  virtual void OnContextMenu(Control& /*control*/) {}

 private:
  std::vector<Control> controls_;
};

// The selected item of a list, or nullptr.
const ListItem* SelectedItem(const Control& list);

// The window an item of the applications list stands for, and the desktop it is on; hwnd -1
// when the application has no visible window.
struct MenuTarget {
  int16_t desk = 0;
  Hwnd hwnd = -1;
};

// A pop-up menu as data. Items with children open a submenu; a caption of "-" is a separator,
// and a caption "[sep][label]" a separator that carries the label.
struct Menu {
  std::string Name;
  int Index = -1;
  std::string Caption;
  bool Enabled = true;
  bool Visible = true;
  bool Checked = false;
  int id = 0;  // command id reported by Ui::PopupMenu; 0 for submenus and separators
  IconHandle Picture = 0;  // drawn beside the caption; 0 for none
  std::optional<MenuTarget> target;  // the window an application item stands for
  std::vector<Menu> items;

  Menu* Find(const std::string& name, int index = -1);
  const Menu* Find(const std::string& name, int index = -1) const;
  Menu* FindById(int commandId);
};

// The label of a caption "[sep][label]"; nothing for any other caption.
std::optional<std::string> SeparatorLabel(const std::string& caption);

}  // namespace ombrix
