#include "pointerdevice.h"

#include <QSocketNotifier>
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

bool grabFailed = false;

int noteGrabFailure(Display *, XErrorEvent *error)
{
    grabFailed = grabFailed || error->error_code == BadAccess;
    return 0;
}

// Through a connection of its own to the X server, so that what it sends never waits behind
// the window's painting, and the grabbed key's events come here and not to the window.
class X11Pointer : public PointerDevice
{
public:
    explicit X11Pointer(Display *display) : m_display(display) {}
    ~X11Pointer() override
    {
        m_keys.reset();
        XCloseDisplay(m_display);
    }

    void unwatchPauseKey() override
    {
        if (!m_keys)
            return;
        m_keys.reset();
        grab(false);
        XFlush(m_display);
        m_pressed = {};
    }

    void move(int dx, int dy) override
    {
        XTestFakeRelativeMotionEvent(m_display, dx, dy, CurrentTime);
        XFlush(m_display);
    }

    void setLeftButton(bool down) override
    {
        XTestFakeButtonEvent(m_display, Button1, down, CurrentTime);
        XFlush(m_display);
    }

    bool watchPauseKey(std::function<void()> pressed, QString *why) override
    {
        if (m_keys)
            return true;
        m_pauseKey = XKeysymToKeycode(m_display, XK_p);
        XSync(m_display, False);
        grabFailed = false;
        const auto previous = XSetErrorHandler(noteGrabFailure);
        grab(true);
        XSync(m_display, False);
        XSetErrorHandler(previous);
        if (grabFailed) {
            grab(false);
            *why = QStringLiteral("%1 is taken by another program").arg(QLatin1String(PauseKey));
            return false;
        }
        // A key held down repeats as presses alone, not as a release and a press each time.
        XkbSetDetectableAutoRepeat(m_display, True, nullptr);
        m_pressed = std::move(pressed);
        m_keys =
            std::make_unique<QSocketNotifier>(ConnectionNumber(m_display), QSocketNotifier::Read);
        QObject::connect(m_keys.get(), &QSocketNotifier::activated, [this] { readEvents(); });
        return true;
    }

private:
    void grab(bool on)
    {
        const Window root = DefaultRootWindow(m_display);
        // Caps Lock and Num Lock on or off: each is a grab of its own.
        for (unsigned lock :
             {0u, unsigned(LockMask), unsigned(Mod2Mask), unsigned(LockMask | Mod2Mask)}) {
            if (on)
                XGrabKey(m_display, m_pauseKey, ControlMask | Mod1Mask | lock, root, True,
                         GrabModeAsync, GrabModeAsync);
            else
                XUngrabKey(m_display, m_pauseKey, ControlMask | Mod1Mask | lock, root);
        }
    }

    void readEvents()
    {
        while (XPending(m_display)) {
            XEvent event;
            XNextEvent(m_display, &event);
            if (event.xkey.keycode != m_pauseKey)
                continue;
            if (event.type == KeyPress && !m_keyDown && m_pressed)
                m_pressed();
            m_keyDown = event.type == KeyPress;
        }
    }

    Display *m_display;
    std::unique_ptr<QSocketNotifier> m_keys;
    KeyCode m_pauseKey = 0;
    bool m_keyDown = false;
    std::function<void()> m_pressed;
};

} // namespace

std::unique_ptr<PointerDevice> PointerDevice::open(QString *why)
{
    if (qgetenv("XDG_SESSION_TYPE") == "wayland" || qEnvironmentVariableIsSet("WAYLAND_DISPLAY")) {
        *why = QStringLiteral("This is a Wayland session, where no program may move the "
                              "pointer. Log in to an X11 session to use the glove as a mouse.");
        return nullptr;
    }
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        *why = QStringLiteral("The X display '%1' cannot be reached.")
                   .arg(QString::fromLocal8Bit(qgetenv("DISPLAY")));
        return nullptr;
    }
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(display, &event, &error, &major, &minor)) {
        XCloseDisplay(display);
        *why = QStringLiteral("The X server lacks the XTest extension, through which a "
                              "program moves the pointer.");
        return nullptr;
    }
    return std::make_unique<X11Pointer>(display);
}
