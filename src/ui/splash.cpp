#include "ui/splash.h"

namespace ombrix {

std::string VersionLine(const std::optional<FileVersion>& version) {
  if (!version) return "";
  return "Version " + std::to_string(version->major) + "." + std::to_string(version->minor) +
         "." + std::to_string(version->revision);
}

frmSplash::frmSplash(FormHost& host, std::string versionLine)
    : host_(host), versionLine_(std::move(versionLine)) {
  Name = "frmSplash";
  Caption = "Ombrix";
  width = 360;
  height = 170;
  backColour = Rgb(64, 64, 64);
  borderless = true;
  centred = true;
  showInTaskbar = false;
  const uint32_t white = Rgb(255, 255, 255);
  const uint32_t grey = Rgb(64, 64, 64);

  Control what{.Name = "lblWhat", .Caption = "Ombrix"};
  what.bounds = {24, 24, 336, 52};
  what.font = {"Arial", 12, true};
  what.foreColour = white;
  what.backColour = grey;

  Control version{.Name = "lblVersion"};
  version.bounds = {24, 56, 336, 76};
  version.foreColour = white;
  version.backColour = grey;

  Control line{.Name = "Line1", .kind = ControlKind::Line};
  line.bounds = {24, 88, 336, 89};
  line.foreColour = Rgb(160, 160, 160);

  Control info{.Name = "lblInfo"};
  info.bounds = {24, 100, 336, 146};
  info.foreColour = white;
  info.backColour = grey;

  Control timer{.Name = "Timer1", .kind = ControlKind::Timer};
  timer.Interval = 3500;

  controls = {what, version, line, info, timer};
}

void frmSplash::OnLoad() {
  Find("lblVersion")->Caption = versionLine_;
  Find("lblInfo")->Caption = std::string(kNotice) + "\r\n" + kWebAddress;
}

void frmSplash::OnTimer(Control& /*timer*/) { host_.Unload(*this); }

}  // namespace ombrix
