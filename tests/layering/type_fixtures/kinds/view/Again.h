#pragma once
#include "app/Defined.h"

namespace quorin {
enum class Mode : uint8_t { kA, kB };
namespace other {
struct Holder { };  // quorin::other::Holder: another name
}
}  // namespace quorin

template <typename T>
struct Holder {
    T other;
};
template <>
struct Holder<int> { };  // a specialisation: no new name

using Callback = void (*)(int, int);
typedef long Counts[4];

struct Forward;  // a declaration only
class Inner { };
