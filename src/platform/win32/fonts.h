// Fonts of the form model, created for a DPI and kept until the cache goes.
#pragma once

#include <map>
#include <string>
#include <tuple>

#include "platform/win32/win.h"
#include "ui/form.h"

namespace ombrix::win32 {

class FontCache {
 public:
  FontCache() = default;
  ~FontCache();
  FontCache(const FontCache&) = delete;
  FontCache& operator=(const FontCache&) = delete;
  // An empty name or a size of 0 takes the system's message font face or size.
  HFONT Get(const Font& font, UINT dpi);

 private:
  std::map<std::tuple<std::string, double, bool, UINT>, HFONT> fonts_;
};

}  // namespace ombrix::win32
