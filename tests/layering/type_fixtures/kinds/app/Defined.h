#pragma once
// One of each kind of definition; view/Again.h defines the same names.
#include <cstdint>

namespace quorin {
enum class Mode : uint8_t { kOff, kOn };
}  // namespace quorin

template <typename T>
class Holder final : public Base<T> {
public:
    struct Inner {  // inside a class: not at namespace scope
        int x;
    };
    T value;
};

using Callback = void (*)(int);
typedef int Counts[4];

/* struct InComment { }; */
inline const char* kText = "struct InString { };";

typedef struct Tagged {
    int a;
} Tagged;
