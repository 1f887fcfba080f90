#pragma once
// A value shared between threads without a lock. Every read and write is a
// whole relaxed atomic access (no data race), so a field behaves like the
// plain aligned field of the original design. Compound assignments are a
// read followed by a write: they are meant for the field's single writer.
#include <atomic>

template <class T>
class Relaxed {
public:
    constexpr Relaxed(T value = T{}) noexcept : m_value(value) {}
    Relaxed(const Relaxed& other) noexcept : m_value(other.load()) {}
    Relaxed& operator=(const Relaxed& other) noexcept { store(other.load()); return *this; }
    Relaxed& operator=(T value) noexcept { store(value); return *this; }

    operator T() const noexcept { return load(); }
    T load() const noexcept { return m_value.load(std::memory_order_relaxed); }
    void store(T value) noexcept { m_value.store(value, std::memory_order_relaxed); }

    template <class U> Relaxed& operator|=(U v) noexcept { store(static_cast<T>(load() | v)); return *this; }
    template <class U> Relaxed& operator&=(U v) noexcept { store(static_cast<T>(load() & v)); return *this; }
    template <class U> Relaxed& operator^=(U v) noexcept { store(static_cast<T>(load() ^ v)); return *this; }
    template <class U> Relaxed& operator+=(U v) noexcept { store(static_cast<T>(load() + v)); return *this; }
    template <class U> Relaxed& operator-=(U v) noexcept { store(static_cast<T>(load() - v)); return *this; }
    Relaxed& operator++() noexcept { store(static_cast<T>(load() + 1)); return *this; }
    Relaxed& operator--() noexcept { store(static_cast<T>(load() - 1)); return *this; }
    T operator++(int) noexcept { T old = load(); store(static_cast<T>(old + 1)); return old; }
    T operator--(int) noexcept { T old = load(); store(static_cast<T>(old - 1)); return old; }

private:
    std::atomic<T> m_value;
};
