// Colours of the form model (0x00BBGGRR, marked system colours, the default) as COLORREFs,
// and the brushes painted with them.
#pragma once

#include <cstdint>
#include <map>

#include "platform/win32/win.h"

namespace ombrix::win32 {

// fallbackIndex is the system colour used for kDefaultColour.
COLORREF ResolveColour(uint32_t colour, int fallbackIndex);

// Solid brushes by colour, kept until the cache goes.
class BrushCache {
 public:
  BrushCache() = default;
  ~BrushCache();
  BrushCache(const BrushCache&) = delete;
  BrushCache& operator=(const BrushCache&) = delete;
  HBRUSH Get(COLORREF colour);

 private:
  std::map<COLORREF, HBRUSH> brushes_;
};

}  // namespace ombrix::win32
