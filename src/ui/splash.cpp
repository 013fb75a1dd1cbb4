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

  Add({.Name = "lblWhat",
       .Caption = "Ombrix",
       .bounds = {24, 24, 336, 52},
       .font = {"Arial", 12, true},
       .foreColour = white,
       .backColour = grey});
  version_ = Add(
      {.Name = "lblVersion", .bounds = {24, 56, 336, 76}, .foreColour = white, .backColour = grey});
  Add({.Name = "Line1",
       .kind = ControlKind::Line,
       .bounds = {24, 88, 336, 89},
       .foreColour = Rgb(160, 160, 160)});
  notice_ = Add(
      {.Name = "lblInfo", .bounds = {24, 100, 336, 146}, .foreColour = white, .backColour = grey});
  Add({.Name = "Timer1", .kind = ControlKind::Timer, .Interval = 3500});
}

void frmSplash::OnLoad() {
  At(version_).Caption = versionLine_;
  At(notice_).Caption = std::string(kNotice) + "\r\n" + kWebAddress;
}

void frmSplash::OnTimer(Control& /*timer*/) { host_.Unload(*this); }

}  // namespace ombrix
