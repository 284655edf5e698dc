#include "pointerdevice.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <windows.h>

namespace {

class WindowsPointer : public PointerDevice, public QAbstractNativeEventFilter
{
public:
    ~WindowsPointer() override { unwatchPauseKey(); }

    void unwatchPauseKey() override
    {
        if (!m_pressed)
            return;
        UnregisterHotKey(nullptr, HotKeyId);
        QCoreApplication::instance()->removeNativeEventFilter(this);
        m_pressed = {};
    }

    void move(int dx, int dy) override
    {
        INPUT input = {};
        input.type = INPUT_MOUSE;
        input.mi.dx = dx;
        input.mi.dy = dy;
        input.mi.dwFlags = MOUSEEVENTF_MOVE;
        SendInput(1, &input, sizeof input);
    }

    void setLeftButton(bool down) override
    {
        INPUT input = {};
        input.type = INPUT_MOUSE;
        input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
        SendInput(1, &input, sizeof input);
    }

    bool watchPauseKey(std::function<void()> pressed, QString *why) override
    {
        if (m_pressed)
            return true;
        // Posted to this thread's queue, where the event loop's filters see it.
        if (!RegisterHotKey(nullptr, HotKeyId, MOD_CONTROL | MOD_ALT | MOD_NOREPEAT, 'P')) {
            *why = QStringLiteral("%1 is taken by another program").arg(QLatin1String(PauseKey));
            return false;
        }
        m_pressed = std::move(pressed);
        QCoreApplication::instance()->installNativeEventFilter(this);
        return true;
    }

    bool nativeEventFilter(const QByteArray &, void *message, qintptr *) override
    {
        const MSG *msg = static_cast<const MSG *>(message);
        if (msg->message != WM_HOTKEY || msg->wParam != HotKeyId)
            return false;
        m_pressed();
        return true;
    }

private:
    static constexpr int HotKeyId = 0x5647; // any number of this program's own
    std::function<void()> m_pressed;
};

} // namespace

std::unique_ptr<PointerDevice> PointerDevice::open(QString *)
{
    return std::make_unique<WindowsPointer>();
}
