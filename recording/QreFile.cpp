#include "recording/QreFile.h"

#include <cstring>

#include "link/ByteOrder.h"
#include "platform/Windows1252.h"

namespace {

constexpr const char* kNoteTimeFormat = "%m/%d/%Y %H:%M:%S";

void PatientText(uint8_t* header, std::size_t offset, const std::string& text)
{
    CopyTextField(header + offset, kQrePatientFieldSize, text);
}

} // namespace

void CQre3File::FillHeader(CPatientInfo& patient, uint8_t* header, const COleDate& start, bool esophageal,
                           const RemoteConfiguration& config, const LiveData& live)
{
    if (header == nullptr)
        return;
    std::memset(header, 0, kQreHeaderSize);

    std::memcpy(header + kQreMagicOffset, "QRE", 3);
    WriteLeF64(header + kQreStartTimeOffset, start.Value());
    WriteLe32(header + kQreVersionOffset, static_cast<uint32_t>(kQreVersion));
    header[kQreModelStateOffset] = static_cast<uint8_t>(live.deviceKind.load());
    WriteLe16(header + kQreSampleRateOffset, live.sampleRate.load());

    const std::string* const practice[kQreClinicFieldCount] = {
        &config.clinic, &config.address1, &config.address2, &config.city,
        &config.state,  &config.zip,      &config.phone,    &config.email,
    };
    for (std::size_t i = 0; i < kQreClinicFieldCount; ++i)
        CopyTextField(header + kQreClinicOffset + i * kQreClinicFieldSize, kQreClinicFieldSize, *practice[i]);

    if (patient.name.empty()) {
        patient.patientId = start.Format("%Y%m%d");
        PatientText(header, kQrePatientNameOffset, patient.patientId);
    } else {
        PatientText(header, kQrePatientNameOffset, patient.name);
    }
    PatientText(header, kQreClientNameOffset, patient.clientFirstName + " " + patient.clientLastName);
    header[kQreSpeciesCodeOffset] = static_cast<uint8_t>(patient.speciesCode);
    PatientText(header, kQreSpeciesOffset, patient.species);
    PatientText(header, kQreBreedOffset, patient.breed);
    PatientText(header, kQreBirthDateOffset, patient.birthDateText);
    PatientText(header, kQreSexOffset, patient.sex);
    PatientText(header, kQreWeightOffset, patient.weight + " " + patient.weightUnit);

    uint8_t flags = 0;
    if (config.notch != 0)
        flags |= kQreFilterNotch;
    if (config.bandwidth != 0)
        flags |= kQreFilterBandwidth;
    if (config.units[0] != 0)
        flags |= kQreFilterTempUnit;
    if (esophageal)
        flags |= kQreFilterEsophageal;
    header[kQreFilterFlagsOffset] = flags;
}

void EncodeSampleRecord(const SampleFrame& frame, uint8_t* out)
{
    auto bits = static_cast<uint16_t>(frame.flags & (kQreSampleEcgValid | kQreSampleBeat));
    if (frame.co2Valid != 0) {
        // A negative value read as unsigned is beyond the scale and stored
        // at its top, as the review programs expect.
        uint16_t co2 = static_cast<uint16_t>(frame.co2);
        if (co2 > kQreSampleCo2Max)
            co2 = kQreSampleCo2Max;
        bits = static_cast<uint16_t>(bits | kQreSampleCo2Valid | (co2 << kQreSampleCo2Shift));
    }
    WriteLe16(out, static_cast<uint16_t>(frame.ecg));
    WriteLe16(out + 2, bits);
}

QreSampleRecord EncodeSampleRecord(const SampleFrame& frame)
{
    QreSampleRecord record;
    EncodeSampleRecord(frame, record.data());
    return record;
}

QreEventRecord EncodeEventRecord(const CEcgEvent& event)
{
    static_assert(CEcgEvent::kRecordSize == kQreEventRecordSize);
    QreEventRecord record;
    event.WriteRecord(record.data());
    // An event read back from a record may carry a time; files never do.
    std::memset(record.data() + 58, 0, 8);
    return record;
}

void WriteFinish(uint8_t* header, const QreFinish& finish, const RemoteConfiguration& config)
{
    if (header == nullptr)
        return;
    const bool withCo2 = finish.recordingKind == QreRecordingKind::WaveformWithCo2;
    header[kQreRecordingKindOffset] = static_cast<uint8_t>(finish.recordingKind);
    header[kQreSpareByteOffset] = 0;
    header[kQreCo2SavedOffset] = withCo2 ? 1 : 0;
    WriteLe32(header + kQreSampleTicksOffset, finish.sampleTicks);
    WriteLe32(header + kQreSampleCountOffset, finish.sampleCount);
    WriteLe16(header + kQreEventKindsOffset, finish.eventKinds);
    WriteLe32(header + kQreEventCountOffset, finish.eventCount);
    CopyTextField(header + kQreNoteOffset, kQreNoteSize, finish.note);
    for (std::size_t i = 0; i < kQreUnitSelectorCount; ++i)
        header[kQreUnitSelectorsOffset + i] = finish.unitSelectors ? static_cast<uint8_t>(config.units[i]) : 0;
}

std::string LiveCaptureNote(int32_t deviceKind, const COleDate& start)
{
    const char* model = nullptr;
    switch (deviceKind) {
    case kDeviceTarvik: model = "Tarvik"; break;
    case kDeviceTarvikPlus: model = "Tarvik+"; break;
    case kDeviceMoval: model = "Moval"; break;
    case kDeviceSelvo: model = "Selvo"; break;
    case kDeviceBrindle: model = "BP-Brindle"; break;
    default: return {};
    }
    return std::string(model) + " Captured: " + start.Format(kNoteTimeFormat) + "\r\n";
}

std::string PrintNote(const COleDate& when)
{
    return "Wireless Remote Printed: " + when.Format(kNoteTimeFormat) + "\r\n";
}

QreRecordingKind LiveRecordingKind(int32_t recordMode, int32_t co2Save, uint16_t eventKinds, uint16_t featureBits)
{
    if (recordMode == 0)
        return QreRecordingKind::VitalsOnly;
    if (co2Save != 0 && ((eventKinds | featureBits) & kFeatureCO2) != 0)
        return QreRecordingKind::WaveformWithCo2;
    return QreRecordingKind::Waveform;
}
