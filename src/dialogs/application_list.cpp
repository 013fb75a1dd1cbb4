#include "dialogs/application_list.h"

#include "app/program.h"
#include "app/settings.h"
#include "core/text.h"

namespace ombrix {

namespace {

// The desktop, a comma and the handle of the application's first window.
std::string ApplicationKey(int16_t d, const clsPI& app) {
  std::string key = std::to_string(d);
  key += ',';
  key += std::to_string(app.oWin[1].lHwnd);
  return key;
}

}  // namespace

bool ListsApplicationsOf(const Program& program, int16_t d) {
  return d == program.desk.iCurDesk || !program.desk.Desk(d).bHideThisDeskApps;
}

std::vector<ListItem> ApplicationItems(const Program& program, int16_t d) {
  std::vector<ListItem> items;
  for (const auto& app : program.desk.Desk(d).opi) {
    if (app->AllWindowsHided(false)) continue;
    items.push_back({ApplicationKey(d, *app), app->GetText(kTitleOrClass)});
  }
  return items;
}

ApplicationPlace FindApplication(const Program& program, const std::string& key) {
  const size_t comma = key.find(',');
  if (comma == std::string::npos) return {};
  const int32_t d = DecodeNumber(key.substr(0, comma));
  if (d < 1 || d > kDesktopCount) return {};
  const Hwnd window = DecodeNumber(key.substr(comma + 1));
  return {static_cast<int16_t>(d), program.desk.Desk(d).GetProcessIdxByHandle(window)};
}

IconHandle ApplicationPicture(Program& program, const std::string& key) {
  const ApplicationPlace place = FindApplication(program, key);
  IconHandle icon = 0;
  if (place.position > 0) {
    icon = program.desk.Desk(place.desk).opi[place.position].GetHIcon(
        [&program](Hwnd hwnd, bool small) { return program.platform.windows.ClassIcon(hwnd, small); });
  }
  return icon != 0 ? icon : program.platform.ui.Picture(MenuPicture::DefaultApplication);
}

std::string DesktopHeading(const Program& program, int16_t d) {
  const std::string name = TrimBlanks(program.desk.Desk(d).sDeskName);
  return name.empty() ? "Desktop " + std::to_string(d) : name;
}

}  // namespace ombrix
