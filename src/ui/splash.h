// The splash window shown while the program starts; it closes itself after 3.5 seconds.
#pragma once

#include <optional>
#include <string>

#include "platform/platform.h"
#include "ui/form.h"

namespace ombrix {

inline constexpr const char* kNotice = "Copyright (C) 2026 The Ombrix developers";
inline constexpr const char* kWebAddress = "www.ombrix.org";
inline constexpr const char* kWebLink = "https://www.ombrix.org/";

// "Version 1.8.3": major, minor and revision of the program's four-part version; empty when the
// version is not known.
std::string VersionLine(const std::optional<FileVersion>& version);

class frmSplash : public Form {
 public:
  frmSplash(FormHost& host, std::string versionLine);
  void OnLoad() override;
  void OnTimer(Control& timer) override;

 private:
  FormHost& host_;
  std::string versionLine_;
  ControlId version_;
  ControlId notice_;
};

}  // namespace ombrix
