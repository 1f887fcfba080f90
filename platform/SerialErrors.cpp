#include "platform/SerialErrors.h"

#include <cerrno>

int32_t SerialErrorFromErrno(int error)
{
    switch (error) {
    case 0:
        return kSerialOk;
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return kSerialNotFound;
    case EACCES:
    case EPERM:
    case EBUSY:
    case EWOULDBLOCK:  // the exclusive lock is held by another opener
        return kSerialAccessDenied;
    case EINVAL:
        return kSerialInvalidParameter;
    case EIO:
    case EPIPE:
        return kSerialNotConnected;
    default:
        return kSerialDeviceFailure;
    }
}

const char* SerialErrorText(int32_t code)
{
    switch (code) {
    case kSerialOk: return "The operation completed.";
    case kSerialInvalidFunction: return "Operation needs a port opened for overlapped I/O.";
    case kSerialNotFound: return "The serial device does not exist.";
    case kSerialAccessDenied: return "The serial device is in use or access is denied.";
    case kSerialInvalidHandle: return "The serial port is not open.";
    case kSerialDeviceFailure: return "The serial device is not working.";
    case kSerialInvalidParameter: return "A serial port setting is not supported.";
    case kSerialAborted: return "The operation was aborted because the port was closed.";
    case kSerialIoPending: return "The operation is still pending.";
    case kSerialNotConnected: return "The remote device is not connected (hang-up).";
    case kSerialAlreadyOpen: return "The serial port is already open.";
    case kSerialTimeout: return "The operation timed out.";
    case kSerialInvalidArg: return "Invalid handshaking or read time-out mode.";
    default: return "Unknown serial port error.";
    }
}
