#pragma once
// The practice program's current patient. AVImark is reached through its
// own automation objects, which only its Windows installation provides; on
// this platform the stand-in answers that it is not running.
#include <cstdint>
#include <string>

#include "platform/OleDate.h"

class CAVImarkData {
public:
    virtual ~CAVImarkData() = default;

    std::string name;
    std::string species;
    int32_t speciesCode = 0;
    std::string breed;
    std::string birthDateText;
    COleDate birthDate;
    std::string weight;
    std::string weightUnit;
    std::string sex;
    std::string clientFirstName;
    std::string clientLastName;
};

class IAVImark {
public:
    virtual ~IAVImark() = default;
    // 0: `data` is filled; 1: AVImark is not running; 2: another failure.
    // A failure inside the exchange may also be thrown (std::exception).
    virtual int ReadCurrentPatient(CAVImarkData& data) = 0;
};

class CAVImarkStandIn final : public IAVImark {
public:
    int ReadCurrentPatient(CAVImarkData&) override { return 1; }
};
