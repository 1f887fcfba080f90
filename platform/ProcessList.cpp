#include "platform/ProcessList.h"

#include <dirent.h>

#include <cctype>
#include <fstream>
#include <iterator>

namespace {

std::string ReadSmallFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::string text;
    if (in)
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return text;
}

bool IsPid(const char* name)
{
    if (*name == '\0')
        return false;
    for (; *name != '\0'; ++name)
        if (std::isdigit(static_cast<unsigned char>(*name)) == 0)
            return false;
    return true;
}

} // namespace

std::string CommandBaseName(const std::string& cmdline)
{
    const std::string first = cmdline.substr(0, cmdline.find('\0'));
    const auto slash = first.find_last_of("/\\");
    return slash == std::string::npos ? first : first.substr(slash + 1);
}

bool CProcProcessList::Snapshot(std::vector<ProcessEntry>& processes) const
{
    processes.clear();
    DIR* proc = opendir("/proc");
    if (proc == nullptr)
        return false;
    while (const dirent* entry = readdir(proc)) {
        if (!IsPid(entry->d_name))
            continue;
        const std::string folder = std::string("/proc/") + entry->d_name;
        ProcessEntry process;
        process.pid = std::stoi(entry->d_name);
        process.name = ReadSmallFile(folder + "/comm");
        if (!process.name.empty() && process.name.back() == '\n')
            process.name.pop_back();
        process.commandName = CommandBaseName(ReadSmallFile(folder + "/cmdline"));
        // A process that ended meanwhile has neither.
        if (!process.name.empty() || !process.commandName.empty())
            processes.push_back(std::move(process));
    }
    closedir(proc);
    return true;
}

const IProcessList& SystemProcessList()
{
    static const CProcProcessList list;
    return list;
}

bool CFixedProcessList::Snapshot(std::vector<ProcessEntry>& processes) const
{
    ++m_snapshots;
    processes = m_available ? m_processes : std::vector<ProcessEntry>{};
    return m_available;
}
