#include "app/qt/WindowFonts.h"

namespace tolvek::desktop {

namespace {

// Pixel sizes rather than points, so that the fixed layout looks the same at every screen
// resolution. The links would be larger, but the longest line, the contact line, must fit its
// 177 pixels.
constexpr int kWindowPixels = 11;
constexpr int kLinkPixels = 11;
constexpr int kNamePixels = 26;

QFont sansSerif(int pixelSize) {
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    return font;
}

}  // namespace

QFont WindowFont() {
    return sansSerif(kWindowPixels);
}

QFont LinkFont() {
    QFont font = sansSerif(kLinkPixels);
    font.setUnderline(true);
    return font;
}

QFont NameFont() {
    QFont font = sansSerif(kNamePixels);
    font.setBold(true);
    return font;
}

}  // namespace tolvek::desktop
