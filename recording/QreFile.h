#pragma once
// The QRE recording file: a 5080-byte header (practice, patient, remote and
// recording), then one 4-byte sample record per sample period, then one
// 84-byte record per event. Little-endian, written byte by byte. Only the
// outside review programs read these files, so the layout is fixed.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/RemoteConfiguration.h"
#include "link/LiveData.h"
#include "patient/PatientInfo.h"
#include "platform/OleDate.h"

constexpr std::size_t kQreHeaderSize = 5080;
constexpr std::size_t kQreSampleRecordSize = 4;
constexpr std::size_t kQreEventRecordSize = 84;
constexpr int32_t kQreVersion = 3;

// Header fields by offset. Texts are Windows-1252, zero-padded, and end in
// at least one zero byte.
constexpr std::size_t kQreMagicOffset = 0;            // "QRE", then a zero
constexpr std::size_t kQreVersionOffset = 4;          // i32
constexpr std::size_t kQreStartTimeOffset = 8;        // f64, OLE date, local time
constexpr std::size_t kQreClinicOffset = 16;          // 8 practice texts of 80 bytes
constexpr std::size_t kQreClinicFieldSize = 80;
constexpr std::size_t kQreClinicFieldCount = 8;
constexpr std::size_t kQrePatientNameOffset = 656;    // patient texts of 40 bytes
constexpr std::size_t kQreClientNameOffset = 696;
constexpr std::size_t kQreSpeciesOffset = 736;
constexpr std::size_t kQreBreedOffset = 776;
constexpr std::size_t kQreBirthDateOffset = 816;
constexpr std::size_t kQreSexOffset = 856;
constexpr std::size_t kQreWeightOffset = 896;
constexpr std::size_t kQrePatientFieldSize = 40;
constexpr std::size_t kQreNoteOffset = 936;
constexpr std::size_t kQreNoteSize = 4096;
constexpr std::size_t kQreSpeciesCodeOffset = 5032;   // u8
constexpr std::size_t kQreModelStateOffset = 5033;    // u8 DeviceKind
constexpr std::size_t kQreFilterFlagsOffset = 5034;   // u8
constexpr std::size_t kQreRecordingKindOffset = 5035; // u8 QreRecordingKind
constexpr std::size_t kQreSpareByteOffset = 5036;     // u8, always zero
constexpr std::size_t kQreCo2SavedOffset = 5037;      // u8
constexpr std::size_t kQreSampleRateOffset = 5044;    // u16
constexpr std::size_t kQreSampleTicksOffset = 5048;   // u32
constexpr std::size_t kQreSampleCountOffset = 5052;   // u32
constexpr std::size_t kQreEventKindsOffset = 5056;    // u16
constexpr std::size_t kQreEventCountOffset = 5060;    // u32
constexpr std::size_t kQreUnitSelectorsOffset = 5064; // u8[9]
constexpr std::size_t kQreUnitSelectorCount = 9;

// filterFlags bits.
constexpr uint8_t kQreFilterNotch = 0x01;
constexpr uint8_t kQreFilterBandwidth = 0x02;
constexpr uint8_t kQreFilterTempUnit = 0x04;
constexpr uint8_t kQreFilterEsophageal = 0x08;

// Sample record bit word.
constexpr uint16_t kQreSampleEcgValid = 0x0001;
constexpr uint16_t kQreSampleBeat = 0x0002;
constexpr uint16_t kQreSampleCo2Valid = 0x0020;
constexpr int kQreSampleCo2Shift = 6;
constexpr uint16_t kQreSampleCo2Max = 1023;

using QreFileHeader = std::array<uint8_t, kQreHeaderSize>;
using QreSampleRecord = std::array<uint8_t, kQreSampleRecordSize>;
using QreEventRecord = std::array<uint8_t, kQreEventRecordSize>;

enum class QreRecordingKind : uint8_t { VitalsOnly = 0, Waveform = 1, WaveformWithCo2 = 2 };

