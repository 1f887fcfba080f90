#pragma once
// The practice program's current patient, read through AVImark's own
// automation objects. Those exist only in its Windows installation: on this
// platform the automation has no classes, so a reading ends with 2 when
// AVImark seems to run (under an emulator) and with 1 when it does not;
// both are silent.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/Automation.h"
#include "platform/OleDate.h"
#include "platform/ProcessList.h"

inline constexpr char kAVImarkFileClass[] = "AVImark.AVIFile";
inline constexpr char kAVImarkCidClass[] = "AVImark.AVICID";
inline constexpr char kAVImarkEntryClass[] = "AVImark.AVIEntry";
inline constexpr char kAVImarkAccessKey[] = "q4]Xm-27(vLs0e8Tn.hw3j=Kp-ub9fRz";

// The methods by number.
inline constexpr int32_t kAVIFileUnlock = 8;
inline constexpr int32_t kAVIFileOpen = 3;
inline constexpr int32_t kAVIFileRead = 7;
inline constexpr int32_t kAVICidAnimal = 2;
inline constexpr int32_t kAVICidClient = 1;
inline constexpr int32_t kAVIEntryFind = 1;

class CAVImarkData {
public:
    // `now` gives the local time that stands in for a value that is not a
    // date; empty: the clock's.
    explicit CAVImarkData(std::function<COleDate()> now = {});
    virtual ~CAVImarkData() = default;

    // 0: the fields are filled; 1: AVImark is not running; 2: any other
    // failure. A failed call (AutomationError) passes to the caller, but in
    // the breed lookup, which only empties the breed.
    int ReadCurrentPatient(IAutomation& automation = SystemAutomation(),
                           const IProcessList& processes = SystemProcessList());
    static bool IsAVImarkRunning(const IProcessList& processes = SystemProcessList());

    // The returned arrays, element by element into the fields; false
    // unless `values` is an array of exactly 7 (2) elements.
    bool DecodeAnimal(const AutomationValue& values);
    bool DecodeClient(const AutomationValue& values);

    std::string name;
    std::string species;
    int32_t speciesCode = 0;
    std::string breed;
    std::string birthDateText;
    COleDate birthDate{0.0};
    std::string weight;
    std::string weightUnit;
    std::string sex;
    std::string clientFirstName;
    std::string clientLastName;
    AutomationValue animalFieldNames;
    AutomationValue clientFieldNames;
    AutomationValue animalValues;
    AutomationValue clientValues;

private:
    // An element as text; a date goes to `m_date`, which is the current
    // time for any other element.
    std::string Convert(const AutomationValue& element);
    void LookUpBreed(IAutomationObject& file, IAutomationObject& entry, int32_t entryFile);

    std::function<COleDate()> m_now;
    COleDate m_date;
};

class IAVImark {
public:
    virtual ~IAVImark() = default;
    // As CAVImarkData::ReadCurrentPatient.
    virtual int ReadCurrentPatient(CAVImarkData& data) = 0;
};

// AVImark through the given automation and process list (this system's by
// default).
class CAVImark final : public IAVImark {
public:
    explicit CAVImark(IAutomation& automation = SystemAutomation(),
                      const IProcessList& processes = SystemProcessList())
        : m_automation(automation), m_processes(processes)
    {
    }
    int ReadCurrentPatient(CAVImarkData& data) override { return data.ReadCurrentPatient(m_automation, m_processes); }

private:
    IAutomation& m_automation;
    const IProcessList& m_processes;
};
