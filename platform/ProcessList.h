#pragma once
// A snapshot of the running processes and the names of their programs.
// Here it is read from /proc; tests give a fixed list.
#include <string>
#include <vector>

struct ProcessEntry {
    int pid = 0;
    // The kernel's name of the program (at most 15 characters).
    std::string name;
    // The base name of the command's first word, after the last '/' or '\'
    // (a Windows program under an emulator is often known only by this).
    std::string commandName;
};

class IProcessList {
public:
    virtual ~IProcessList() = default;
    // False when no snapshot can be taken.
    [[nodiscard]] virtual bool Snapshot(std::vector<ProcessEntry>& processes) const = 0;
};

class CProcProcessList final : public IProcessList {
public:
    [[nodiscard]] bool Snapshot(std::vector<ProcessEntry>& processes) const override;
};

const IProcessList& SystemProcessList();

class CFixedProcessList final : public IProcessList {
public:
    CFixedProcessList(std::vector<ProcessEntry> processes, bool available = true)
        : m_processes(std::move(processes)), m_available(available)
    {
    }
    [[nodiscard]] bool Snapshot(std::vector<ProcessEntry>& processes) const override;
    // How many snapshots were asked for.
    int Snapshots() const { return m_snapshots; }

private:
    std::vector<ProcessEntry> m_processes;
    bool m_available;
    mutable int m_snapshots = 0;
};

// The base name after the last '/' or '\' of a command's first word.
std::string CommandBaseName(const std::string& cmdline);
