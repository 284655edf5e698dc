#ifndef POINTERDEVICE_H
#define POINTERDEVICE_H

#include <QString>
#include <functional>
#include <memory>

// The session's pointer, moved and clicked as a mouse would, and a key that reaches the
// program wherever the keyboard's focus is. One backend per platform: XTest on X11
// (pointerdevice_x11.cpp), SendInput on Windows (pointerdevice_win.cpp).
class PointerDevice
{
public:
    // The key that pauses and resumes the glove's pointer, as the user presses it.
    static constexpr char PauseKey[] = "Ctrl+Alt+P";

    // This session's pointer, or none, with why in words a user can act on.
    static std::unique_ptr<PointerDevice> open(QString *why);
    virtual ~PointerDevice() = default;

    // Moves the pointer by so many pixels, as a mouse moved by hand would.
    virtual void move(int dx, int dy) = 0;
    virtual void setLeftButton(bool down) = 0;
    // Calls `pressed` on each press of PauseKey until unwatchPauseKey(); false, with why, when
    // another program holds that key. Held only while the glove moves the pointer, so that
    // the key stays other programs' the rest of the time.
    virtual bool watchPauseKey(std::function<void()> pressed, QString *why) = 0;
    virtual void unwatchPauseKey() = 0;
};

#endif // POINTERDEVICE_H
