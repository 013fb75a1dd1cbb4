// The splash window shown while the program starts; it closes itself after 3.5 seconds.
#pragma once

#include <string>

#include "platform/platform.h"
#include "ui/form.h"

namespace ombrix {

// "Version 1.8.3": major, minor and revision of the program's four-part version.
std::string VersionLine();

class frmSplash : public Form {
 public:
  explicit frmSplash(FormHost& host);
  void OnLoad() override;
  void OnTimer(Control& timer) override;

 private:
  FormHost& host_;
};

}  // namespace ombrix
