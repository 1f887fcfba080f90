#include "platform/SettingsFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <optional>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char kMarkerSection[] = "Quorin Settings File";
constexpr char kMarkerName[] = "Marker";
constexpr char kMarkerValue[] = "Norq Technology quorin settings 1";

// Names and values may hold anything; these characters would break a line.
std::string Escape(const std::string& text, bool isName)
{
    std::string out;
    out.reserve(text.size() + 1);
    // A name must not look like a section or a comment.
    if (isName && !text.empty() && (text[0] == '[' || text[0] == ';' || text[0] == '#'))
        out += '\\';
    for (const char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '=': out += isName ? "\\=" : "="; break;
        default:
            out += c;
        }
    }
    return out;
}

bool Unescape(const std::string& text, std::string& out)
{
    out.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size())
            return false;
        switch (text[i]) {
        case '\\': out += '\\'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case '=':
        case '[':
        case ';':
        case '#': out += text[i]; break;
        default:
            return false;
        }
    }
    return true;
}

// The first '=' that no backslash escapes.
std::size_t FindSeparator(const std::string& line)
{
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\\')
            ++i;
        else if (line[i] == '=')
            return i;
    }
    return std::string::npos;
}

std::string FolderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace

bool SettingsText(const IProfileStore::Values& values, std::string& out)
{
    std::ostringstream text;
    text << "[" << kMarkerSection << "]\n" << kMarkerName << "=" << kMarkerValue << "\n";
    // No section yet: the first value always opens one, whatever its name.
    std::optional<std::string> section;
    for (const auto& [path, value] : values) {
        const auto slash = path.rfind('/');
        const std::string thisSection = slash == std::string::npos ? std::string() : path.substr(0, slash);
        const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
        if (name.empty() || name.find('\\') != std::string::npos)
            return false;
        if (section != thisSection) {
            // Sections read as the registry shows them; a line break in one
            // could not be read back.
            if (thisSection.find_first_of("\r\n") != std::string::npos || thisSection == kMarkerSection)
                return false;
            section = thisSection;
            std::string shown = thisSection;
            for (char& c : shown)
                if (c == '/')
                    c = '\\';
            text << "\n[" << shown << "]\n";
        }
        text << Escape(name, true) << "=" << Escape(value, false) << "\n";
    }
    out = text.str();
    return true;
}

namespace {

bool WriteAll(int fd, const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

bool ExportSettingsFile(const IProfileStore& store, const std::string& path)
{
    const IProfileStore::Values values = store.ReadAll();
    if (values.empty() || path.empty())
        return false;
    std::string text;
    if (!SettingsText(values, text))
        return false;

    std::string temp = FolderOf(path) + "/.quorin-settings-XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    bool ok = WriteAll(fd, text) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok)
        ok = ::chmod(temp.c_str(), 0644) == 0 && std::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok)
        ::unlink(temp.c_str());
    return ok;
}

bool ParseSettingsText(const std::string& text, IProfileStore::Values& values)
{
    std::istringstream lines(text);
    IProfileStore::Values read;
    bool marked = false;
    std::string section;
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == ';' || line[0] == '#')
            continue;
        if (line[0] == '[') {
            if (line.size() < 2 || line.back() != ']')
                return false;
            section = MapSectionName(line.substr(1, line.size() - 2));
            if (section.find('\r') != std::string::npos)
                return false;
            continue;
        }
        const std::size_t separator = FindSeparator(line);
        if (separator == std::string::npos || separator == 0)
            return false;
        std::string name, value;
        if (!Unescape(line.substr(0, separator), name) || !Unescape(line.substr(separator + 1), value))
            return false;
        // A name holds no separator of sections.
        if (name.find_first_of("/\\") != std::string::npos)
            return false;
        if (section == kMarkerSection) {
            if (name == kMarkerName && value == kMarkerValue)
                marked = true;
            continue;
        }
        read[section.empty() ? name : section + "/" + name] = value;
    }
    if (!marked)
        return false;
    values = std::move(read);
    return true;
}

bool ReadSettingsFile(const std::string& path, IProfileStore::Values& values)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    std::ostringstream text;
    text << file.rdbuf();
    if (file.bad())
        return false;
    return ParseSettingsText(text.str(), values);
}

bool ImportSettingsFile(IProfileStore& store, const std::string& path)
{
    IProfileStore::Values values;
    if (!ReadSettingsFile(path, values))
        return false;
    return store.ReplaceAll(values) && store.Flush();
}
