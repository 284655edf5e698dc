// The least a Qt program pays to read the glove's line: a shown window, Qt's event loop and
// a serial port whose bytes are read and thrown away as they come; nothing is drawn. The
// screen benchmark runs it beside the real program, with the real program's command line.
// With --pass it also lets pending events run once after each packet, as the viewer does after
// each sample it shows: the least a program built that way pays.
#include <QApplication>
#include <QCommandLineParser>
#include <QSerialPort>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCommandLineParser options;
    options.addOption({"com1", "The line to read.", "path"});
    options.addOption({"com2", "Not used.", "path"});
    options.addOption({"pass", "Lets pending events run once after each packet."});
    options.process(app);
    const bool pass = options.isSet("pass");

    QWidget window;
    window.setWindowTitle(QStringLiteral("Vantrel Software"));
    window.resize(640, 400);
    window.show();

    QSerialPort port(options.value("com1"));
    QObject::connect(&port, &QSerialPort::readyRead, [&port, pass] {
        if (!pass) {
            port.readAll();
            return;
        }
        while (port.bytesAvailable() >= 9) {
            port.read(9);
            if (pass)
                QCoreApplication::processEvents();
        }
    });
    if (!port.open(QIODevice::ReadOnly))
        return 1;
    port.setBaudRate(QSerialPort::Baud19200);
    return app.exec();
}
