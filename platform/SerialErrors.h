#pragma once
// Result codes of the serial port, numbered as the rest of the program
// expects them (0 is success), and how the system's errno maps onto them.
#include <cstdint>

constexpr int32_t kSerialOk = 0;
constexpr int32_t kSerialInvalidFunction = 1;     // overlapped form on a plain port
constexpr int32_t kSerialNotFound = 2;            // no such device
constexpr int32_t kSerialAccessDenied = 5;        // busy, locked, or no permission
constexpr int32_t kSerialInvalidHandle = 6;       // the port is not open
constexpr int32_t kSerialDeviceFailure = 31;      // any other system failure
constexpr int32_t kSerialInvalidParameter = 87;   // bad setting, unsupported baud rate
constexpr int32_t kSerialAborted = 995;           // woken by Close
constexpr int32_t kSerialIoPending = 997;         // never returned: every call completes
constexpr int32_t kSerialNotConnected = 1167;     // the remote hung up
constexpr int32_t kSerialAlreadyOpen = 1247;
constexpr int32_t kSerialTimeout = 1460;
constexpr int32_t kSerialInvalidArg = static_cast<int32_t>(0x80070057u);

// The code for a failed system call's errno.
int32_t SerialErrorFromErrno(int error);

// A short text for a log line; never null.
const char* SerialErrorText(int32_t code);
