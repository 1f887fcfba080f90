// Reading AVImark's current patient: the calls made, the failures, the
// decoding of what comes back, and the search for its process.
#include <gtest/gtest.h>

#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "patient/AVImark.h"

namespace {

using Array = AutomationValue::Array;

const COleDate kNow = COleDate::FromDate(2026, 3, 4, 9, 30);
const COleDate kBirthday = COleDate::FromDate(2017, 11, 2);
const CFixedProcessList kRunning({{1, "bash", "bash"}, {42, "wine-preloader", "AviMark.exe"}});

// AVImark as its objects answer; each member can be spoiled by a case.
struct Practice {
    AutomationValue unlocked = true;
    int32_t animalRecord = 11;
    int32_t clientRecord = 22;
    int32_t animalHandle = 1;
    int32_t clientHandle = 2;
    int32_t entryHandle = 3;
    AutomationValue animal = Array{"Bella", "feline", "DSH", kBirthday, "s", 4.25, "kgs"};
    AutomationValue client = Array{"Anna", "Kay"};
    int32_t breedRecord = 5;
    AutomationValue breedName = Array{"Domestic Shorthair"};
    bool readThrows = false;
    bool lookupThrows = false;
    bool entryClass = true;

    void Install(CScriptedAutomation& automation) const
    {
        automation.AddClass(kAVImarkFileClass, [this](int32_t dispid, const std::vector<AutomationValue>& a) {
            if (dispid == kAVIFileUnlock)
                return unlocked;
            if (dispid == kAVIFileOpen) {
                const std::string file = *a.at(0).Get<std::string>();
                return AutomationValue(file == "ANIMAL.VM$" ? animalHandle : file == "CLIENT.VM$" ? clientHandle
                                                                                                 : entryHandle);
            }
            if (readThrows)
                throw AutomationError("read refused");
            const int32_t handle = *a.at(0).Get<int32_t>();
            return handle == animalHandle ? animal : handle == clientHandle ? client : breedName;
        });
        automation.AddClass(kAVImarkCidClass, [this](int32_t dispid, const std::vector<AutomationValue>&) {
            return AutomationValue(dispid == kAVICidAnimal ? animalRecord : clientRecord);
        });
        if (entryClass)
            automation.AddClass(kAVImarkEntryClass, [this](int32_t, const std::vector<AutomationValue>&) {
                if (lookupThrows)
                    throw AutomationError("no breed table");
                return AutomationValue(breedRecord);
            });
    }
};

TEST(AVImark, ReadsTheCurrentPatientWithTheCallsAVImarkExpects)
{
    Practice practice;
    CScriptedAutomation automation;
    practice.Install(automation);
    CAVImarkData data([] { return kNow; });
    ASSERT_EQ(data.ReadCurrentPatient(automation, kRunning), 0);

    const Array animalNames{"ANIMAL_NAME", "ANIMAL_SPECIES", "ANIMAL_BREED", "ANIMAL_BIRTHDAY",
                            "ANIMAL_SEX",  "ANIMAL_WEIGHT",  "ANIMAL_MEASURE"};
    const std::vector<std::tuple<std::string, int32_t, std::vector<AutomationValue>>> expected = {
        {"AVImark.AVIFile", 8, {"q4]Xm-27(vLs0e8Tn.hw3j=Kp-ub9fRz"}},
        {"AVImark.AVICID", 2, {}},
        {"AVImark.AVIFile", 3, {"ANIMAL.VM$"}},
        {"AVImark.AVICID", 1, {}},
        {"AVImark.AVIFile", 3, {"CLIENT.VM$"}},
        {"AVImark.AVIFile", 3, {"ENTRY.VM$"}},
        {"AVImark.AVIFile", 7, {1, 11, animalNames}},
        {"AVImark.AVIFile", 7, {2, 22, Array{"CLIENT_FIRST", "CLIENT_LAST"}}},
        {"AVImark.AVIEntry", 1, {"BREEDS", "DSH"}},
        {"AVImark.AVIFile", 7, {3, 5, Array{"ENTRY_BREED"}}},
    };
    const std::vector<CScriptedAutomation::Call> calls = automation.Calls();
    ASSERT_EQ(calls.size(), expected.size());
    for (std::size_t i = 0; i < calls.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(calls[i].progId, std::get<0>(expected[i]));
        EXPECT_EQ(calls[i].dispid, std::get<1>(expected[i]));
        EXPECT_EQ(calls[i].arguments, std::get<2>(expected[i]));
    }
    EXPECT_EQ(data.name, "Bella");
    EXPECT_EQ(data.species, "Feline");
    EXPECT_EQ(data.speciesCode, 1);
    EXPECT_EQ(data.breed, "Domestic Shorthair");
    EXPECT_EQ(data.birthDate, kBirthday);
    EXPECT_EQ(data.birthDateText, "11/02/2017");
    EXPECT_EQ(data.sex, "Female - Spayed");
    EXPECT_EQ(data.weight, "4.25");
    EXPECT_EQ(data.weightUnit, "kgs");
    EXPECT_EQ(data.clientFirstName, "Anna");
    EXPECT_EQ(data.clientLastName, "Kay");
    EXPECT_EQ(automation.Created(), 3);
    EXPECT_EQ(automation.Alive(), 0);
}

TEST(AVImark, FailuresEndTheReadingAndReleaseEveryObject)
{
    struct Case {
        const char* what;
        std::function<void(Practice&)> spoil;
        int result;
        std::string breed;  // when the result is 0
    };
    const Case cases[] = {
        {"the key refused", [](Practice& p) { p.unlocked = false; }, 2, ""},
        {"the key answered with a number", [](Practice& p) { p.unlocked = 1; }, 0, "Domestic Shorthair"},
        {"no entry class", [](Practice& p) { p.entryClass = false; }, 2, ""},
        {"no current animal", [](Practice& p) { p.animalRecord = 0; }, 2, ""},
        {"no current client", [](Practice& p) { p.clientRecord = -1; }, 2, ""},
        {"animal file not opened", [](Practice& p) { p.animalHandle = 0; }, 2, ""},
        {"entry file not opened", [](Practice& p) { p.entryHandle = 0; }, 2, ""},
        {"six animal values", [](Practice& p) { p.animal = Array{"a", "b", "c", "d", "e", "f"}; }, 2, ""},
        {"three client values", [](Practice& p) { p.client = Array{"a", "b", "c"}; }, 2, ""},
        {"animal values not an array", [](Practice& p) { p.animal = "Bella"; }, 2, ""},
        {"client values missing", [](Practice& p) { p.client = AutomationValue(); }, 2, ""},
        {"a breed code without an entry", [](Practice& p) { p.breedRecord = 0; }, 0, "DSH"},
        {"two breed names", [](Practice& p) { p.breedName = Array{"x", "y"}; }, 0, "DSH"},
        {"a breed name that is a number", [](Practice& p) { p.breedName = Array{int32_t(7)}; }, 0, "7"},
        {"the breed lookup fails", [](Practice& p) { p.lookupThrows = true; }, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Practice practice;
        c.spoil(practice);
        CScriptedAutomation automation;
        practice.Install(automation);
        CAVImarkData data([] { return kNow; });
        EXPECT_EQ(data.ReadCurrentPatient(automation, kRunning), c.result);
        if (c.result == 0) {
            EXPECT_EQ(data.breed, c.breed);
        }
        EXPECT_EQ(automation.Alive(), 0);
    }

    // A failed read passes to the caller, with the objects released.
    Practice practice;
    practice.readThrows = true;
    CScriptedAutomation automation;
    practice.Install(automation);
    CAVImarkData data;
    EXPECT_THROW(data.ReadCurrentPatient(automation, kRunning), AutomationError);
    EXPECT_EQ(automation.Alive(), 0);

    // Not running: no object is made. Running on this platform: no class.
    CScriptedAutomation untouched;
    practice.Install(untouched);
    EXPECT_EQ(CAVImarkData().ReadCurrentPatient(untouched, CFixedProcessList({{7, "bash", "bash"}})), 1);
    EXPECT_EQ(CAVImarkData().ReadCurrentPatient(untouched, CFixedProcessList({}, false)), 1);
    EXPECT_EQ(untouched.Created(), 0);
    EXPECT_EQ(CAVImarkData().ReadCurrentPatient(SystemAutomation(), kRunning), 2);
    CAVImarkData viaInterface;
    EXPECT_EQ(CAVImark(SystemAutomation(), kRunning).ReadCurrentPatient(viaInterface), 2);
}

TEST(AVImark, DecodesEachValueTypeSpeciesAndSex)
{
    struct Case {
        AutomationValue species, birthday, sex, weight;
        std::string wantSpecies;
        int32_t wantCode;
        COleDate wantBirthday;
        std::string wantSex, wantWeight;
    };
    const Case cases[] = {
        {"CANINE", kBirthday, "M", 12.5, "Canine", 0, kBirthday, "Male", "12.50"},
        {"feline", kBirthday, "female", int32_t(12), "Feline", 1, kBirthday, "Female", "12"},
        {"Equine", kBirthday, "n", "12,5 kg", "Equine", 2, kBirthday, "Male - Neutered", "12,5 kg"},
        {"Lagomorph", "2017-11-02", "S", true, "Lagomorph", 3, kNow, "Female - Spayed", ""},
        {"", AutomationValue(), "Male", AutomationValue(), "", 3, kNow, "Male", ""},
        {kBirthday, int32_t(3), "unknown", -0.004, "", 3, kNow, "unknown", "-0.00"},
        {int32_t(1), Array{kBirthday}, "FEMALE", 1e6, "1", 3, kNow, "Female", "1000000.00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.wantSpecies + "/" + c.wantSex);
        CAVImarkData data([] { return kNow; });
        ASSERT_TRUE(data.DecodeAnimal(Array{"Rex", c.species, "Lab", c.birthday, c.sex, c.weight, "lbs"}));
        EXPECT_EQ(data.name, "Rex");
        EXPECT_EQ(data.species, c.wantSpecies);
        EXPECT_EQ(data.speciesCode, c.wantCode);
        EXPECT_EQ(data.breed, "Lab");
        EXPECT_EQ(data.birthDate, c.wantBirthday);
        EXPECT_EQ(data.birthDateText, c.wantBirthday.Format("%m/%d/%Y"));
        EXPECT_EQ(data.sex, c.wantSex);
        EXPECT_EQ(data.weight, c.wantWeight);
        EXPECT_EQ(data.weightUnit, "lbs");
    }
    CAVImarkData data;
    EXPECT_FALSE(data.DecodeAnimal(Array{}));
    EXPECT_FALSE(data.DecodeClient(Array{"Anna"}));
    EXPECT_TRUE(data.DecodeClient(Array{"Anna", int32_t(5)}));
    EXPECT_EQ(data.clientLastName, "5");
}

TEST(AVImark, IsFoundByEitherProgramNameAndNotAfterItEnded)
{
    using namespace std::string_literals;
    EXPECT_EQ(CommandBaseName("C:\\Program Files\\AVImark\\AviMark.exe\0/S"s), "AviMark.exe");
    EXPECT_EQ(CommandBaseName("/usr/bin/avimark.exe"), "avimark.exe");
    EXPECT_TRUE(CAVImarkData::IsAVImarkRunning(CFixedProcessList({{3, "AVIMARK.EXE", ""}})));
    EXPECT_FALSE(CAVImarkData::IsAVImarkRunning(CFixedProcessList({{3, "AviMark", "AviMark.exe.bak"}})));

    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("quorin-avimark-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const std::filesystem::path program = folder / "AviMark.exe";
    std::filesystem::create_symlink("/bin/sh", program);
    // The spawn may return before the kernel has renamed the child, so the
    // child says when it runs, then waits for its input to close.
    int toChild[2];
    int fromChild[2];
    ASSERT_EQ(pipe(toChild), 0);
    ASSERT_EQ(pipe(fromChild), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, toChild[0], 0);
    posix_spawn_file_actions_adddup2(&actions, fromChild[1], 1);
    posix_spawn_file_actions_addclose(&actions, toChild[1]);
    posix_spawn_file_actions_addclose(&actions, fromChild[0]);
    char script[] = "echo running; read line";
    char option[] = "-c";
    char* const argv[] = {const_cast<char*>(program.c_str()), option, script, nullptr};
    pid_t child = 0;
    ASSERT_EQ(posix_spawn(&child, program.c_str(), &actions, nullptr, argv, environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    close(toChild[0]);
    close(fromChild[1]);
    pollfd ready{fromChild[0], POLLIN, 0};
    ASSERT_EQ(poll(&ready, 1, 10000), 1);
    EXPECT_TRUE(CAVImarkData::IsAVImarkRunning());
    close(toChild[1]);
    int status = 0;
    EXPECT_EQ(waitpid(child, &status, 0), child);
    close(fromChild[0]);
    EXPECT_FALSE(CAVImarkData::IsAVImarkRunning());
    std::filesystem::remove_all(folder);
}

}  // namespace
