#ifndef PLATFORM_H
#define PLATFORM_H

#include <QString>

// What start-up does differently on each platform (platform_unix.cpp, platform_win.cpp).

// Makes stdout and stderr reach the terminal or console the program was started from, so
// that --help, --version, --list-ports and --verbose are seen. A Windows program with
// windows has no console of its own and is given none.
void useStartingConsole();

// Whether windows can be shown: false, with why, on a Linux terminal with no display, or
// where DISPLAY names an X server that cannot be reached (a stale DISPLAY over SSH, a server
// that refuses), where Qt would abort.
bool canShowWindows(QString *why);

// Runs `exitSequence` on the user-interface thread when the program is told to end from
// outside: SIGTERM, SIGINT or SIGHUP on Linux (logging out sends them); the console's Ctrl+C
// or Ctrl+Break, its closing, or the session ending on Windows. Needs the application object.
void runOnEndRequests(void (*exitSequence)());

#endif // PLATFORM_H
