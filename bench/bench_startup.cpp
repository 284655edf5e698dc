// Start-up of the real program in an X server of its own: the time from starting the
// process to its main window being shown, and to the first reading on screen, with a
// simulated glove streaming on ComPort 1. Prints a table and a JSON object.
//   bench_startup [runs]
#include "xsession.h"

#include <QElapsedTimer>
#include <QThread>
#include <algorithm>
#include <vector>

namespace {

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    QProcess server;
    if (const int failed = XSession::startServer(server))
        return failed;
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 10;
    std::vector<double> shown;
    std::vector<double> firstReading;
    {
        QApplication app(argc, argv);
        SimulatedGlove glove(QStringLiteral("wave"));
        for (int run = 0; run < runs; ++run) {
            RunningVantrel vantrel;
            QElapsedTimer timer;
            timer.start();
            if (!vantrel.start({"--com1", glove.path})) {
                qCritical("the program did not show its window");
                return 1;
            }
            shown.push_back(double(timer.nsecsElapsed()) / 1e6);
            while (vantrel.readoutInk() == 0 && timer.elapsed() < 10000)
                QThread::usleep(500);
            firstReading.push_back(double(timer.nsecsElapsed()) / 1e6);
            vantrel.clickExit();
            vantrel.process.waitForFinished(5000);
            QThread::msleep(100);
        }
    }
    XSession::stopServer(server);

    std::printf("start-up, median of %d runs                     measured      goal\n", runs);
    std::printf("  process start to main window shown      %10.1f ms   < 300 ms\n", median(shown));
    std::printf("  process start to first reading shown    %10.1f ms\n", median(firstReading));
    std::printf("JSON {\"runs\": %d, \"window_shown_median_ms\": %.2f, "
                "\"first_reading_median_ms\": %.2f}\n",
                runs, median(shown), median(firstReading));
    return 0;
}
