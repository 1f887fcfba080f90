#include "app/AboutTexts.h"

#include <iterator>

namespace {

struct ModelLine {
    const char* heading;
    const char* stripped;  // trailing characters removed from the remote's text
};

// By DeviceKind; 0 has neither.
constexpr ModelLine kModels[] = {
    {"", ""},
    {"Connected to Tarvik\r\n\r\n", "v> \r\n"},
    {"Connected to Tarvik+\r\n\r\n", "v> "},
    {"Connected to Moval\r\n\r\n", "v> "},
    {"Connected to Selvo\r\n\r\n", "v> "},
    {"Connected to BP-Brindle\r\n\r\n", "v> "},
};

const ModelLine& Model(int deviceKind)
{
    const bool known = deviceKind >= 0 && deviceKind < static_cast<int>(std::size(kModels));
    return kModels[known ? deviceKind : 0];
}

} // namespace

std::string AboutHeading(int deviceKind)
{
    return Model(deviceKind).heading;
}

std::string AboutRemoteSoftware(int deviceKind, const std::string& receiveBuffer)
{
    std::string text = receiveBuffer;
    const auto software = text.find("Software:");
    if (software != std::string::npos)
        text.erase(0, software);
    const std::string stripped = Model(deviceKind).stripped;
    if (!stripped.empty())
        text.erase(text.find_last_not_of(stripped) + 1);
    return text;
}

AboutTexts MakeAboutTexts(const AboutInputs& inputs)
{
    AboutTexts texts;
    texts.productLine = "Norq Quorin " + inputs.versionText;
    texts.remoteText = kNoRemoteConnection;
    if (inputs.connected)
        texts.remoteText = AboutHeading(inputs.deviceKind)
                         + (inputs.demoMode ? std::string("Demo Simulation")
                                            : AboutRemoteSoftware(inputs.deviceKind, inputs.receiveBuffer));
    texts.legalNotice = inputs.legalCopyright;
    return texts;
}
