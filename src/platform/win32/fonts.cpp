#include "platform/win32/fonts.h"

#include <cmath>
#include <cwchar>

#include "platform/win32/dpi.h"
#include "platform/win32/text.h"

namespace ombrix::win32 {

FontCache::~FontCache() {
  for (auto& [key, font] : fonts_) DeleteObject(font);
}

HFONT FontCache::Get(const Font& font, UINT dpi) {
  const auto key = std::make_tuple(font.name, font.points, font.bold, dpi);
  auto found = fonts_.find(key);
  if (found != fonts_.end()) return found->second;

  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  LOGFONTW logFont = metrics.lfMessageFont;
  if (font.points > 0) {
    logFont.lfHeight = -static_cast<LONG>(std::lround(font.points * dpi / 72.0));
  } else {
    // The system reports its message font at the system DPI.
    logFont.lfHeight =
        MulDiv(logFont.lfHeight, static_cast<int>(dpi), static_cast<int>(SystemDpi()));
  }
  logFont.lfWidth = 0;
  if (!font.name.empty()) {
    const std::wstring face = Widen(font.name);
    wcsncpy(logFont.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    logFont.lfFaceName[LF_FACESIZE - 1] = L'\0';
  }
  if (font.bold) logFont.lfWeight = FW_BOLD;
  HFONT handle = CreateFontIndirectW(&logFont);
  fonts_.emplace(key, handle);
  return handle;
}

}  // namespace ombrix::win32
