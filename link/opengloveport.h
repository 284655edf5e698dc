#ifndef OPENGLOVEPORT_H
#define OPENGLOVEPORT_H

#include <QtGlobal>

class MSComm;

// The line settings of the glove.
inline constexpr char GloveLineSettings[] = "19200,N,8,1";

// Closes the control's port if it is open, configures it for the glove on port 1 or 2, lets
// pending window events run once, then opens it. Reports nothing: a port that cannot be
// opened simply stays closed.
void OpenGlovePort(MSComm &comm, qint16 port);

#endif // OPENGLOVEPORT_H
