#include "platform/Folders.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <unistd.h>

namespace {

std::string Home()
{
    const char* home = std::getenv("HOME");
    return home != nullptr ? std::string(home) : std::string();
}

// Reads XDG_DOCUMENTS_DIR="$HOME/..." from the user-dirs file.
std::string FromUserDirsFile(const std::string& home)
{
    std::string configHome;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg != '\0')
        configHome = xdg;
    else if (!home.empty())
        configHome = home + "/.config";
    else
        return {};
    std::ifstream file(configHome + "/user-dirs.dirs");
    std::string line;
    const std::string key = "XDG_DOCUMENTS_DIR=";
    while (std::getline(file, line)) {
        if (line.compare(0, key.size(), key) != 0)
            continue;
        std::string value = line.substr(key.size());
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        if (value.compare(0, 5, "$HOME") == 0)
            value = home + value.substr(5);
        // A documents entry equal to the home folder means "not set".
        if (value.empty() || value == home || value == home + "/")
            return {};
        return value;
    }
    return {};
}

} // namespace

bool CreateFolderWithParents(const std::string& path)
{
    if (path.empty())
        return false;
    std::error_code error;
    std::filesystem::create_directories(path, error);
    return std::filesystem::is_directory(path, error);
}

bool GetMyDocumentsFolder(std::string& out)
{
    const std::string home = Home();
    std::string folder;
    if (const char* env = std::getenv("XDG_DOCUMENTS_DIR"); env != nullptr && *env != '\0')
        folder = env;
    if (folder.empty())
        folder = FromUserDirsFile(home);
    if (folder.empty() && !home.empty())
        folder = home + "/Documents";
    if (folder.empty() || !CreateFolderWithParents(folder))
        return false;
    out = folder;
    return true;
}


bool CanWriteInFolder(const std::string& path)
{
    std::string probe = path + "/.quorin-write-XXXXXX";
    const int fd = ::mkstemp(probe.data());
    if (fd < 0)
        return false;
    ::close(fd);
    ::unlink(probe.c_str());
    return true;
}
