#include "xsession.h"

#include "look.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace XSession {

double cpuSecondsOf(qint64 pid)
{
    // utime and stime, the 14th and 15th fields, counted after the command's closing bracket.
    QFile proc(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!proc.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray stat = proc.readAll();
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    return double(fields.value(11).toLongLong() + fields.value(12).toLongLong()) /
           double(sysconf(_SC_CLK_TCK));
}

int startServer(QProcess &server)
{
    const QString display = QStringLiteral(":%1").arg(200 + getpid() % 600);
    server.start(QStringLiteral("Xvfb"),
                 {display, "-screen", "0", "1024x768x24", "-nolisten", "tcp", "-dpi", "96"});
    if (!server.waitForStarted()) {
        qCritical("Xvfb could not be started: %s", qPrintable(server.errorString()));
        return 1;
    }
    const QString socket = QStringLiteral("/tmp/.X11-unix/X") + display.mid(1);
    for (int i = 0; i < 100 && !QFileInfo::exists(socket); ++i)
        QThread::msleep(50);
    qputenv("DISPLAY", display.toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "xcb");
    return 0;
}

void stopServer(QProcess &server)
{
    server.terminate();
    server.waitForFinished();
}

QString xdotool(const QStringList &arguments)
{
    QProcess tool;
    tool.start(QStringLiteral("xdotool"), arguments);
    tool.waitForFinished(10000);
    return QString::fromLocal8Bit(tool.readAllStandardOutput()).trimmed();
}

std::optional<WId> waitForWindow(const QString &title, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        const QString found = xdotool({"search", "--onlyvisible", "--name", "^" + title + "$"});
        if (!found.isEmpty())
            return found.split('\n').constFirst().toULongLong();
        QThread::msleep(20);
    }
    return std::nullopt;
}

bool windowShown(const QString &title)
{
    return !xdotool({"search", "--onlyvisible", "--name", "^" + title + "$"}).isEmpty();
}

void click(WId window, QPoint at)
{
    xdotool({"mousemove", "--window", QString::number(window), QString::number(at.x()),
             QString::number(at.y()), "click", "1"});
}

void requestClose(WId window)
{
    auto *x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11->connection();
    auto atom = [connection](const char *name) {
        auto cookie = xcb_intern_atom(connection, 0, uint16_t(strlen(name)), name);
        xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(connection, cookie, nullptr);
        const xcb_atom_t value = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        free(reply);
        return value;
    };
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = xcb_window_t(window);
    event.type = atom("WM_PROTOCOLS");
    event.data.data32[0] = atom("WM_DELETE_WINDOW");
    event.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(connection, 0, xcb_window_t(window), XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char *>(&event));
    xcb_flush(connection);
}

QImage grab(WId window, const QRect &area)
{
    return QGuiApplication::primaryScreen()
        ->grabWindow(window, area.x(), area.y(), area.width(), area.height())
        .toImage();
}

int freeUdpPort()
{
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    bind(fd, reinterpret_cast<sockaddr *>(&address), size);
    getsockname(fd, reinterpret_cast<sockaddr *>(&address), &size);
    close(fd);
    return ntohs(address.sin_port);
}

} // namespace XSession

OscDump::OscDump() : m_port(XSession::freeUdpPort())
{
    QObject::connect(&process, &QProcess::readyReadStandardOutput,
                     [this] { received += process.readAllStandardOutput(); });
    process.start(QStringLiteral("oscdump"), {"-L", QString::number(m_port)});
}

OscDump::~OscDump()
{
    stop();
}

QString OscDump::target() const
{
    return QStringLiteral("127.0.0.1:%1").arg(m_port);
}

void OscDump::stop()
{
    if (process.state() == QProcess::NotRunning)
        return;
    QTest::qWait(300);
    process.kill();
    process.waitForFinished();
}

SimulatedGlove::SimulatedGlove(const QString &pattern)
    : SimulatedGlove(QStringList{"--pattern", pattern})
{}

SimulatedGlove::SimulatedGlove(const QStringList &arguments)
{
    process.start(QStringLiteral(GLOVESIM_BINARY), arguments);
    if (process.waitForReadyRead(5000))
        path = QString::fromLocal8Bit(process.readLine()).trimmed();
}

SimulatedGlove::~SimulatedGlove()
{
    process.terminate();
    process.waitForFinished(3000);
}

QString SimulatedGlove::said()
{
    m_log += QString::fromLocal8Bit(process.readAllStandardError());
    return m_log;
}

RunningVantrel::RunningVantrel()
{
    Look::applyToApplication();
    menuHeight = layout.menuBar()->sizeHint().height();
    layout.menuBar()->setGeometry(0, 0, layout.centralWidget()->width(), menuHeight);
}

