#include "app/RemoteConfiguration.h"

namespace {

struct CopyMember {
    void operator()(std::string& to, const std::string& from) const { to = from; }
    template <class T>
    void operator()(T& to, const T& from) const { StoreRelaxed(to, LoadRelaxed(from)); }
};

} // namespace

RemoteConfiguration::RemoteConfiguration(const RemoteConfiguration& other)
{
    Zip(*this, other, CopyMember{});
}

RemoteConfiguration& RemoteConfiguration::operator=(const RemoteConfiguration& other)
{
    if (this != &other)
        Zip(*this, other, CopyMember{});
    return *this;
}

bool RemoteConfiguration::operator==(const RemoteConfiguration& other) const
{
    bool same = true;
    Zip(*this, other, [&same](const auto& a, const auto& b) { same = same && a == b; });
    return same;
}

void RemoteConfiguration::SetColorsFromProfile(int32_t profile)
{
    struct Colors { COLORREF background, separator, grid; };
    static constexpr Colors kProfiles[4] = {
        {0x000000, 0xA4A4A4, 0x404040},
        {0x1E0F00, 0xFFFFFF, 0x910505},
        {0x052204, 0x5A78FF, 0x3C6E6E},
        {0x190032, 0xFF4040, 0x323280},
    };
    const Colors& colors = profile >= 1 && profile <= 3 ? kProfiles[profile] : kProfiles[0];
    StoreRelaxed(backgroundColor, colors.background);
    StoreRelaxed(separatorColor, colors.separator);
    StoreRelaxed(gridColor, colors.grid);
}
