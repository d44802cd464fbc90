// Renders the main window in English and German and the About window to PNG files in the
// build folder, for review and for the README, and checks that they show something.
#include <QImage>
#include <QPixmap>
#include <algorithm>
#include <map>

#include "app/qt/AboutWindow.h"
#include "tests/qt/FrontEndFixture.h"

namespace tolvek::desktop::testing {
namespace {

// Saves the picture and checks that it is not blank: beyond the background colour it has
// enough pixels of text and edges, and some of them are dark (text).
void saveAndCheck(QWidget& window, const char* fileName) {
    const QImage image = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(image.isNull());
    const QString path = QStringLiteral(TOLVEK_RENDER_DIR "/") + QString::fromLatin1(fileName);
    ASSERT_TRUE(image.save(path)) << path.toStdString();

    std::map<QRgb, int> counts;
    int dark = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            ++counts[pixel];
            dark += qGray(pixel) < 64 ? 1 : 0;
        }
    }
    const int pixels = image.width() * image.height();
    int background = 0;
    for (const auto& entry : counts) {
        background = std::max(background, entry.second);
    }
    EXPECT_GT(pixels - background, pixels / 20) << fileName;
    EXPECT_GT(dark, 200) << fileName;
    EXPECT_GT(counts.size(), 16u) << fileName;
}

using RenderTest = RealEntriesTest;

TEST_F(RenderTest, MainWindowInEnglishAndGerman) {
    startUp();
    // No such file: renew hashes the name as text, which fills the digest field.
    field(Control::PathField).setText(QStringLiteral("/home/user/Downloads/release.tar.gz"));
    click(Control::RenewButton);
    ASSERT_EQ(fieldText(Control::DigestField).size(), 40u);
    saveAndCheck(view(), "main-window-english.png");
    chooseLanguage(1);
    saveAndCheck(view(), "main-window-german.png");
}

TEST(AboutRenderTest, AboutWindow) {
    AboutWindow window(nullptr, [](window::AboutLink) {});
    saveAndCheck(window, "about-window.png");
}

}  // namespace
}  // namespace tolvek::desktop::testing
