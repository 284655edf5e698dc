#ifndef PLATFORMTEST_H
#define PLATFORMTEST_H

// What the tests ask of the platform they run on (platformtest_unix.cpp, _win.cpp).

// Whether the tests run under Wine, whose serial ports differ from Windows' in a few ways the
// tests say where they meet them.
bool underWine();
// How many files and devices this process holds open: its file descriptors, or on Windows
// its handles.
int openHandleCount();

#endif // PLATFORMTEST_H
