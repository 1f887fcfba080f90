#include "platform/PortMap.h"

#include <cctype>

std::optional<std::string> ComPortName(const std::string& device)
{
    std::string rest = device;
    if (rest.rfind("\\\\.\\", 0) == 0)
        rest.erase(0, 4);
    if (rest.size() < 4 || rest.size() > 13)
        return std::nullopt;
    for (int i = 0; i < 3; ++i)
        if (std::toupper(static_cast<unsigned char>(rest[i])) != "COM"[i])
            return std::nullopt;
    unsigned long number = 0;
    for (std::size_t i = 3; i < rest.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(rest[i])))
            return std::nullopt;
        number = number * 10 + static_cast<unsigned long>(rest[i] - '0');
        if (number > 65535)
            return std::nullopt;
    }
    if (number == 0)
        return std::nullopt;
    return "COM" + std::to_string(number);
}

std::string ResolveSerialDevice(const std::string& device, const IPortMap* map)
{
    const std::optional<std::string> name = ComPortName(device);
    if (!name)
        return device;
    if (map != nullptr) {
        if (std::optional<std::string> mapped = map->Lookup(*name); mapped && !mapped->empty())
            return *mapped;
    }
    const unsigned long number = std::stoul(name->substr(3));
    return "/dev/ttyS" + std::to_string(number - 1);
}
