#include "switching/unhideable.h"

#include "app/program.h"
#include "lang/messages.h"
#include "ui/tray_icon.h"

namespace ombrix {

namespace {

constexpr int kInformationIcon = 1;

// Takes the window's record from desktop `from` into the application of its process on `to`.
void MoveRecord(clsDesktop& from, clsDesktop& to, Hwnd hwnd) {
  const int a = from.GetProcessIdxByHandle(hwnd);
  if (a <= 0) return;
  const std::shared_ptr<clsPI> app = from.opi.Item(a);
  const std::shared_ptr<clsWI> window = from.TakeWindow(hwnd);
  std::shared_ptr<clsPI> into = to.GetProcessObject(app->pID);
  if (!into) {
    into = std::make_shared<clsPI>();
    into->pID = app->pID;
    into->thread = app->thread;
    to.opi.Add(into);
  }
  into->oWin.Add(window);
}

}  // namespace

bool UnhideableWindows::Contains(Hwnd hwnd, uint32_t processId) const {
  const auto found = windows.find(hwnd);
  return found != windows.end() && found->second == processId;
}

void KeepOnScreen(Program& program, const std::vector<Hwnd>& stayed, int16_t from, int16_t to) {
  std::string names;
  for (Hwnd hwnd : stayed) {
    clsDesktop& source = program.desk.Desk(from);
    const int a = source.GetProcessIdxByHandle(hwnd);
    if (a <= 0) continue;
    const auto pid = static_cast<uint32_t>(source.opi[a].pID);
    std::string name = program.platform.system.ProgramOfProcess(pid);
    if (name.empty()) name = program.platform.windows.WindowText(hwnd);
    if (program.unhideable.told.insert(name).second) names += (names.empty() ? "" : ", ") + name;
    if (from != to) MoveRecord(source, program.desk.Desk(to), hwnd);
  }
  if (names.empty()) return;
  ShowBalloon(program,
              GetMsgFmt(program, msgs::kStaysOnScreen.id, msgs::kStaysOnScreen.text, names),
              GetMsg(program, msgs::kAttention), kInformationIcon);
}

}  // namespace ombrix
