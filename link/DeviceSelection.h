#pragma once
// The choice of a paired remote before a Bluetooth connection: the
// Bluetooth support library's list of devices named "Norq-...", the one on
// the port in use preselected. The dialog mirrors what this works out.
#include <string>
#include <vector>

// The three entry points of the support library that the choice uses (the
// library's own signatures).
struct DeviceListApi {
    int (*buildDeviceList)(const char* prefix, int prefixSize) = nullptr;
    int (*getDeviceString)(int index, char* buffer, int bufferSize) = nullptr;
    int (*getDevicePort)(int index) = nullptr;
};

inline constexpr char kDevicePrefix[] = "Norq-";
inline constexpr char kNoRadioText[] =
    "ERROR: Bluetooth Radio Not Found.\nPlease verify the Bluetooth dongle is\nplugged in to the computer.";
inline constexpr char kNoRemoteText[] =
    "ERROR: A Wireless Remote was not found.....\n\nWireless Remote(s) may already be connected.\nIf a Wireless "
    "Remote has not been discovered, double click\nthe Bluetooth Devices icon on the Desktop to add a wireless "
    "remote device.";
inline constexpr char kSelectRemoteText[] = "Select the wireless remote device to connect.";

struct DeviceChoice {
    std::string message;
    bool listShown = false;            // the label, the list and "Connect"
    std::vector<std::string> devices;  // in the library's order
    int selected = -1;                 // -1: no list
};

// Builds the library's list and preselects the device on `port` (the last
// one on it; else the first).
DeviceChoice BuildDeviceChoice(const DeviceListApi& api, int port);

// The port of the device at `position`; 0 when there is none.
int ChosenDevicePort(const DeviceListApi& api, int position);
