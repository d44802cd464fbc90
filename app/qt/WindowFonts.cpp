#include "app/qt/WindowFonts.h"

#include <QFontMetrics>

namespace tolvek::desktop {

namespace {

// Pixel sizes rather than points, so that the fixed layout looks the same at every screen
// resolution.
constexpr int kWindowPixels = 11;
// The links' cell height (ascent plus descent, as the font metrics measure it), not their pixel
// size: a 17-pixel font has a taller cell.
constexpr int kLinkCellHeight = 17;
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

QFont LinkFont(const QString& text, int width) {
    QFont font = sansSerif(kLinkCellHeight);
    font.setUnderline(true);
    // Shrunk rather than elided, so that the line keeps every word.
    const auto tooLarge = [&](const QFontMetrics& metrics) {
        return metrics.height() > kLinkCellHeight || metrics.horizontalAdvance(text) > width;
    };
    while (font.pixelSize() > 1 && tooLarge(QFontMetrics(font))) {
        font.setPixelSize(font.pixelSize() - 1);
    }
    return font;
}

QFont NameFont() {
    QFont font = sansSerif(kNamePixels);
    font.setBold(true);
    return font;
}

}  // namespace tolvek::desktop
