#pragma once
#include <cstdint>
#include <string>

// Names the calling thread as a debugger and `top -H` show it. Linux keeps
// 15 bytes of a thread name; the rest is cut. The process's main thread is
// left alone, so the process keeps its own name in `ps`.
void SetThreadName(const char* name);

// The calling thread's name as the system holds it (empty when unknown).
std::string GetThreadName();

// Milliseconds since an arbitrary start, monotonic, wrapping at 2^32 like the
// platform tick count; compare ticks by unsigned difference.
uint32_t GetTickCount();

// Small numeric ids for log lines.
uint32_t CurrentProcessId();
uint32_t CurrentThreadId();

