#include "filesync.h"

#include <QFile>
#include <unistd.h>

bool syncToDisk(QFile &file)
{
    return fdatasync(file.handle()) == 0;
}