RunningVantrel::~RunningVantrel()
{
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished();
    }
}

bool RunningVantrel::start(const QStringList &arguments)
{
    process.start(QStringLiteral(VANTREL_BINARY), arguments);
    if (!process.waitForStarted())
        return false;
    const auto found = XSession::waitForWindow(QStringLiteral("Vantrel Software"));
    window = found.value_or(0);
    return found.has_value();
}

void RunningVantrel::chooseFromMenu(QMenu *menu, QAction *entry)
{
    const QRect title = layout.menuBar()->actionGeometry(menu->menuAction());
    XSession::click(window, title.center());
    QTest::qWait(300); // the menu drops down below its title
    XSession::click(window,
                    QPoint(title.left(), menuHeight) + menu->actionGeometry(entry).center());
}

namespace {
// The round button at an option's left edge, in the port settings window.
QPoint portOption(int port)
{
    return QPoint(7 + (port == 1 ? 21 : 126) + 8, 49 + 14 + 11);
}
} // namespace

bool RunningVantrel::choosePort(int port)
{
    chooseFromMenu(layout.mnuOptions, layout.mnuOptionsComPort);
    portSettings = XSession::waitForWindow(QStringLiteral("Com Port Settings"));
    if (!portSettings)
        return false;
    XSession::click(*portSettings, portOption(port));
    XSession::click(*portSettings, QPoint(91 + 28, 98 + 14)); // OK
    QElapsedTimer timer;
    timer.start();
    while (XSession::windowShown(QStringLiteral("Com Port Settings")) && timer.elapsed() < 5000)
        QThread::msleep(20);
    return timer.elapsed() < 5000;
}

void RunningVantrel::clickPortsRapidly(const QList<int> &ports)
{
    QStringList commands;
    for (int port : ports) {
        const QPoint at = portOption(port);
        commands << "mousemove"
                 << "--window" << QString::number(*portSettings) << QString::number(at.x())
                 << QString::number(at.y()) << "click"
                 << "1";
    }
    XSession::xdotool(commands);
}

void RunningVantrel::clickExit()
{
    XSession::click(window, inClient(layout.cmdExit, layout.cmdExit->rect().center()));
}

QPoint RunningVantrel::inClient(const QWidget *control, QPoint offset) const
{
    return control->mapTo(layout.centralWidget(), offset) + QPoint(0, menuHeight);
}

QRect RunningVantrel::readoutsArea() const
{
    return {inClient(layout.lblRawDataThumb, {0, 0}),
            inClient(layout.lblRawDataInput2, layout.lblRawDataInput2->rect().bottomRight())};
}

int RunningVantrel::readoutInk()
{
    const QImage shown = XSession::grab(window, readoutsArea());
    const QPoint origin = inClient(layout.lblRawDataThumb, {0, 0});
    int ink = 0;
    for (const QLabel *readout :
         {layout.lblRawDataThumb, layout.lblRawDataIndex, layout.lblRawDataMiddle,
          layout.lblRawDataRing, layout.lblRawDataRoll, layout.lblRawDataPitch,
          layout.lblRawDataInput1, layout.lblRawDataInput2}) {
        // Inside the border, where only the text draws.
        const QRect inside =
            QRect(inClient(readout, {0, 0}) - origin, readout->size()).adjusted(2, 2, -2, -2);
        for (int y = inside.top(); y <= inside.bottom(); ++y)
            for (int x = inside.left(); x <= inside.right(); ++x)
                ink += qGray(shown.pixel(x, y)) < 128;
    }
    return ink;
}

bool RunningVantrel::readingsChanging()
{
    const QImage before = XSession::grab(window, readoutsArea());
    QTest::qWait(400);
    return XSession::grab(window, readoutsArea()) != before;
}

bool RunningVantrel::showsStillHand()
{
    const QPoint palm = inClient(layout.fraAccel, QPoint(102 + 25, 85 + 27));
    return XSession::grab(window, QRect(palm, QSize(1, 1))).pixelColor(0, 0) ==
           QColor(255, 224, 192);
}

namespace {
QList<QByteArray> procFields(qint64 pid, const char *file)
{
    QFile proc(QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(file)));
    if (!proc.open(QIODevice::ReadOnly))
        return {};
    return proc.readAll().simplified().split(' ');
}
} // namespace

double RunningVantrel::cpuSeconds() const
{
    return XSession::cpuSecondsOf(process.processId());
}

qint64 RunningVantrel::residentKiB() const
{
    const QList<QByteArray> fields = procFields(process.processId(), "status");
    const qsizetype at = fields.indexOf("VmRSS:");
    return at < 0 ? -1 : fields.value(at + 1).toLongLong();
}
