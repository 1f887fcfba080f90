#pragma once
// The remote's state code turned into the status code the view shows
// (posted as kind 2); each model numbers its states its own way.
#include <cstdint>

// 0 when the model posts nothing for that state.
int RemoteStatusCode(int32_t deviceKind, uint32_t stateCode);
