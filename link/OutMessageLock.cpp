#include "link/OutMessageLock.h"

std::mutex g_outMessageLock;
