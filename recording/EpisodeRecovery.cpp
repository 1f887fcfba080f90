#include "recording/EpisodeRecovery.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>
#include <optional>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

#include "link/ByteOrder.h"
#include "platform/SafeFile.h"
#include "platform/Windows1252.h"
#include "recording/EpisodeNames.h"
#include "recording/RecordFiles.h"

namespace {

std::string ErrorText(int error)
{
    return std::error_code(error, std::generic_category()).message();
}

class CDescriptor {
public:
    explicit CDescriptor(int fd) : m_fd(fd) {}
    ~CDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    CDescriptor(const CDescriptor&) = delete;
    CDescriptor& operator=(const CDescriptor&) = delete;
    int Get() const { return m_fd; }
    bool Valid() const { return m_fd >= 0; }

private:
    int m_fd;
};

bool ReadAllAt(int fd, uint64_t offset, uint8_t* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::pread(fd, data, size, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= std::size_t(n);
        offset += uint64_t(n);
    }
    return true;
}

uint64_t SizeOf(int fd)
{
    struct stat info {};
    return ::fstat(fd, &info) == 0 ? uint64_t(info.st_size) : 0;
}

std::string HeaderText(const QreFileHeader& header, std::size_t offset, std::size_t size)
{
    const auto* begin = reinterpret_cast<const char*>(header.data() + offset);
    return Windows1252ToUtf8(std::string_view(begin, strnlen(begin, size)));
}

bool Finished(const QreFileHeader& header, uint64_t size)
{
    const uint64_t samples = ReadLe32(header.data() + kQreSampleCountOffset);
    const uint64_t events = ReadLe32(header.data() + kQreEventCountOffset);
    return samples + events > 0 &&
           size == kQreHeaderSize + samples * kQreSampleRecordSize + events * kQreEventRecordSize;
}

struct Journal {
    std::vector<QreEventRecord> events;
    bool marked = false;
    uint32_t sampleTicks = 0;  // of the last end mark
};

Journal ReadJournal(int fd)
{
    Journal journal;
    const uint64_t size = SizeOf(fd);
    QreEventRecord record;
    // A record cut short by the interruption never reached the disk whole.
    for (uint64_t at = 0; at + kQreEventRecordSize <= size; at += kQreEventRecordSize) {
        if (!ReadAllAt(fd, at, record.data(), record.size()))
            break;
        if (record[0] == 0) {
            journal.marked = true;
            journal.sampleTicks = ReadLe32(record.data() + 4);
        } else {
            journal.events.push_back(record);
        }
    }
    return journal;
}

class CRecovery {
public:
    CRecovery(std::string journalPath, const std::function<void(const std::string&)>& log)
        : m_journalPath(std::move(journalPath)),
          m_path(m_journalPath.substr(0, m_journalPath.size() - JournalPathOf({}).size())),
          m_log(log)
    {
    }

    std::optional<RecoveredEpisode> Run()
    {
        CDescriptor journal(::open(m_journalPath.c_str(), O_RDWR | O_CLOEXEC));
        if (!journal.Valid())
            return Leave("its journal cannot be opened: " + ErrorText(errno));
        // A recorder still writing holds it; that episode is not ours.
        if (::flock(journal.Get(), LOCK_EX | LOCK_NB) != 0)
            return std::nullopt;
        CDescriptor file(::open(m_path.c_str(), O_RDWR | O_CLOEXEC));
        if (!file.Valid())
            return Leave("it cannot be opened: " + ErrorText(errno));
        QreFileHeader header{};
        const uint64_t size = SizeOf(file.Get());
        if (size < kQreHeaderSize || !ReadAllAt(file.Get(), 0, header.data(), header.size()) ||
            std::memcmp(header.data(), "QRE", 3) != 0)
            return Leave("it has no header");

        if (!Finished(header, size)) {
            switch (Finish(file.Get(), journal.Get(), header, size)) {
            case Outcome::kFailed:
                return std::nullopt;
            case Outcome::kEmpty:
                // As the close deletes an episode that holds nothing.
                RemoveJournal();
                if (::unlink(m_path.c_str()) == 0 && m_log)
                    m_log("Interrupted recording " + m_path + " held nothing and was removed");
                return std::nullopt;
            case Outcome::kFinished:
                break;
            }
        }
        RemoveJournal();

        RecoveredEpisode episode;
        episode.path = m_path;
        episode.start = COleDate(std::bit_cast<double>(ReadLe64(header.data() + kQreStartTimeOffset)));
        episode.samples = ReadLe32(header.data() + kQreSampleCountOffset);
        episode.events = ReadLe32(header.data() + kQreEventCountOffset);
        episode.text = EpisodeText(episode.start, episode.samples != 0,
                                   HeaderText(header, kQrePatientNameOffset, kQrePatientFieldSize),
                                   HeaderText(header, kQreClientNameOffset, kQrePatientFieldSize));
        if (m_log)
            m_log("Recovered interrupted recording " + m_path + ": " + std::to_string(episode.samples) +
                  " samples, " + std::to_string(episode.events) + " events");
        return episode;
    }

private:
    static uint64_t ReadLe64(const uint8_t* p)
    {
        return uint64_t(ReadLe32(p)) | uint64_t(ReadLe32(p + 4)) << 32;
    }

