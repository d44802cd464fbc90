// Renders the main window in English and German, the files window in four languages and the
// About window to PNG files in the build folder, for review and for the README, and checks that
// they show something.
#include <QCoreApplication>
#include <QImage>
#include <QPixmap>
#include <QPushButton>
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

// The files window after a check with a FAILED and a missing file, in English, German, Russian
// and Chinese; no command's caption is cut at any scale.
TEST_F(RenderTest, FilesWindowInFourLanguages) {
    // Published SHA-256 of "abc" (FIPS 180-2, appendix B.1).
    const std::string abc = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
    startUp();
    files.write("release.iso", "abc");
    files.write("notes.txt", "changed");
    window::ListWindow& filesWindow = frontEnd->listWindow();
    frontEnd->window().OpenListWindowAction();
    filesWindow.CheckList(files.write(
        "SHA256SUMS", abc + "  release.iso\n" + abc + "  notes.txt\n" + abc + "  gone.img\n"));
    waitForFilesWindow();
    const int scale = static_cast<int>(frontEnd->listView().devicePixelRatio());
    for (const auto& [position, name] : {std::pair{0, "english"}, std::pair{1, "german"},
                                         std::pair{8, "russian"}, std::pair{6, "chinese"}}) {
        chooseLanguage(position);
        QCoreApplication::processEvents();
        for (const QPushButton* button : frontEnd->listView().findChildren<QPushButton*>()) {
            if (button->isVisible()) {
                EXPECT_GE(button->width(), button->sizeHint().width())
                    << name << ": " << button->text().toStdString();
            }
        }
        saveAndCheck(frontEnd->listView(), ("files-window-" + std::string(name) + "-" +
                                            std::to_string(scale * 100) + ".png")
                                               .c_str());
    }
}

TEST(AboutRenderTest, AboutWindow) {
    AboutWindow window(nullptr, [](window::AboutLink) {});
    saveAndCheck(window, "about-window.png");
}

}  // namespace
}  // namespace tolvek::desktop::testing
