#pragma once
// A module's version resource: the fixed record and the string values of
// its block. Linux files carry no such resource: the program's own file is
// served the block it was built with, every other file has none.
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>

inline constexpr uint32_t kFixedFileInfoSignature = 0xFEEF04BD;
inline constexpr uint16_t kCodePageWindows1252 = 1252;

// The platform's fixed version record: thirteen 32-bit values, 52 bytes.
struct FixedFileInfo {
    uint32_t dwSignature = 0;
    uint32_t dwStrucVersion = 0;
    uint32_t dwFileVersionMS = 0;
    uint32_t dwFileVersionLS = 0;
    uint32_t dwProductVersionMS = 0;
    uint32_t dwProductVersionLS = 0;
    uint32_t dwFileFlagsMask = 0;
    uint32_t dwFileFlags = 0;
    uint32_t dwFileOS = 0;
    uint32_t dwFileType = 0;
    uint32_t dwFileSubtype = 0;
    uint32_t dwFileDateMS = 0;
    uint32_t dwFileDateLS = 0;
};
static_assert(sizeof(FixedFileInfo) == 52);

// A version block as the system's value query sees it: each value's bytes
// by its path ("\\", "\\VarFileInfo\\Translation",
// "\\StringFileInfo\\040904e4\\FileVersion").
using VersionBlockValues = std::map<std::string, std::string>;

// The block of a file; none when it has no version resource.
using VersionBlockReader = std::function<std::optional<VersionBlockValues>(const std::string& file)>;

// The block compiled into this program, laid out as the resource compiler
// would: the fixed record, US English with code page 1252, "FileVersion"
// and "LegalCopyright".
VersionBlockValues BuiltInVersionBlockValues();
// The built-in block for the running program's own file, nothing for others.
VersionBlockReader SystemVersionBlockReader();

class CModuleVersion : public FixedFileInfo {
public:
    explicit CModuleVersion(VersionBlockReader reader = SystemVersionBlockReader());

    // True when the block was read and its fixed record is signed.
    [[nodiscard]] bool Load(const std::string& moduleFile);
    // The running program's block, found without its file name (the
    // splash's way).
    [[nodiscard]] bool LoadOwnModule();
    // "\StringFileInfo\<language><code page>\<name>"; empty when missing or
    // nothing was loaded.
    std::string GetString(const std::string& name) const;

    const std::string& FileName() const { return m_fileName; }
    uint16_t Language() const { return m_language; }
    uint16_t CodePage() const { return m_codePage; }

private:
    bool Take(std::optional<VersionBlockValues> block);

    VersionBlockReader m_reader;
    std::string m_fileName;
    std::optional<VersionBlockValues> m_block;
    uint16_t m_language = 0;
    uint16_t m_codePage = kCodePageWindows1252;
};
