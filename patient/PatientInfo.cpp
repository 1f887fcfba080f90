#include "patient/PatientInfo.h"

#include <algorithm>
#include <array>

#include "patient/PatientDates.h"

namespace {

constexpr char kSeparator = '|';

} // namespace

std::string PatientIdFor(const std::string& name, const COleDate& now)
{
    return name.empty() ? DateStamp(now) : name;
}

const std::string& PatientShownName(const CPatientInfo& info)
{
    return info.name.empty() ? info.patientId : info.name;
}

void ResetForNewPatient(PatientData& patient, const COleDate& now)
{
    CPatientInfo& info = patient.info;
    info.name = DateStamp(now);
    info.patientId = info.name;
    info.weight.clear();
    info.weightUnit.clear();
    info.birthDateText.clear();
    info.breed.clear();
    info.sex.clear();
    info.clientFirstName.clear();
    info.clientLastName.clear();
    patient.birthDate = NewPatientBirthDate(patient.birthDate);
}

std::string FormatRecentEntry(const CPatientInfo& info)
{
    const auto fields = RecentEntryFields(info);
    std::string entry = *fields[0];
    for (std::size_t i = 1; i < fields.size(); ++i)
        entry.append(1, kSeparator).append(*fields[i]);
    return entry;
}

bool ApplyRecentEntry(const std::string& entry, CPatientInfo& info, COleDate& birthDate)
{
    const auto fields = RecentEntryFields(info);
    if (std::count(entry.begin(), entry.end(), kSeparator) != std::ptrdiff_t(fields.size()) - 1)
        return false;
    std::size_t start = 0;
    for (std::string* field : fields) {
        const std::size_t end = std::min(entry.find(kSeparator, start), entry.size());
        field->assign(entry, start, end - start);
        start = end + 1;
    }
    birthDate = ParseBirthDateText(info.birthDateText);
    return true;
}

std::vector<std::string> RecentEntriesNewestFirst(const RemoteConfiguration& config)
{
    std::vector<std::string> entries;
    int slot = std::clamp(LoadRelaxed(config.recentPointer), 0, kRecentCount - 1);
    for (int step = 0; step < kRecentCount; ++step) {
        if (!config.recent[slot].empty())
            entries.push_back(config.recent[slot]);
        slot = slot == 0 ? kRecentCount - 1 : slot - 1;
    }
    return entries;
}

bool AddRecentEntry(RemoteConfiguration& config, const std::string& entry, const std::string& initialRecord)
{
    if (entry == initialRecord || std::find(std::begin(config.recent), std::end(config.recent), entry) != std::end(config.recent))
        return false;
    const int32_t pointer = LoadRelaxed(config.recentPointer);
    const int32_t next = pointer >= 0 && pointer < kRecentCount - 1 ? pointer + 1 : 0;
    config.recent[next] = entry;
    StoreRelaxed(config.recentPointer, next);
    return true;
}
