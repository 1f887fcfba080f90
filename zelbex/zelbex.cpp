// Stand-in for the maker's Bluetooth support library. There is no Bluetooth
// stack behind it: the "paired devices" are the "name,port" lines of a text
// file, named by ZELBEX_DEVICE_LIST or else zelbex-devices.txt in the
// settings folder. No file means no radio.
#include "zelbex/Zelbex.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

namespace {

struct Device {
    std::string name;
    int port = 0;
};

std::mutex g_mutex;
std::vector<Device> g_devices;

std::string DeviceListPath()
{
    if (const char* path = std::getenv("ZELBEX_DEVICE_LIST"); path != nullptr && *path != '\0')
        return path;
    std::string config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg != '\0')
        config = xdg;
    else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
        config = std::string(home) + "/.config";
    else
        return {};
    return config + "/Norq Technology/zelbex-devices.txt";
}

std::string Trim(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

// "name,port"; the port follows the last comma. False for anything else.
bool ParseLine(const std::string& line, Device& device)
{
    const auto comma = line.rfind(',');
    if (comma == std::string::npos)
        return false;
    device.name = Trim(line.substr(0, comma));
    const std::string port = Trim(line.substr(comma + 1));
    if (device.name.empty() || port.empty() || port.size() > 6
        || port.find_first_not_of("0123456789") != std::string::npos)
        return false;
    device.port = std::atoi(port.c_str());
    return device.port > 0;
}

} // namespace

extern "C" {

int zlbBuildDeviceList(const char* prefix, int prefixSize)
{
    const std::string path = DeviceListPath();
    std::ifstream file(path);
    std::lock_guard lock(g_mutex);
    g_devices.clear();
    if (path.empty() || !file)
        return -1;
    // The size counts the prefix's NUL; compare up to it.
    const std::size_t length = prefix != nullptr && prefixSize > 0 ? strnlen(prefix, static_cast<std::size_t>(prefixSize)) : 0;
    std::string line;
    while (std::getline(file, line)) {
        const std::string trimmed = Trim(line);
        if (trimmed.empty() || trimmed[0] == '#')
            continue;
        Device device;
        if (ParseLine(trimmed, device) && device.name.compare(0, length, prefix, length) == 0)
            g_devices.push_back(device);
    }
    return static_cast<int>(g_devices.size());
}

int zlbGetNumOfDevices(void)
{
    std::lock_guard lock(g_mutex);
    return static_cast<int>(g_devices.size());
}

int zlbGetDeviceString(int index, char* buffer, int bufferSize)
{
    if (buffer == nullptr || bufferSize <= 0)
        return 0;
    std::lock_guard lock(g_mutex);
    buffer[0] = '\0';
    if (index < 0 || static_cast<std::size_t>(index) >= g_devices.size())
        return 0;
    const std::string& name = g_devices[static_cast<std::size_t>(index)].name;
    const std::size_t count = std::min(name.size(), static_cast<std::size_t>(bufferSize - 1));
    std::memcpy(buffer, name.data(), count);
    buffer[count] = '\0';
    return 0;
}

int zlbGetDevicePort(int index)
{
    std::lock_guard lock(g_mutex);
    if (index < 0 || static_cast<std::size_t>(index) >= g_devices.size())
        return 0;
    return g_devices[static_cast<std::size_t>(index)].port;
}

int zlbRegisterDevice(int /*index*/) { return 0; }
int zlbUnregisterDevice(void) { return 0; }
int zlbAuthenticateDevice(int /*index*/) { return 0; }
int zlbIsVistaFeaturePackForWireless(void) { return 0; }

} // extern "C"
