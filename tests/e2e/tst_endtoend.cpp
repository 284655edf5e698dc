// The real program in a real X server, driven as a person would: mouse clicks and key presses
// through xdotool, what the screen shows read back from the server. Two simulated gloves play
// ComPort 1 (a waving hand) and ComPort 2 (a hand held still).
#include "frmflex.h"
#include "look.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QThread>
#include <xcb/xcb.h>

#include <optional>
#include <unistd.h>

namespace {

QString xdotool(const QStringList &arguments)
{
    QProcess tool;
    tool.start(QStringLiteral("xdotool"), arguments);
    tool.waitForFinished(10000);
    return QString::fromLocal8Bit(tool.readAllStandardOutput()).trimmed();
}

// The first visible window with this exact title, once it is there.
std::optional<WId> waitForWindow(const QString &title, int timeoutMs = 10000)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        const QString found = xdotool({"search", "--onlyvisible", "--name", "^" + title + "$"});
        if (!found.isEmpty())
            return found.split('\n').constFirst().toULongLong();
        QThread::msleep(50);
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

// What a request to close the window through its frame sends: WM_DELETE_WINDOW.
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

// A simulated glove: its line's path, and what it reports of the line on stderr.
class Glove
{
public:
    explicit Glove(const QString &pattern)
    {
        process.start(QStringLiteral(GLOVESIM_BINARY), {"--pattern", pattern});
        if (process.waitForReadyRead(5000))
            path = QString::fromLocal8Bit(process.readLine()).trimmed();
    }
    ~Glove()
    {
        process.terminate();
        process.waitForFinished(3000);
    }
    QString said()
    {
        log += QString::fromLocal8Bit(process.readAllStandardError());
        return log;
    }

    QProcess process;
    QString path;
    QString log;
};

} // namespace

class TestEndToEnd : public QObject
{
    Q_OBJECT

    // Where the main window's controls are, from a copy of the window that is never shown.
    FrmFlex layout;
    int menuHeight = 0;

    std::unique_ptr<Glove> com1;
    std::unique_ptr<Glove> com2;
    QProcess program;
    WId mainWindow = 0;

