#include "link/DeviceSelection.h"

DeviceChoice BuildDeviceChoice(const DeviceListApi& api, int port)
{
    DeviceChoice choice;
    // A library without its entry points is no radio.
    const bool bound = api.buildDeviceList != nullptr && api.getDeviceString != nullptr && api.getDevicePort != nullptr;
    const int count = bound ? api.buildDeviceList(kDevicePrefix, int(sizeof kDevicePrefix)) : -1;
    if (count < 0) {
        choice.message = kNoRadioText;
        return choice;
    }
    if (count == 0) {
        choice.message = kNoRemoteText;
        return choice;
    }
    choice.message = kSelectRemoteText;
    choice.listShown = true;
    choice.selected = 0;
    for (int i = 0; i < count; ++i) {
        char buffer[256] = {};
        api.getDeviceString(i, buffer, int(sizeof buffer));
        buffer[sizeof buffer - 1] = '\0';
        choice.devices.emplace_back(buffer);
        if (api.getDevicePort(i) == port)
            choice.selected = i;
    }
    return choice;
}

int ChosenDevicePort(const DeviceListApi& api, int position)
{
    if (api.getDevicePort == nullptr || position < 0)
        return 0;
    return api.getDevicePort(position);
}
