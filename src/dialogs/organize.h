// The organize-applications dialog: the applications of the nine desktops in nine lists. An
// application dragged onto another desktop's list moves there; so does the selected one when
// the number of a desktop is pressed or chosen from its context menu.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/records.h"
#include "switching/move.h"
#include "ui/dialog.h"

namespace ombrix {

class frmMove : public Dialog {
 public:
  explicit frmMove(Program& program);

  // Rescans the current desktop and refills the nine lists and their headings, keeping each
  // list's selected position.
  void RefreshLists();

  void OnLoad() override;
  void OnActivate(bool active) override;
  void OnClick(Control& control) override;
  IconHandle OnItemPicture(Control& list, const ListItem& item) override;
  void OnItemDropped(Control& source, const ListItem& item, Control& target) override;
  bool OnKeyDown(Control& list, int virtualKey) override;
  void OnContextMenu(Control& control) override;

 private:
  // The desktop whose list the control is; 0 for any other control.
  int16_t DesktopOf(const Control& list) const;
  // Moves the application of an item's key to desktop to, when it is still on the item's
  // desktop and may leave it. The key is a copy: moving lets messages through, which may refill
  // the lists.
  void MoveItem(std::string key, int16_t to);

  std::array<ControlId, kDesktopCount> headings_;
  std::array<ControlId, kDesktopCount> lists_;
  ControlId ok_;
  UnlockedDesktops unlocked_;  // for this opening of the dialog
};

// Runs the dialog through ShowDialog.
void ShowOrganize(Program& program);

}  // namespace ombrix
