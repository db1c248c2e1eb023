// How long the dialog's event loop can be blocked while a user types into a field of a large gear
// (z1 = 10,000, 499 elements): every keystroke starts a live preview after a pause, drawn on a
// worker thread. A 1 ms timer measures the longest gap between its ticks while keys are typed
// every 40 ms (and every 200 ms, so that pictures start and get cancelled). Run it with
// QT_QPA_PLATFORM=offscreen; it prints the largest and the 99th percentile gap.
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "dialog/gear_dlg.h"
#include "dialog/preview_frame.h"
#include "dialog/preview_scheduler.h"

namespace {

// Runs the event loop for ms milliseconds (QTest::qWait would sleep in 10 ms slices and hide
// what the loop itself does).
void runLoop(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QTemporaryDir settings;
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    kellvor::CGearDlg dlg;
    dlg.show();
    QLineEdit* z1 = dlg.field(0);
    QLineEdit* segments = dlg.field(7);
    segments->setText("499");
    z1->setFocus();

    std::vector<qint64> gaps;
    QElapsedTimer clock;
    clock.start();
    qint64 last = clock.elapsed();
    QTimer ticker;
    ticker.setInterval(1);
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        gaps.push_back(now - last);
        last = now;
    });
    ticker.start();

    // Types "10000" and back again, first quickly, then with pauses long enough to start work.
    const char* texts[] = {"1", "10", "100", "1000", "10000", "1000", "10000", "100", "10000"};
    int round = 0;
    for (const int pauseMs : {40, 200, 400}) {
        for (const char* text : texts) {
            z1->setText(QString::fromLatin1(text));
            emit z1->textEdited(z1->text());
            runLoop(pauseMs);
            ++round;
        }
    }
    // Let the last picture finish.
    while (dlg.previewScheduler()->busy())
        runLoop(50);
    ticker.stop();
    std::sort(gaps.begin(), gaps.end());
    const qint64 worst = gaps.empty() ? 0 : gaps.back();
    const qint64 p99 = gaps.empty() ? 0 : gaps[gaps.size() * 99 / 100];
    std::printf(
        "typing into z1 with 499 elements (%d edits, %zu ticks): longest event-loop gap %lld ms, "
        "99th percentile %lld ms; picture shown: %s\n",
        round, gaps.size(), static_cast<long long>(worst), static_cast<long long>(p99),
        !dlg.previewFrame()->picture().isNull() ? "yes" : "no");
    return 0;
}
