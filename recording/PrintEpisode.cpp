#include "recording/PrintEpisode.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <system_error>

#include "app/NorqEventLogger.h"
#include "link/ByteOrder.h"
#include "platform/Thread.h"
#include "recording/EpisodeNames.h"

namespace {

constexpr char kStoreTag[] = "CQre3File::StorePrintEpisode";
constexpr char kWriterTag[] = "CQre3File::WriterThread";

void Log(const PrintEpisodeServices& services, const std::string& line)
{
    if (services.log)
        services.log(line);
    else
        LogEventText(kStoreTag, line);
}

}  // namespace

// ---- The workers ----

CPrintWriters::~CPrintWriters()
{
    {
        std::unique_lock lock(m_mutex);
        m_idle.wait(lock, [this] { return m_running == 0; });
    }
    for (std::thread& thread : m_threads)
        thread.join();
}

bool CPrintWriters::Start(std::function<void()> work)
{
    JoinFinished();
    std::lock_guard lock(m_mutex);
    try {
        m_threads.emplace_back([this, work = std::move(work)] {
            SetThreadName("QRE Print");
            work();
            std::lock_guard done(m_mutex);
            --m_running;
            m_finished.push_back(std::this_thread::get_id());
            m_idle.notify_all();
        });
    } catch (const std::system_error&) {
        return false;
    }
    ++m_running;
    return true;
}

bool CPrintWriters::WaitIdle(std::chrono::milliseconds timeout)
{
    bool idle = false;
    {
        std::unique_lock lock(m_mutex);
        idle = m_idle.wait_for(lock, timeout, [this] { return m_running == 0; });
    }
    JoinFinished();
    return idle;
}

void CPrintWriters::JoinFinished()
{
    std::vector<std::thread> done;
    {
        std::lock_guard lock(m_mutex);
        for (auto it = m_threads.begin(); it != m_threads.end();) {
            if (std::find(m_finished.begin(), m_finished.end(), it->get_id()) != m_finished.end()) {
                done.push_back(std::move(*it));
                it = m_threads.erase(it);
            } else {
                ++it;
            }
        }
        m_finished.clear();
    }
    for (std::thread& thread : done)
        thread.join();
}

// ---- Times ----

COleDate SecondsBefore(const COleDate& moment, int64_t seconds)
{
    using namespace std::chrono;
    const auto f = moment.Fields();
    if (!f)
        return {};
    const sys_days date = year_month_day{year{f->year}, month{unsigned(f->month)}, day{unsigned(f->day)}};
    const sys_seconds then = date + hours{f->hour} + minutes{f->minute} + std::chrono::seconds{f->second} -
                             std::chrono::seconds{seconds};
    const sys_days thenDay = floor<days>(then);
    const year_month_day ymd{thenDay};
    const hh_mm_ss hms{then - thenDay};
    return COleDate::FromDate(int(ymd.year()), int(unsigned(ymd.month())), int(unsigned(ymd.day())),
                              int(hms.hours().count()), int(hms.minutes().count()), int(hms.seconds().count()));
}

int64_t PrintEpisodeSeconds(uint32_t count, uint16_t sampleRate)
{
    if (sampleRate == 0)
        return 0;
    return static_cast<int64_t>(double(count) / double(sampleRate) + 0.5);
}

// ---- The writer ----

CQre3File::CQre3File() = default;
CQre3File::~CQre3File() = default;

void CQre3File::StorePrintEpisode(const CPatientInfo& patient, const std::string& folder, const SampleFrame* frames,
                                  const COleDate& printMoment, bool esophageal, uint32_t count,
                                  const PrintEpisodeServices& services)
{
    try {
        const LiveData& live = *services.live;
        const bool co2Flag = (live.featureBits & kFeatureCO2) != 0;
        const COleDate start = SecondsBefore(printMoment, PrintEpisodeSeconds(count, live.sampleRate));
        // The names pass the file-name filter: a slash in a name must not
        // point the file into another folder.
        std::string path = EpisodeFilePath(folder, services.demoMode, patient, printMoment);
        const std::string text = EpisodeText(start, true, patient);

        QreFileHeader header{};
        CPatientInfo record = patient;
        FillHeader(record, header.data(), start, esophageal, *services.config, live);
        QreFinish finish;
        finish.note = PrintNote(printMoment);
        WriteFinish(header.data(), finish, *services.config);

        if (!StartWriter(path, header, frames, count, co2Flag, services))
            return;
        if (services.addEpisode)
            services.addEpisode({text, path});
    } catch (const std::exception& e) {
        Log(services, std::string("Print episode not stored: ") + e.what());
    }
}

