#ifndef COMMCODES_H
#define COMMCODES_H

// Codes of the serial control's receive event (CommEvent). Only comEvReceive leads to any
// action; the rest are known so that the dispatch can pass them over.
enum CommEventCode : int {
    comEvSend = 1,
    comEvReceive = 2,
    comEvCTS = 3,
    comEvDSR = 4,
    comEvCD = 5,
    comEvRing = 6,
    comEvEOF = 7,
    comEventBreak = 1001,
    comEventFrame = 1004,
    comEventOverrun = 1006,
    comEventRxOver = 1008,
    comEventRxParity = 1009,
    comEventTxFull = 1010,
    comEventDCB = 1011,
};

// Operations on the serial control return 0 or the number of the failure. Callers test two
// numbers (commNoByteWaiting and comPortAlreadyOpen) and handle every other one alike.
enum CommFailure : int {
    commSucceeded = 0,
    commNoByteWaiting = 5,         // a byte was taken and none waited
    comInvalidPropertyValue = 380, // a Settings text or property value the control refuses
    comPortInvalid = 8002,         // a port number other than 1 or 2
    comPortAlreadyOpen = 8005,     // opening a port that is open
    comPortOpenFailed = 8012,      // the device is missing, held by another program or refused
    comSetCommStateFailed = 8015,  // the device refused the line settings
    comPortNotOpen = 8018,         // reading input from a port that is not open
};

enum CommInputMode : int {
    comInputModeText = 0,
    comInputModeBinary = 1,
};

#endif // COMMCODES_H
