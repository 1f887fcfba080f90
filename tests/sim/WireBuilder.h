#pragma once
// Encoders of every message the remote sends: the data of each id-tagged
// message, Tarvik classic and Plus packets and Moval packets, written from
// the wire tables (not from the decoders), so each side checks the other.
// Containers and byte stuffing come from sim/Framing.h.
#include <array>
#include <cstdint>
#include <string>

#include "sim/Framing.h"

// The status word of Tarvik packets, Selvo data and the device state:
// battery in bits 0-2, sequence in 8-13, ECG signal valid in 14, bit 25.
uint32_t RemoteStatusWord(unsigned battery, unsigned sequence, bool ecgValid, bool bit25 = false);

// ---- Data of the id-tagged messages ---------------------------------------

Bytes EncodeProduct(uint16_t productCode);
// Text messages: 4-byte head, text, one pad byte for an odd length.
Bytes EncodeTerminalOutput(const std::string& text, uint16_t firstWord = 0);
Bytes EncodeVersionInfo(const std::string& text);
Bytes EncodeDebugOutput(uint16_t kind, const std::string& text);

struct EcgZData {
    std::array<int16_t, 32> ecg{};
    std::array<uint16_t, 6> resp{};
};
Bytes EncodeEcgZData(const EcgZData& m);

struct SpO2Data {
    std::array<uint8_t, 6> pleth{};
    uint16_t spo2 = 0;
    uint16_t pulse = 0;
    uint16_t signal = 0;
};
Bytes EncodeSpO2Data(const SpO2Data& m);

// The 46-byte gas block: the CO2 message's data, and bytes 80..125 of a
// Tarvik Plus packet.
struct GasBlock {
    uint8_t respRate = 0;
    uint8_t status1 = 0;
    std::array<uint16_t, 6> co2{};
    uint8_t byte14 = 0;
    uint8_t byte15 = 0; // Tarvik Plus byte 95
    std::array<uint16_t, 6> o2{};
    uint8_t co2Ins = 0;
    uint8_t n2oIns = 0;
    uint8_t primaryIns = 0;
    uint8_t secondaryIns = 0;
    uint8_t o2Ins = 0;
    uint8_t co2Exp = 0;
    uint8_t n2oExp = 0;
    uint8_t primaryExp = 0;
    uint8_t secondaryExp = 0;
    uint8_t o2Exp = 0;
    uint8_t apnea = 0;
    uint8_t agentId = 0;
    uint16_t barometric = 0;
    uint8_t probe = 0;
    uint8_t status43 = 0;
    uint8_t status44 = 0;
    uint8_t agentsOffered = 0;
};
Bytes EncodeGasBlock(const GasBlock& m);

Bytes EncodeTempData(int16_t hundredthsF);

struct NibpData {
    uint16_t pulse = 0;
    uint16_t systolic = 0;
    uint16_t diastolic = 0;
    uint16_t mean = 0;
    std::array<int16_t, 6> cuff{};        // bytes 8..19
    std::array<int16_t, 6> oscillation{}; // bytes 20..31
};
Bytes EncodeNibpData(const NibpData& m);

struct DeviceStateData {
    uint16_t stateCode = 0;
    uint32_t status = 0;
    uint32_t extended = 4; // 4 Selvo, anything else Brindle
    uint16_t featureBits = 0;
    uint16_t word14 = 0;
};
Bytes EncodeDeviceState(const DeviceStateData& m);

struct SelvoData {
    std::array<int16_t, 32> ecg{};
    std::array<uint8_t, 6> pleth{};
    std::array<uint16_t, 6> resp{};
    int16_t temperature = 0; // hundredths of a degree F
    uint16_t stateCode = 0;
    uint32_t status = 0;
    uint16_t featureBits = 0;
};
Bytes EncodeSelvoData(const SelvoData& m);

// One stuffed container frame holding one message.
Bytes FrameMessage(uint16_t id, const Bytes& data, uint32_t sequence = 0);

// ---- Tarvik packets (length word and checksum filled; not stuffed) ---------

struct TarvikClassic {
    std::array<int16_t, 32> ecg{};
    std::array<uint8_t, 6> pleth{};
    std::array<uint16_t, 6> resp{};
    uint16_t spo2 = 0;
    uint16_t pulse = 0;
    uint16_t signal = 0;
    int16_t temperature = 0;
    uint16_t stateCode = 0;
    uint32_t status = 0;
    std::string text; // for the service terminal, after byte 108
};
Bytes EncodeTarvikClassic(const TarvikClassic& m);

struct TarvikPlus {
    std::array<int16_t, 32> ecg{};
    std::array<uint16_t, 6> resp{};
    GasBlock gas;
    uint16_t bpPulse = 0;
    uint16_t systolic = 0;
    uint16_t diastolic = 0;
    uint16_t mean = 0;
    std::array<uint8_t, 6> pleth{};
    uint16_t spo2 = 0;
    uint16_t pulse = 0;
    uint16_t signal = 0;
    int16_t temperature = 0;
    uint16_t stateCode = 0;
    uint32_t status = 0;
    uint16_t featureBits = 0;
    std::string text; // after byte 164
};
Bytes EncodeTarvikPlus(const TarvikPlus& m);

// ---- Moval packets (112 bytes, checksum filled) ----------------------------

// value x 4 plus two flag bits.
int16_t MovalWord(int16_t value, uint8_t flags);

struct MovalPacket {
    unsigned battery = 0;   // header bits 13-15
    unsigned stateCode = 0; // 19-24
    bool statusFlag = false; // 25
    unsigned sequence = 0;  // 26-31
    std::array<int16_t, 48> ecg{};
    std::array<uint8_t, 48> flags = Filled(1); // 0 means leads off for that sample
    uint16_t aux = 0;
    int16_t temperature = -1; // negative: none

    static std::array<uint8_t, 48> Filled(uint8_t value)
    {
        std::array<uint8_t, 48> a{};
        a.fill(value);
        return a;
    }
};
Bytes EncodeMovalPacket(const MovalPacket& m);