bool CQre3File::StartWriter(std::string& path, const QreFileHeader& header, const SampleFrame* frames,
                            uint32_t count, bool co2Flag, const PrintEpisodeServices& services)
{
    auto files = services.files ? services.files : PosixRecordFileSystem();
    int error = 0;
    // A print in the same second as another episode of the patient takes
    // the next free name, as a live episode does.
    std::unique_ptr<IRecordFile> file = CreateNumbered(*files, path, error);
    if (!file) {
        Log(services, "Print episode \"" + path + "\" not stored: " + std::generic_category().message(error));
        return false;
    }
    path = file->Path();
    auto writer = std::shared_ptr<CQre3File>(new CQre3File());
    writer->m_path = path;
    writer->m_header = header;
    // Its own copy: the next capture may refill the snapshot while this
    // one is written, and the positions are stamped into the copy.
    writer->m_frames.assign(frames, frames + count);
    writer->m_co2Flag = co2Flag;
    writer->m_co2Save = LoadRelaxed(services.config->co2Save) != 0;
    writer->m_file = std::move(file);
    writer->m_files = files;
    writer->m_log = services.log;

    if (services.writers == nullptr) {
        writer->WriterThread();
        return true;
    }
    if (services.writers->Start([writer] { writer->WriterThread(); }))
        return true;
    writer->m_file.reset();
    files->Remove(path, error);
    Log(services, "Print episode \"" + path + "\" not stored: no writer thread");
    return false;
}

bool CQre3File::WriteEpisode(IRecordFile& file, QreFileHeader header, SampleFrame* frames, uint32_t count,
                             bool co2Flag, bool co2Save)
{
    try {
        int error = 0;
        if (!file.WriteAt(0, header.data(), header.size(), error))
            return false;
        std::vector<uint8_t> samples(std::size_t(count) * kQreSampleRecordSize);
        std::vector<CEcgEvent> events;
        for (uint32_t i = 0; i < count; ++i) {
            EncodeSampleRecord(frames[i], samples.data() + std::size_t(i) * kQreSampleRecordSize);
            if (frames[i].event.code != 0) {
                frames[i].event.position = i;
                events.push_back(frames[i].event);
            }
        }
        uint64_t at = kQreHeaderSize;
        if (!samples.empty() && !file.WriteAt(at, samples.data(), samples.size(), error))
            return false;
        at += samples.size();
        uint16_t kinds = 0;
        for (const CEcgEvent& event : events) {
            const QreEventRecord record = EncodeEventRecord(event);
            if (!file.WriteAt(at, record.data(), record.size(), error))
                return false;
            at += record.size();
            kinds = static_cast<uint16_t>(kinds | event.featureBits);
        }
        const bool withCo2 = co2Flag && co2Save;
        header[kQreRecordingKindOffset] =
            static_cast<uint8_t>(withCo2 ? QreRecordingKind::WaveformWithCo2 : QreRecordingKind::Waveform);
        header[kQreCo2SavedOffset] = withCo2 ? 1 : 0;
        header[kQreSpareByteOffset] = 0;
        WriteLe32(header.data() + kQreSampleTicksOffset, count);
        WriteLe32(header.data() + kQreSampleCountOffset, count);
        WriteLe16(header.data() + kQreEventKindsOffset, kinds);
        WriteLe32(header.data() + kQreEventCountOffset, static_cast<uint32_t>(events.size()));
        return file.WriteAt(0, header.data(), header.size(), error);
    } catch (const std::exception&) {
        return false;
    }
}

void CQre3File::WriterThread()
{
    const bool written =
        WriteEpisode(*m_file, m_header, m_frames.data(), static_cast<uint32_t>(m_frames.size()), m_co2Flag, m_co2Save);
    m_file.reset();
    if (written)
        return;
    // A half-written episode would mislead a reviewer; its line stays in
    // the list, as the review programs report a missing file themselves.
    int error = 0;
    m_files->Remove(m_path, error);
    const std::string line = "Print episode \"" + m_path + "\" could not be written and was removed";
    if (m_log)
        m_log(line);
    else
        LogEventText(kWriterTag, line);
}
