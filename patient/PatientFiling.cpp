#include "patient/PatientFiling.h"

#include "patient/PatientRules.h"

void TakeAVImarkPatient(const CAVImarkData& data, PatientData& patient)
{
    CPatientInfo& info = patient.info;
    info.name = data.name;
    info.species = data.species;
    info.speciesCode = data.speciesCode;
    info.breed = data.breed;
    info.birthDateText = data.birthDateText;
    info.weight = data.weight;
    info.weightUnit = data.weightUnit;
    info.sex = data.sex;
    info.clientFirstName = data.clientFirstName;
    info.clientLastName = data.clientLastName;
    patient.birthDate = data.birthDate;
}

void FillDialogMembers(PatientDialogMembers& members, const PatientData& patient, int32_t defaultWtUnit)
{
    const CPatientInfo& info = patient.info;
    members.name = info.name;
    members.clientFirstName = info.clientFirstName;
    members.clientLastName = info.clientLastName;
    members.birthDateText = info.birthDateText;
    members.birthDate = patient.birthDate;
    members.speciesCode = info.speciesCode;
    members.species = SpeciesTextFromCode(info.speciesCode, info.species);
    members.weight = info.weight;
    members.weightUnit = info.weightUnit.empty() ? DefaultWeightUnit(defaultWtUnit) : info.weightUnit;
    members.breed = info.breed;
    members.sex = info.sex;
}

FiledFlags FileDialogMembers(const PatientDialogMembers& members, bool filledByAVImark, PatientData& patient)
{
    CPatientInfo& info = patient.info;
    FiledFlags run;
    run.nameEntered = filledByAVImark || members.name != info.name;
    run.birthDateEntered = filledByAVImark || members.birthDate != patient.birthDate || members.birthDateTouched;

    info.birthDateText = members.birthDateText;
    info.name = members.name;
    info.clientFirstName = members.clientFirstName;
    info.clientLastName = members.clientLastName;
    info.weight = members.weight;
    info.weightUnit = members.weightUnit;
    info.breed = members.breed;
    info.sex = members.sex;
    info.breedNumber = members.breedNumber;
    patient.birthDate = members.birthDate;
    patient.breedChosen = patient.breedChosen || members.breedTouched;
    info.speciesCode = SpeciesCodeFromText(members.species);
    info.species = members.species;

    patient.nameEntered = patient.nameEntered || run.nameEntered;
    patient.birthDateEntered = patient.birthDateEntered || run.birthDateEntered;
    return run;
}
