#include "link/StreamDetector.h"

bool IsMovalPrompt(const uint8_t* data, std::size_t length)
{
    if (data == nullptr || length == 0)
        return false;
    for (std::size_t i = 0; i < length; ++i) {
        switch (data[i]) {
        case '\n':
        case '\r':
        case 'v':
        case '>':
        case '?':
        case ' ':
            break;
        default:
            return false;
        }
    }
    return true;
}

int StreamDetector::Feed(const uint8_t* data, std::size_t length)
{
    for (std::size_t i = 0; i < length && !synchronised; ++i) {
        const uint8_t b = data[i];
        if (b == 0xAA) {
            collecting = true;
            collected[0] = b;
            count = 1;
        } else if (collecting) {
            collected[count++] = b;
        }
        if (count == 3) {
            m_protocol = collected[1] == 0x00 && collected[2] == 0x00 ? kStreamContainers : kStreamLegacy;
            synchronised = true;
            collecting = false;
        }
    }
    return m_protocol;
}
