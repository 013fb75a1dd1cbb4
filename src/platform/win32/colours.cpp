#include "platform/win32/colours.h"

#include "ui/form.h"

namespace ombrix::win32 {

COLORREF ResolveColour(uint32_t colour, int fallbackIndex) {
  if (colour == kDefaultColour) return GetSysColor(fallbackIndex);
  if ((colour & 0x80000000u) != 0) return GetSysColor(static_cast<int>(colour & 0xFFu));
  return colour & 0x00FFFFFFu;
}

BrushCache::~BrushCache() {
  for (auto& [colour, brush] : brushes_) DeleteObject(brush);
}

HBRUSH BrushCache::Get(COLORREF colour) {
  auto found = brushes_.find(colour);
  if (found != brushes_.end()) return found->second;
  HBRUSH brush = CreateSolidBrush(colour);
  brushes_.emplace(colour, brush);
  return brush;
}

}  // namespace ombrix::win32
