#include "platform/TemplatePattern.h"

std::regex TemplatePattern(std::string_view pattern)
{
    std::string out;
    out.reserve(pattern.size() * 2);
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c != '\\' || i + 1 == pattern.size()) {
            out += c;
            continue;
        }
        const char next = pattern[++i];
        switch (next) {
        case 'b': out += "[ \\t]"; break;
        case 'd': out += "[0-9]"; break;
        case 'w': out += "[A-Za-z]+"; break;
        default:
            out += '\\';
            out += next;
            break;
        }
    }
    return std::regex(out, std::regex::ECMAScript | std::regex::icase);
}

bool TemplatePatternFound(std::string_view pattern, std::string_view text)
{
    const std::regex expression = TemplatePattern(pattern);
    return std::regex_search(text.begin(), text.end(), expression);
}
