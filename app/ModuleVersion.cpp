#include "app/ModuleVersion.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "app/QuorinAppCore.h"

namespace {

constexpr char kRootPath[] = "\\";
constexpr char kTranslationPath[] = "\\VarFileInfo\\Translation";
constexpr uint16_t kLanguageUsEnglish = 0x0409;

void PutLe32(std::string& bytes, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<char>((value >> shift) & 0xFF));
}

uint32_t GetLe32(const std::string& bytes, std::size_t at)
{
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<uint8_t>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

std::string StringPath(uint16_t language, uint16_t codePage, const std::string& name)
{
    char prefix[40];
    std::snprintf(prefix, sizeof prefix, "\\StringFileInfo\\%04x%04x\\", language, codePage);
    return prefix + name;
}

bool SameFile(const std::string& a, const std::string& b)
{
    std::error_code error;
    return std::filesystem::equivalent(a, b, error) && !error;
}

} // namespace

VersionBlockValues BuiltInVersionBlockValues()
{
    const VersionBlock block = BuiltInVersionBlock();
    int numbers[4] = {};
    (void)ParseFileVersion(block.fileVersion, numbers);
    auto word = [](int high, int low) {
        return (static_cast<uint32_t>(high & 0xFFFF) << 16) | static_cast<uint32_t>(low & 0xFFFF);
    };
    const FixedFileInfo fixed{kFixedFileInfoSignature, 0x00010000,
                              word(numbers[0], numbers[1]), word(numbers[2], numbers[3]),
                              word(numbers[0], numbers[1]), word(numbers[2], numbers[3]),
                              0x3F, 0, 0x40004 /* NT, 32-bit Windows */, 1 /* application */, 0, 0, 0};
    std::string root;
    for (uint32_t value : {fixed.dwSignature, fixed.dwStrucVersion, fixed.dwFileVersionMS, fixed.dwFileVersionLS,
                           fixed.dwProductVersionMS, fixed.dwProductVersionLS, fixed.dwFileFlagsMask,
                           fixed.dwFileFlags, fixed.dwFileOS, fixed.dwFileType, fixed.dwFileSubtype,
                           fixed.dwFileDateMS, fixed.dwFileDateLS})
        PutLe32(root, value);
    std::string translation;
    PutLe32(translation, (uint32_t{kCodePageWindows1252} << 16) | kLanguageUsEnglish);

    VersionBlockValues values;
    values[kRootPath] = root;
    values[kTranslationPath] = translation;
    values[StringPath(kLanguageUsEnglish, kCodePageWindows1252, "FileVersion")] = block.fileVersion;
    values[StringPath(kLanguageUsEnglish, kCodePageWindows1252, "LegalCopyright")] = block.legalCopyright;
    return values;
}

VersionBlockReader SystemVersionBlockReader()
{
    return [](const std::string& file) -> std::optional<VersionBlockValues> {
        std::string own;
        if (!ReadModuleFileName(own) || !SameFile(file, own))
            return std::nullopt;
        return BuiltInVersionBlockValues();
    };
}

CModuleVersion::CModuleVersion(VersionBlockReader reader)
    : m_reader(std::move(reader))
{
}

bool CModuleVersion::Take(std::optional<VersionBlockValues> block)
{
    static_cast<FixedFileInfo&>(*this) = FixedFileInfo{};
    m_language = 0;
    m_codePage = kCodePageWindows1252;
    m_block = std::move(block);
    if (!m_block)
        return false;
    const auto root = m_block->find(kRootPath);
    if (root != m_block->end() && root->second.size() >= sizeof(FixedFileInfo)) {
        uint32_t* fields[] = {&dwSignature, &dwStrucVersion, &dwFileVersionMS, &dwFileVersionLS,
                              &dwProductVersionMS, &dwProductVersionLS, &dwFileFlagsMask, &dwFileFlags,
                              &dwFileOS, &dwFileType, &dwFileSubtype, &dwFileDateMS, &dwFileDateLS};
        for (std::size_t i = 0; i < std::size(fields); ++i)
            *fields[i] = GetLe32(root->second, i * 4);
    }
    const auto translation = m_block->find(kTranslationPath);
    if (translation != m_block->end() && translation->second.size() >= 4) {
        const uint32_t pair = GetLe32(translation->second, 0);
        m_language = static_cast<uint16_t>(pair & 0xFFFF);
        m_codePage = static_cast<uint16_t>(pair >> 16);
    }
    return dwSignature == kFixedFileInfoSignature;
}

bool CModuleVersion::Load(const std::string& moduleFile)
{
    m_fileName = moduleFile;
    return Take(m_reader ? m_reader(moduleFile) : std::nullopt);
}

bool CModuleVersion::LoadOwnModule()
{
    if (!ReadModuleFileName(m_fileName))
        m_fileName.clear();
    return Take(BuiltInVersionBlockValues());
}

std::string CModuleVersion::GetString(const std::string& name) const
{
    if (!m_block)
        return {};
    const auto value = m_block->find(StringPath(m_language, m_codePage, name));
    return value != m_block->end() ? value->second : std::string();
}
