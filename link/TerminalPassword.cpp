#include "link/TerminalPassword.h"

#include <algorithm>
#include <cctype>

std::string DayCodeFromDraws(const std::function<int()>& draw)
{
    (void)draw();
    std::string code;
    for (int i = 0; i < kDayCodeLength; ++i) {
        // A draw of 32767 would give 34, one past the table.
        const int index = std::min(draw() * 34 / 32767, 33);
        code += kDayCodeTable[std::max(index, 0)];
    }
    return code;
}

std::string CodeOfTheDay(int year, int month, int day)
{
    CDayCodeGenerator generator(static_cast<uint32_t>(year + month + day));
    return DayCodeFromDraws([&] { return generator.Draw(); });
}

TermAccess CheckTerminalPassword(const std::string& entered, bool serviceMode, int year, int month, int day)
{
    if (serviceMode)
        return TermAccess::kFull;
    std::string text = entered.substr(0, kPasswordMaxLength);
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (text == kServiceCode)
        return TermAccess::kFull;
    if (text == CodeOfTheDay(year, month, day))
        return TermAccess::kProvisional;
    return TermAccess::kRefused;
}
