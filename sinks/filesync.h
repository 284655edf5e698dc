#ifndef FILESYNC_H
#define FILESYNC_H

class QFile;

// Makes what was written to the open file reach the disk (filesync_unix.cpp,
// filesync_win.cpp).
bool syncToDisk(QFile &file);

#endif // FILESYNC_H
