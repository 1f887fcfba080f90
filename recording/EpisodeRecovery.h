#pragma once
// Episodes the program could not finish (killed, a power cut, a disk that
// failed at the close) are finished at the next start from what reached
// the disk: the file's early header and samples, and the events of the
// journal beside it. The only place the program reads a recording file.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/OleDate.h"
#include "recording/QreFile.h"

struct RecoveredEpisode {
    std::string path;
    COleDate start;
    std::string text;  // the review list's line
    uint32_t samples = 0;
    uint32_t events = 0;
};

// The journal's record of how many sample periods the episode holds,
// written at the close and by a recovery before either touches the file.
// No event has code 0, so it cannot be taken for one.
QreEventRecord JournalEndMark(uint32_t sampleTicks);

// Finishes every interrupted episode of `folder`: each file whose journal
// is still beside it and not held by a running recorder. A finished file
// is left as it is (only a journal left over is removed). `log` gets a
// line naming each file recovered or left alone. Oldest first.
std::vector<RecoveredEpisode> RecoverInterruptedEpisodes(const std::string& folder,
                                                         const std::function<void(const std::string&)>& log);
