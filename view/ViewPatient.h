#pragma once
// The fields of the patient record that the view shows (title, species,
// patient box). The full record and its dialog come with the patient work.
#include <cstdint>
#include <string>

struct ViewPatient {
    std::string name;         // shown in the window title
    std::string patientId;
    std::string species;      // "Canine", "Feline", "Equine", "Other" or the user's own
    int32_t speciesCode = 0;  // 0..3
    std::string breed;
    std::string breedNumber;
};
