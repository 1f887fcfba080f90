#pragma once
// One file action waiting for the recorder's worker. Datums are reused, so a
// sample record costs no allocation: small blocks sit inline, a larger one
// (the header) keeps its buffer from one use to the next.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

enum RecordOp : int32_t {
    kOpOpen = 0, // never queued; named for the log
    kOpClose = 1,
    kOpRename = 2,
    kOpDelete = 3,
    kOpWrite = 4,
    kOpHeader = 5,
    kOpJournal = 6, // appended to the episode's journal
};

class CRecordDatum {
public:
    static constexpr std::size_t kInlineBytes = 128;

    int32_t op = kOpOpen;
    // The file the datum belongs to (see CNorqFileRecorder::OpenFile).
    uint32_t generation = 0;

    void SetBytes(int32_t code, uint32_t fileGeneration, const uint8_t* bytes, std::size_t count)
    {
        op = code;
        generation = fileGeneration;
        m_size = bytes != nullptr ? count : 0;
        if (m_size > kInlineBytes)
            m_large.resize(m_size);
        if (m_size > 0)
            std::memcpy(MutableData(), bytes, m_size);
    }

    void SetPaths(int32_t code, const std::string& from, const std::string& to)
    {
        op = code;
        generation = 0;
        m_size = 0;
        m_path = from;
        m_path2 = to;
    }

    const uint8_t* Data() const { return m_size > kInlineBytes ? m_large.data() : m_inline.data(); }
    std::size_t Size() const { return m_size; }
    const std::string& Path() const { return m_path; }
    const std::string& Path2() const { return m_path2; }

private:
    uint8_t* MutableData() { return m_size > kInlineBytes ? m_large.data() : m_inline.data(); }

    std::array<uint8_t, kInlineBytes> m_inline{};
    std::vector<uint8_t> m_large;
    std::size_t m_size = 0;
    std::string m_path;
    std::string m_path2;
};
