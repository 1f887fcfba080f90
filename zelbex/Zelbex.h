#pragma once
// The Bluetooth support library's entry points, as quorin binds them at run
// time by name.
#define ZLB_API __attribute__((visibility("default")))

#ifdef __cplusplus
extern "C" {
#endif

// Builds the list of paired devices whose names begin with `prefix` (of
// `prefixSize` bytes, its NUL included); their count, negative when there
// is no Bluetooth radio.
ZLB_API int zlbBuildDeviceList(const char* prefix, int prefixSize);
ZLB_API int zlbGetNumOfDevices(void);
// Copies the display name of device `index`, cut to the buffer and ended
// with a NUL.
ZLB_API int zlbGetDeviceString(int index, char* buffer, int bufferSize);
// The COM port number of device `index`; 0 for no such device.
ZLB_API int zlbGetDevicePort(int index);
ZLB_API int zlbRegisterDevice(int index);
ZLB_API int zlbUnregisterDevice(void);
ZLB_API int zlbAuthenticateDevice(int index);
ZLB_API int zlbIsVistaFeaturePackForWireless(void);

#ifdef __cplusplus
}
#endif

typedef int (*ZlbBuildDeviceListFn)(const char*, int);
typedef int (*ZlbGetNumOfDevicesFn)(void);
typedef int (*ZlbGetDeviceStringFn)(int, char*, int);
typedef int (*ZlbGetDevicePortFn)(int);
typedef int (*ZlbRegisterDeviceFn)(int);
typedef int (*ZlbUnregisterDeviceFn)(void);
typedef int (*ZlbAuthenticateDeviceFn)(int);
typedef int (*ZlbIsVistaFeaturePackForWirelessFn)(void);
