// A file hash on a real worker thread behind the real window: the event loop keeps turning,
// the progress row appears below the controls without moving them, and Esc cancels.
#include <QApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <thread>

#include "app/qt/ProgressRow.h"
#include "tests/qt/FrontEndFixture.h"

namespace tolvek::desktop::testing {
namespace {

// A digester that takes its time over every slice the reader hands it, until it is cancelled.
class SlowDigester final : public hashing::Digester {
public:
    void update(std::span<const std::uint8_t>) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    hashing::DigestOutcome finish() override { return {true, {0x51}, {}}; }
};

class SlowProvider final : public hashing::Provider {
public:
    std::unique_ptr<hashing::Digester> start() const override {
        return std::make_unique<SlowDigester>();
    }
    std::size_t digestBytes() const override { return 1; }
};

class BackgroundHashTest : public FrontEndTest {
protected:
    BackgroundHashTest() {
        entry.emplace_back(hashing::AlgorithmEntry{{}, "slow", "Slow", "", slow, slow});
        frontEnd = makeFrontEnd(entry);
    }

    // Turns the event loop until `done` holds, failing after a generous time.
    template <class Condition>
    bool turnUntil(Condition done) {
        QDeadlineTimer hangGuard(std::chrono::seconds(60));
        while (!done() && !hangGuard.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        return done();
    }

    SlowProvider slow;
    std::vector<hashing::AlgorithmEntry> entry;
};

TEST_F(BackgroundHashTest, TheWindowStaysLiveWhileAHashRunsAndEscCancelsIt) {
    startUp();
    view().show();
    list(Control::AlgorithmList).setCurrentIndex(0);
    field(Control::DigestField).setText(QStringLiteral("old digest"));
    std::vector<QRect> places;
    for (int control = 1; control <= static_cast<int>(Control::PasteButton); ++control) {
        places.push_back(view().control(static_cast<Control>(control)).geometry());
    }
    const std::string name = files.writeSparse("large.bin", std::int64_t{256} << 20, 1);
    fileAnswers = {QString::fromStdString(name)};
    QTest::mouseClick(&button(Control::HashFileButton), Qt::LeftButton);

    int turns = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++turns; });
    ticker.start(5);
    ASSERT_TRUE(turnUntil([&] { return view().progressRow().isVisible(); }));
    EXPECT_GT(turns, 0);
    EXPECT_FALSE(button(Control::HashFileButton).isEnabled());
    QTest::keyClicks(&field(Control::CompareField), "typed meanwhile");
    EXPECT_EQ(fieldText(Control::CompareField), "typed meanwhile");
    EXPECT_EQ(view().height(), kProgressRowArea.bottom() + 1);
    EXPECT_EQ(view().progressRow().findChild<QLabel*>(QStringLiteral("ProgressSubject"))->text(),
              QStringLiteral("Slow: large.bin"));
    for (int control = 1; control <= static_cast<int>(Control::PasteButton); ++control) {
        EXPECT_EQ(view().control(static_cast<Control>(control)).geometry(),
                  places[static_cast<std::size_t>(control - 1)])
            << control;
    }

    QTest::keyClick(&view(), Qt::Key_Escape);
    ASSERT_TRUE(turnUntil([&] { return !frontEnd->window().HashRunning(); }));
    EXPECT_EQ(fieldText(Control::DigestField), "old digest");
    EXPECT_EQ(view().progressRow().findChild<QLabel*>(QStringLiteral("ProgressState"))->text(),
              QStringLiteral("Cancelled"));
    EXPECT_TRUE(button(Control::HashFileButton).isEnabled());
}

}  // namespace
}  // namespace tolvek::desktop::testing
