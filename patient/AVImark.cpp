#include "patient/AVImark.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <chrono>
#include <exception>

namespace {

constexpr char kAnimalFile[] = "ANIMAL.VM$";
constexpr char kClientFile[] = "CLIENT.VM$";
constexpr char kEntryFile[] = "ENTRY.VM$";
constexpr char kBreedTable[] = "BREEDS";
constexpr char kEntryBreedField[] = "ENTRY_BREED";
constexpr char kProgramName[] = "AVIMARK.EXE";

std::string Upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

AutomationValue Names(std::initializer_list<const char*> names)
{
    AutomationValue::Array array;
    for (const char* name : names)
        array.emplace_back(name);
    return array;
}

// A number or handle the program answered; 0 (a failure) for anything else.
int32_t AsInt(const AutomationValue& value)
{
    const int32_t* number = value.Get<int32_t>();
    return number != nullptr ? *number : 0;
}

bool IsTrue(const AutomationValue& value)
{
    if (const bool* flag = value.Get<bool>())
        return *flag;
    return AsInt(value) != 0;
}

// "%1.2f" whatever the locale.
std::string TwoDecimals(double value)
{
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 2);
    return result.ec == std::errc() ? std::string(text, result.ptr) : std::string();
}

std::string DecodeSpecies(const std::string& text, int32_t& code)
{
    static const char* const kKnown[] = {"Canine", "Feline", "Equine"};
    const std::string upper = Upper(text);
    for (code = 0; code < 3; ++code)
        if (upper == Upper(kKnown[code]))
            return kKnown[code];
    return text;
}

std::string DecodeSex(const std::string& text)
{
    const std::string upper = Upper(text);
    if (upper == "F" || upper == "FEMALE")
        return "Female";
    if (upper == "M" || upper == "MALE")
        return "Male";
    if (upper == "N")
        return "Male - Neutered";
    if (upper == "S")
        return "Female - Spayed";
    return text;
}

} // namespace

CAVImarkData::CAVImarkData(std::function<COleDate()> now)
    : animalFieldNames(Names({"ANIMAL_NAME", "ANIMAL_SPECIES", "ANIMAL_BREED", "ANIMAL_BIRTHDAY", "ANIMAL_SEX",
                              "ANIMAL_WEIGHT", "ANIMAL_MEASURE"})),
      clientFieldNames(Names({"CLIENT_FIRST", "CLIENT_LAST"})),
      m_now(now ? std::move(now) : [] { return COleDate::FromLocalTime(std::chrono::system_clock::now()); })
{
}

bool CAVImarkData::IsAVImarkRunning(const IProcessList& processes)
{
    std::vector<ProcessEntry> snapshot;
    if (!processes.Snapshot(snapshot))
        return false;
    return std::any_of(snapshot.begin(), snapshot.end(), [](const ProcessEntry& process) {
        return Upper(process.name) == kProgramName || Upper(process.commandName) == kProgramName;
    });
}

int CAVImarkData::ReadCurrentPatient(IAutomation& automation, const IProcessList& processes)
{
    if (!IsAVImarkRunning(processes))
        return 1;
    // The objects are released when they go out of scope, on every path.
    const std::unique_ptr<IAutomationObject> file = automation.Create(kAVImarkFileClass);
    if (!file || !IsTrue(file->Invoke(kAVIFileUnlock, {kAVImarkAccessKey})))
        return 2;
    const std::unique_ptr<IAutomationObject> cid = automation.Create(kAVImarkCidClass);
    const std::unique_ptr<IAutomationObject> entry = automation.Create(kAVImarkEntryClass);
    if (!cid || !entry)
        return 2;

    const int32_t animalRecord = AsInt(cid->Invoke(kAVICidAnimal, {}));
    if (animalRecord < 1)
        return 2;
    const int32_t animalFile = AsInt(file->Invoke(kAVIFileOpen, {kAnimalFile}));
    if (animalFile < 1)
        return 2;
    const int32_t clientRecord = AsInt(cid->Invoke(kAVICidClient, {}));
    if (clientRecord < 1)
        return 2;
    const int32_t clientFile = AsInt(file->Invoke(kAVIFileOpen, {kClientFile}));
    if (clientFile < 1)
        return 2;
    const int32_t entryFile = AsInt(file->Invoke(kAVIFileOpen, {kEntryFile}));
    if (entryFile < 1)
        return 2;

    animalValues = file->Invoke(kAVIFileRead, {animalFile, animalRecord, animalFieldNames});
    clientValues = file->Invoke(kAVIFileRead, {clientFile, clientRecord, clientFieldNames});
    if (!DecodeAnimal(animalValues) || !DecodeClient(clientValues))
        return 2;

    if (!breed.empty()) {
        try {
            LookUpBreed(*file, *entry, entryFile);
        } catch (const std::exception&) {
            breed.clear();
        }
    }
    return 0;
}

void CAVImarkData::LookUpBreed(IAutomationObject& file, IAutomationObject& entry, int32_t entryFile)
{
    const int32_t record = AsInt(entry.Invoke(kAVIEntryFind, {kBreedTable, breed}));
    if (record < 1)
        return;
    const AutomationValue values = file.Invoke(kAVIFileRead, {entryFile, record, Names({kEntryBreedField})});
    const AutomationValue::Array* array = values.Get<AutomationValue::Array>();
    if (array != nullptr && array->size() == 1)
        breed = Convert(array->front());
}

std::string CAVImarkData::Convert(const AutomationValue& element)
{
    m_date = m_now();
    if (const int32_t* number = element.Get<int32_t>())
        return std::to_string(*number);
    if (const double* number = element.Get<double>())
        return TwoDecimals(*number);
    if (const std::string* text = element.Get<std::string>())
        return *text;
    if (const COleDate* date = element.Get<COleDate>())
        m_date = *date;
    return {};
}

bool CAVImarkData::DecodeAnimal(const AutomationValue& values)
{
    const AutomationValue::Array* array = values.Get<AutomationValue::Array>();
    if (array == nullptr || array->size() != 7)
        return false;
    const AutomationValue::Array& v = *array;
    name = Convert(v[0]);
    species = DecodeSpecies(Convert(v[1]), speciesCode);
    breed = Convert(v[2]);
    Convert(v[3]);
    birthDate = m_date;
    birthDateText = birthDate.Format("%m/%d/%Y");
    sex = DecodeSex(Convert(v[4]));
    weight = Convert(v[5]);
    weightUnit = Convert(v[6]);
    return true;
}

bool CAVImarkData::DecodeClient(const AutomationValue& values)
{
    const AutomationValue::Array* array = values.Get<AutomationValue::Array>();
    if (array == nullptr || array->size() != 2)
        return false;
    clientFirstName = Convert((*array)[0]);
    clientLastName = Convert((*array)[1]);
    return true;
}