    void RemoveJournal()
    {
        if (::unlink(m_journalPath.c_str()) != 0 && m_log)
            m_log("The journal " + m_journalPath + " could not be removed: " + ErrorText(errno));
    }

    std::optional<RecoveredEpisode> Leave(const std::string& why)
    {
        if (m_log)
            m_log("Interrupted recording " + m_path + " left as it is: " + why);
        return std::nullopt;
    }

    // The samples that reached the disk whole, the journal's events after
    // them, and the counts in the header. The end mark goes to the journal
    // first, so that a recovery cut short reads the file the same way.
    enum class Outcome { kFinished, kEmpty, kFailed };

    Outcome Finish(int file, int journalFd, QreFileHeader& header, uint64_t size)
    {
        const Journal journal = ReadJournal(journalFd);
        const bool waveforms = header[kQreRecordingKindOffset] != uint8_t(QreRecordingKind::VitalsOnly);
        const uint64_t onDisk = (size - kQreHeaderSize) / kQreSampleRecordSize;
        uint32_t ticks = 0;
        if (journal.marked)
            ticks = journal.sampleTicks;
        else if (waveforms)
            ticks = uint32_t(std::min<uint64_t>(onDisk, UINT32_MAX));
        else if (!journal.events.empty())
            ticks = ReadLe32(journal.events.back().data() + 4) + 1;
        const uint32_t samples = waveforms ? uint32_t(std::min<uint64_t>(ticks, onDisk)) : 0;
        if (samples == 0 && journal.events.empty())
            return Outcome::kEmpty;

        int error = 0;
        if (!journal.marked) {
            const QreEventRecord mark = JournalEndMark(ticks);
            const uint64_t end = SizeOf(journalFd) / kQreEventRecordSize * kQreEventRecordSize;
            if (!WriteAllAt(journalFd, end, mark.data(), mark.size(), error) || ::fdatasync(journalFd) != 0)
                return Failed("its journal cannot be marked", error != 0 ? error : errno);
        }
        uint64_t at = kQreHeaderSize + uint64_t(samples) * kQreSampleRecordSize;
        if (::ftruncate(file, static_cast<off_t>(at)) != 0)
            return Failed("it cannot be cut to its samples", errno);
        uint16_t kinds = 0;
        for (const QreEventRecord& event : journal.events) {
            if (!WriteAllAt(file, at, event.data(), event.size(), error))
                return Failed("its events cannot be written", error);
            at += event.size();
            kinds = uint16_t(kinds | ReadLe16(event.data() + 8));
        }
        WriteLe32(header.data() + kQreSampleTicksOffset, ticks);
        WriteLe32(header.data() + kQreSampleCountOffset, samples);
        WriteLe16(header.data() + kQreEventKindsOffset, kinds);
        WriteLe32(header.data() + kQreEventCountOffset, uint32_t(journal.events.size()));
        if (!WriteAllAt(file, 0, header.data(), header.size(), error))
            return Failed("its header cannot be written", error);
        if (::fdatasync(file) != 0)
            return Failed("it cannot be saved", errno);
        return Outcome::kFinished;
    }

    Outcome Failed(const std::string& what, int error)
    {
        (void)Leave(what + ": " + ErrorText(error));
        return Outcome::kFailed;
    }

    std::string m_journalPath;
    std::string m_path;
    const std::function<void(const std::string&)>& m_log;
};

}  // namespace

QreEventRecord JournalEndMark(uint32_t sampleTicks)
{
    QreEventRecord mark{};
    WriteLe32(mark.data() + 4, sampleTicks);
    return mark;
}

std::vector<RecoveredEpisode> RecoverInterruptedEpisodes(const std::string& folder,
                                                         const std::function<void(const std::string&)>& log)
{
    const std::string ending = JournalPathOf(".qre");
    std::vector<std::string> journals;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string_view name = entry->d_name;
            if (name.size() > ending.size() && name.substr(name.size() - ending.size()) == ending)
                journals.push_back(folder + "/" + std::string(name));
        }
        ::closedir(dir);
    }
    std::vector<RecoveredEpisode> recovered;
    for (const std::string& journal : journals) {
        if (auto episode = CRecovery(journal, log).Run())
            recovered.push_back(std::move(*episode));
    }
    std::sort(recovered.begin(), recovered.end(),
              [](const RecoveredEpisode& a, const RecoveredEpisode& b) { return a.start.Value() < b.start.Value(); });
    return recovered;
}
