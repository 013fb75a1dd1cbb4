// The applications of the desktops as the items of a dialog's list. An item's key names its
// application by desktop and by one of its windows, so that it still finds that application,
// and no other, after the desktop's list has changed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/types.h"
#include "ui/form.h"

namespace ombrix {

class Program;
class clsPI;

// Whether the dialogs list desktop d's applications: the current desktop's always, another's
// unless it hides them from lists.
bool ListsApplicationsOf(const Program& program, int16_t d);
// The items of desktop d's applications that have a window in listing state 0 or 2, in list
// order, each with its text and key.
std::vector<ListItem> ApplicationItems(const Program& program, int16_t d);

// The application an item's key names: its desktop and its position there now. The position
// is -1 when the application is no longer on that desktop, or the key is not an application's.
struct ApplicationPlace {
  int16_t desk = 0;
  int position = -1;
};
ApplicationPlace FindApplication(const Program& program, const std::string& key);

// The picture of the key's application: its window class icon, or the default application
// picture when it has none or is gone.
IconHandle ApplicationPicture(Program& program, const std::string& key);

// "Desktop n", or the desktop's name without blanks at its ends.
std::string DesktopHeading(const Program& program, int16_t d);

}  // namespace ombrix
