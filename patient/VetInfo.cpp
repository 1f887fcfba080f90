#include "patient/VetInfo.h"

#include <cctype>

const std::array<const char*, kVetInfoStateCount> kVetInfoStates = {
    "AL", "AK", "AS", "AZ", "AR", "CA", "CO", "CT", "DE", "DC", "FM", "FL", "GA", "GU", "HI", "ID", "IL", "IN", "IA",
    "KS", "KY", "LA", "ME", "MH", "MD", "MA", "MI", "MN", "MS", "MO", "MT", "NE", "NV", "NH", "NJ", "NM", "NY", "NC",
    "ND", "MP", "OH", "OK", "OR", "PW", "PA", "PR", "RI", "SC", "SD", "TN", "TX", "UT", "VT", "VI", "VA", "WA", "WV",
    "WI", "WY", "",   "AB", "BC", "MB", "NB", "NL", "NT", "NS", "NU", "ON", "PE", "QC", "SK", "YT",
};

int FindVetInfoState(std::string_view stored)
{
    const auto lower = [](char c) { return std::tolower(static_cast<unsigned char>(c)); };
    for (int i = 0; i < kVetInfoStateCount; ++i) {
        const std::string_view entry = kVetInfoStates[i];
        if (entry.size() < stored.size())
            continue;
        bool match = true;
        for (std::size_t c = 0; c < stored.size() && match; ++c)
            match = lower(entry[c]) == lower(stored[c]);
        if (match)
            return i;
    }
    return -1;
}

VetInfoStrings ReadVetInfo(const RemoteConfiguration& config)
{
    return {config.clinic, config.address1, config.address2, config.city,
            config.state,  config.zip,      config.phone,    config.email};
}

void WriteVetInfo(const VetInfoStrings& strings, RemoteConfiguration& config)
{
    config.clinic = strings[kVetClinic];
    config.address1 = strings[kVetAddress1];
    config.address2 = strings[kVetAddress2];
    config.city = strings[kVetCity];
    config.state = strings[kVetState];
    config.zip = strings[kVetZip];
    config.phone = strings[kVetPhone];
    config.email = strings[kVetEmail];
}
