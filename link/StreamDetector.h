#pragma once
// Tells the remote's stream kinds apart from their first bytes: a Moval's
// text prompt, and then the framed id-tagged containers (0xAA 0x00 0x00)
// or the legacy Tarvik packets (0xAA and anything else).
#include <cstddef>
#include <cstdint>

enum StreamProtocol : int {
    kStreamUnknown = 0,
    kStreamLegacy = 1,     // Tarvik packets or Moval text
    kStreamContainers = 2, // id-tagged containers
};

// Every byte one of CR, LF, 'v', '>', '?' and space (an empty buffer is no
// prompt).
bool IsMovalPrompt(const uint8_t* data, std::size_t length);

struct StreamDetector {
    bool synchronised = false;
    bool collecting = false;
    uint8_t count = 0;
    uint8_t collected[3] = {'Z', 'Z', 'Z'};

    void Reset() { *this = StreamDetector {}; }
    // Runs over one buffer until the kind is known: skips to a 0xAA,
    // collects it and the next two bytes (across buffers; a new 0xAA while
    // collecting starts again). Returns the protocol once decided (and from
    // then on), else kStreamUnknown.
    int Feed(const uint8_t* data, std::size_t length);

private:
    int m_protocol = kStreamUnknown;
};
