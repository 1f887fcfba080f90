#pragma once
// The about box's three texts, worked out without a window.
#include <cstdint>
#include <string>

inline constexpr char kNoRemoteConnection[] = "No Remote Connection";

struct AboutInputs {
    std::string versionText;     // "v2.5.0"
    std::string legalCopyright;  // of the version block; may be empty
    bool demoMode = false;
    bool connected = false;      // the application's connected flag
    int deviceKind = 0;          // DeviceKind
    std::string receiveBuffer;   // what the remote sent to the service terminal
};

struct AboutTexts {
    std::string productLine;  // control 1037
    std::string remoteText;   // control 1050
    std::string legalNotice;  // control 1353
};

// "Connected to ...\r\n\r\n" of a model; empty for 0 and unknown models.
std::string AboutHeading(int deviceKind);
// The remote's text from "Software:" on (whole when it has none), with the
// model's trailing characters stripped.
std::string AboutRemoteSoftware(int deviceKind, const std::string& receiveBuffer);
AboutTexts MakeAboutTexts(const AboutInputs& inputs);
