#pragma once
// Reads what the PC sends to a remote: framed containers (0xC0 ... 0xC1,
// byte-stuffed) and plain text between them. Written from the wire format,
// independently of the sending code.
#include <cstdint>
#include <string>
#include <vector>

struct OutSubMessage {
    uint16_t id = 0;
    uint16_t length = 0;
    uint32_t sequence = 0;
    uint32_t sum = 0;
    bool sumOk = false;
    std::vector<uint8_t> data;
};

struct OutFrame {
    bool wellFormed = false;  // trailer 00 00 C1, header and payload consistent
    bool payloadSumOk = false;
    uint16_t count = 0;
    uint16_t payloadLength = 0;
    uint32_t sequence = 0;
    uint32_t payloadSum = 0;
    std::vector<OutSubMessage> subMessages;
    std::vector<uint8_t> container;  // unstuffed
};

struct OutStream {
    std::vector<OutFrame> frames;
    std::string plain;           // every byte outside frames, in order
    bool unterminated = false;   // a frame began but never ended
};

OutStream ParseOutgoing(const std::vector<uint8_t>& bytes);

// The text of one 0x8010 sub-message (its length word, then the text).
std::string TextOfLine(const OutSubMessage& sub);
