#pragma once
// The patient record into the dialog's members and back, as the view's
// patient filing does it around the dialog.
#include <cstdint>

#include "patient/AVImark.h"
#include "patient/PatientForm.h"
#include "patient/PatientInfo.h"

// The record as AVImark gave it: every field it reads and the birth date.
void TakeAVImarkPatient(const CAVImarkData& data, PatientData& patient);

// The dialog's members from the record; a record without a unit takes the
// default of "DefaultWtUnit".
void FillDialogMembers(PatientDialogMembers& members, const PatientData& patient, int32_t defaultWtUnit);

// What OK files: the members into the record, the species code from the
// species text, the chosen breed and the run's entered flags added to the
// record's. The patient ID is left to the caller.
struct FiledFlags {
    bool nameEntered = false;
    bool birthDateEntered = false;
};
FiledFlags FileDialogMembers(const PatientDialogMembers& members, bool filledByAVImark, PatientData& patient);