class IRecordFile;
class IRecordFileSystem;
struct PrintEpisodeServices;

// FillHeader serves both writers. The rest is one print episode on its way
// to the disk: its own copy of the snapshot, its header and its file, on a
// short-lived worker (recording/PrintEpisode.h).
class CQre3File {
public:
    // Fills the header's practice, patient and remote fields; the recording
    // kind, the counts, the note and the unit selectors stay zero for the
    // writer's finish. An unnamed patient is named by the start date
    // ("%Y%m%d"), which also becomes its patientId. `config` is the settings
    // in force, `live` the live store. A null header does nothing.
    static void FillHeader(CPatientInfo& patient, uint8_t* header, const COleDate& start, bool esophageal,
                           const RemoteConfiguration& config, const LiveData& live);

    // Names, lists and starts the writer of a printed stretch (`count`
    // frames, oldest first). Runs on the UI thread; no result: a refusal is
    // logged and nothing is listed.
    static void StorePrintEpisode(const CPatientInfo& patient, const std::string& folder, const SampleFrame* frames,
                                  const COleDate& printMoment, bool esophageal, uint32_t count,
                                  const PrintEpisodeServices& services);
    // Creates the file (never over an existing one: a taken name gets the
    // next free "_2", "_3", ..., and `path` says which) and starts its
    // worker on a copy of the frames; false when the file cannot be made
    // or the worker cannot start.
    static bool StartWriter(std::string& path, const QreFileHeader& header, const SampleFrame* frames,
                            uint32_t count, bool co2Flag, const PrintEpisodeServices& services);
    // On the worker: header, samples, events, final header. Stamps each
    // event's position into `frames`. False on a write error.
    static bool WriteEpisode(IRecordFile& file, QreFileHeader header, SampleFrame* frames, uint32_t count,
                             bool co2Flag, bool co2Save);

    virtual ~CQre3File();

private:
    CQre3File();
    void WriterThread();

    std::string m_path;
    QreFileHeader m_header{};
    std::vector<SampleFrame> m_frames;
    bool m_co2Flag = false;
    bool m_co2Save = false;
    std::unique_ptr<IRecordFile> m_file;
    std::shared_ptr<IRecordFileSystem> m_files;
    std::function<void(const std::string&)> m_log;
};

// One sample period as its 4-byte record. No allocation: it runs for every
// frame recorded.
void EncodeSampleRecord(const SampleFrame& frame, uint8_t* out);
QreSampleRecord EncodeSampleRecord(const SampleFrame& frame);

// An event's 84-byte record; its time field is always written as zeros.
QreEventRecord EncodeEventRecord(const CEcgEvent& event);

// What a writer knows only when its episode ends.
struct QreFinish {
    uint32_t sampleTicks = 0;
    QreRecordingKind recordingKind = QreRecordingKind::VitalsOnly;
    uint32_t sampleCount = 0;
    uint16_t eventKinds = 0;
    uint32_t eventCount = 0;
    std::string note;            // UTF-8; stored as Windows-1252, at most 4095 bytes
    bool unitSelectors = false;  // the live episode stores them, a print episode zeros
};

// Writes the finish into a header filled before: recording kind, co2Saved
// (1 exactly for the kind with CO2), the counts, the note and the unit
// selectors of `config`. A null header does nothing.
void WriteFinish(uint8_t* header, const QreFinish& finish, const RemoteConfiguration& config);

// The live episode's note for the connected model: "Moval Captured:
// 05/06/2024 07:08:09\r\n" and the like; empty for a model outside 1..5.
std::string LiveCaptureNote(int32_t deviceKind, const COleDate& start);
// The print episode's note: "Wireless Remote Printed: " and the moment.
std::string PrintNote(const COleDate& when);

// The live episode's kind at close: waveform when recording waveforms, with
// the CO2 trace when "CO2 Save" is on and CO2 was measured (in an event or
// now).
QreRecordingKind LiveRecordingKind(int32_t recordMode, int32_t co2Save, uint16_t eventKinds, uint16_t featureBits);
