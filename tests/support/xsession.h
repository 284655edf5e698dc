#ifndef XSESSION_H
#define XSESSION_H

// Driving the real program in a real X server as a person would: xdotool moves the mouse and
// presses keys, and what the screen shows is read back from the server.

#include "frmflex.h"

#include <QApplication>
#include <QImage>
#include <QProcess>
#include <QTest>
#include <optional>

namespace XSession {

// Starts an X server of the test's own, then runs the test class on it.
int startServer(QProcess &server);
void stopServer(QProcess &server);

template <typename Test> int run(int argc, char *argv[])
{
    QProcess server;
    if (const int failed = startServer(server))
        return failed;
    int status = 0;
    {
        QApplication app(argc, argv);
        Test test;
        status = QTest::qExec(&test, argc, argv);
    }
    stopServer(server);
    return status;
}

QString xdotool(const QStringList &arguments);
std::optional<WId> waitForWindow(const QString &title, int timeoutMs = 10000);
bool windowShown(const QString &title);
void click(WId window, QPoint at);
// What a request to close the window through its frame sends: WM_DELETE_WINDOW.
void requestClose(WId window);
QImage grab(WId window, const QRect &area);
// A UDP port on the loopback that nobody uses now.
int freeUdpPort();
// CPU time a process has used, from /proc; -1 when it is gone.
double cpuSecondsOf(qint64 pid);

} // namespace XSession

// A simulated glove: the simulator program, its line's path and what it reports on stderr.
class SimulatedGlove
{
public:
    explicit SimulatedGlove(const QString &pattern);
    // The simulator with these arguments, a recording to replay say.
    explicit SimulatedGlove(const QStringList &arguments);
    ~SimulatedGlove();
    QString said();

    QProcess process;
    QString path;

private:
    QString m_log;
};

// liblo's oscdump listening on the loopback, on a port nobody used; what it prints is kept as
// it comes, since a full pipe would stall it and drop datagrams.
class OscDump
{
public:
    OscDump();
    ~OscDump();
    bool isListening() { return process.waitForStarted(); }
    // Where to send: "127.0.0.1:PORT".
    QString target() const;
    // Ends it, once what was sent last has had time to arrive.
    void stop();

    QProcess process;
    QByteArray received;

private:
    int m_port = 0;
};

// The program running on the X server, with the places of its controls taken from a copy of
// the main window that is never shown.
class RunningVantrel
{
public:
    RunningVantrel();
    ~RunningVantrel();

    bool start(const QStringList &arguments);
    bool isRunning() const { return process.state() == QProcess::Running; }

    void chooseFromMenu(QMenu *menu, QAction *entry);
    // Options > Com Port, a click on the port's option, then OK.
    bool choosePort(int port);
    // Clicks on the options in the open port settings window, as fast as xdotool can.
    void clickPortsRapidly(const QList<int> &ports);
    void clickExit();

    QRect readoutsArea() const;
    // How many dark pixels the readouts' texts make: none while they are empty.
    int readoutInk();
    bool readingsChanging();
    // Whether a hand held still at roll 128, pitch 128 is where the panel shows it.
    bool showsStillHand();

    // CPU time the process has used, and its resident memory, from /proc.
    double cpuSeconds() const;
    qint64 residentKiB() const;

    FrmFlex layout;
    int menuHeight = 0;
    QProcess process;
    WId window = 0;
    std::optional<WId> portSettings;

private:
    QPoint inClient(const QWidget *control, QPoint offset) const;
};

#endif // XSESSION_H
