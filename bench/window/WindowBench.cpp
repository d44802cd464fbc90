// tolvek-window-bench FILE [ID]: hashes FILE in the real main window, as a click on the file
// button does, and reports the longest gap between the ticks of a 1 ms timer on the UI thread,
// with the processor time the UI thread used within that gap (the gap alone also holds the waits
// for a core on a loaded machine), and the resident memory above what it was before the hash. Run
// it with QT_QPA_PLATFORM=offscreen where no display is.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <string>

#include "app/qt/DesktopFrontEnd.h"

namespace {

using namespace tolvek;
using Clock = std::chrono::steady_clock;

// VmRSS of this process in KiB.
// Processor time the calling thread has used.
Clock::duration threadCpuTime() {
    timespec time{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &time);
    return std::chrono::seconds(time.tv_sec) + std::chrono::nanoseconds(time.tv_nsec);
}

long residentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: tolvek-window-bench FILE [ID]\n");
        return 2;
    }
    const std::string fileName = argv[1];
    const hashing::AlgorithmEntry* entry = hashing::FindAlgorithm(argc > 2 ? argv[2] : "sha1");
    if (entry == nullptr) {
        std::fprintf(stderr, "unknown algorithm\n");
        return 2;
    }
    int qtArguments = 1;
    QApplication application(qtArguments, argv);
    QTemporaryDir folder;
    desktop::DesktopServices services = desktop::DesktopServices::System();
    services.showMessage = [](const QString& text, const QString&, QMessageBox::Icon,
                              const window::BoxButtons&) {
        std::fprintf(stderr, "message: %s\n", text.toUtf8().constData());
    };
    services.chooseFile = [&](QWidget*, const QString&) {
        return std::optional<QUrl>(QUrl::fromLocalFile(QString::fromStdString(fileName)));
    };
    const std::filesystem::path place = folder.path().toStdString();
    desktop::DesktopFrontEnd frontEnd(services, {place, place}, [] { return engine::kHashOk; });
    frontEnd.startUp({});
    frontEnd.view().show();
    const auto entries = hashing::AlgorithmEntries();
    frontEnd.view()
        .list(window::Control::AlgorithmList)
        .setCurrentIndex(static_cast<int>(entry - entries.data()));

    Clock::time_point lastTick = Clock::now();
    Clock::duration lastCpu = threadCpuTime();
    Clock::duration longestGap{};
    Clock::duration cpuInLongestGap{};
    Clock::duration longestCpu{};
    bool measuring = false;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const Clock::time_point now = Clock::now();
        const Clock::duration cpu = threadCpuTime();
        if (measuring && now - lastTick > longestGap) {
            longestGap = now - lastTick;
            cpuInLongestGap = cpu - lastCpu;
        }
        if (measuring) {
            longestCpu = std::max(longestCpu, cpu - lastCpu);
        }
        lastTick = now;
        lastCpu = cpu;
    });
    ticker.start(1);
    long idleKiB = 0;
    long peakKiB = 0;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout,
                     [&] { peakKiB = std::max(peakKiB, residentKiB()); });
    Clock::time_point started;
    QTimer::singleShot(500, [&] {
        idleKiB = residentKiB();
        peakKiB = idleKiB;
        measuring = true;
        lastTick = Clock::now();
        lastCpu = threadCpuTime();
        sampler.start(20);
        started = Clock::now();
        qobject_cast<QAbstractButton*>(&frontEnd.view().control(window::Control::HashFileButton))
            ->click();
    });
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (measuring && !frontEnd.window().HashRunning()) {
            QApplication::quit();
        }
    });
    watcher.start(5);
    QApplication::exec();
    const double seconds = std::chrono::duration<double>(Clock::now() - started).count();
    std::printf(
        "| file | id | hash s | longest tick gap ms | its CPU ms | most CPU between ticks ms | "
        "idle RSS MiB | peak RSS MiB "
        "| above idle MiB |\n|---|---|---:|---:|---:|---:|---:|---:|---:|\n");
    const auto milliseconds = [](Clock::duration time) {
        return std::chrono::duration<double, std::milli>(time).count();
    };
    std::printf("| %s | %s | %.2f | %.2f | %.2f | %.2f | %.1f | %.1f | %.1f |\n", fileName.c_str(),
                std::string(entry->id).c_str(), seconds, milliseconds(longestGap),
                milliseconds(cpuInLongestGap), milliseconds(longestCpu), idleKiB / 1024.0,
                peakKiB / 1024.0, (peakKiB - idleKiB) / 1024.0);
    std::printf("digest: %s\n",
                frontEnd.view().text(window::Control::DigestField).toUtf8().constData());
    return 0;
}