    QPoint inClient(const QWidget *control, QPoint offset) const
    {
        return control->mapTo(layout.centralWidget(), offset) + QPoint(0, menuHeight);
    }
    QRect readoutsArea() const
    {
        return {inClient(layout.lblRawDataThumb, {0, 0}),
                inClient(layout.lblRawDataInput2, layout.lblRawDataInput2->rect().bottomRight())};
    }
    // A point inside the palm of a hand held still at roll 128, pitch 128.
    QPoint stillPalm() const
    {
        return layout.fraAccel->mapTo(layout.centralWidget(), QPoint(102 + 25, 85 + 27)) +
               QPoint(0, menuHeight);
    }
    void chooseFromMenu(QMenu *menu, QAction *entry)
    {
        const QRect title = layout.menuBar()->actionGeometry(menu->menuAction());
        click(mainWindow, title.center());
        const QRect item = menu->actionGeometry(entry);
        // The menu drops down below its title.
        QTest::qWait(300);
        click(mainWindow, QPoint(title.left(), menuHeight) + item.center());
    }
    bool readingsChanging()
    {
        const QImage before = grab(mainWindow, readoutsArea());
        QTest::qWait(400);
        return grab(mainWindow, readoutsArea()) != before;
    }
    void verifyEndedCleanly(Glove &openGlove)
    {
        QVERIFY(program.waitForFinished(5000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        const QString errors = QString::fromLocal8Bit(program.readAllStandardError());
        QVERIFY2(!errors.contains(QLatin1String("rror")), qPrintable(errors));
        // The glove whose port was open saw its line closed.
        QTRY_VERIFY(openGlove.said().contains(QLatin1String("the line was closed")));
    }

private slots:
    void initTestCase()
    {
        Look::applyToApplication();
        const QSize client = layout.centralWidget()->size();
        layout.resize(client.width(), client.height() + layout.menuBar()->sizeHint().height());
        menuHeight = layout.menuBar()->sizeHint().height();
        layout.menuBar()->setGeometry(0, 0, client.width(), menuHeight);
    }

    void init()
    {
        com1 = std::make_unique<Glove>("wave");
        com2 = std::make_unique<Glove>("static");
        QVERIFY(!com1->path.isEmpty() && !com2->path.isEmpty());
        program.start(QStringLiteral(VANTREL_BINARY), {"--com1", com1->path, "--com2", com2->path});
        QVERIFY(program.waitForStarted());
        const auto window = waitForWindow("Vantrel Software");
        QVERIFY(window);
        mainWindow = *window;
        QTRY_VERIFY(com1->said().contains(QLatin1String("the line was opened")));
    }

    void cleanup()
    {
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished();
        }
        com1.reset();
        com2.reset();
    }

    void followsTheGloveAndTheChosenPortThenCtrlX()
    {
        QVERIFY(readingsChanging());

        chooseFromMenu(layout.mnuOptions, layout.mnuOptionsComPort);
        const auto dialog = waitForWindow("Com Port Settings");
        QVERIFY(dialog);
        // "ComPort 2": its round button sits at the option's left edge.
        click(*dialog, QPoint(7 + 126 + 8, 49 + 14 + 11));
        QTRY_VERIFY(com2->said().contains(QLatin1String("the line was opened")));
        QTRY_VERIFY(com1->said().contains(QLatin1String("the line was closed")));
        QTRY_VERIFY(!readingsChanging());
        const QColor palm = grab(mainWindow, QRect(stillPalm(), QSize(1, 1))).pixelColor(0, 0);
        QCOMPARE(palm, QColor(255, 224, 192));

        click(*dialog, QPoint(91 + 28, 98 + 14)); // OK
        QTRY_VERIFY(!windowShown("Com Port Settings"));
        QVERIFY(!com2->said().contains(QLatin1String("the line was closed")));

        for (const char *key : {"Return", "Escape"}) {
            chooseFromMenu(layout.mnuAbout, layout.mnuAboutVantrel);
            QVERIFY(waitForWindow("About"));
            QTest::qWait(200);
            xdotool({"key", key});
            QTRY_VERIFY2(!windowShown("About"), key);
        }

        xdotool({"windowfocus", "--sync", QString::number(mainWindow)});
        xdotool({"key", "ctrl+x"});
        verifyEndedCleanly(*com2);
    }

    void exitButtonEnds()
    {
        click(mainWindow, inClient(layout.cmdExit, layout.cmdExit->rect().center()));
        verifyEndedCleanly(*com1);
    }

    void aCloseRequestEnds()
    {
        requestClose(mainWindow);
        verifyEndedCleanly(*com1);
    }
};

// Runs the tests on an X server of their own.
int main(int argc, char *argv[])
{
    const QString display = QStringLiteral(":%1").arg(200 + getpid() % 600);
    QProcess xvfb;
    xvfb.start(QStringLiteral("Xvfb"),
               {display, "-screen", "0", "1024x768x24", "-nolisten", "tcp", "-dpi", "96"});
    if (!xvfb.waitForStarted()) {
        qCritical("Xvfb could not be started: %s", qPrintable(xvfb.errorString()));
        return 1;
    }
    const QString socket = QStringLiteral("/tmp/.X11-unix/X") + display.mid(1);
    for (int i = 0; i < 100 && !QFileInfo::exists(socket); ++i)
        QThread::msleep(50);
    qputenv("DISPLAY", display.toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "xcb");

    int status = 0;
    {
        QApplication app(argc, argv);
        TestEndToEnd test;
        status = QTest::qExec(&test, argc, argv);
    }
    xvfb.terminate();
    xvfb.waitForFinished();
    return status;
}

#include "tst_endtoend.moc"
