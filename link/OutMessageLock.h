#pragma once
#include <mutex>

// Serialises the building and sending of framed outgoing messages, process-wide.
extern std::mutex g_outMessageLock;
