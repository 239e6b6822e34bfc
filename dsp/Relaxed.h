#pragma once

#include <atomic>

namespace qv {

// A setting that one thread stores and another reads without ordering: a host's automation
// thread sets a unit's coefficients while its audio thread processes. Each load and store is a
// relaxed atomic, so a reader sees either the old or the new value of each member, never a torn
// one, and the race is declared rather than undefined. It costs a plain move on x86; a loop
// that reads a setting many times loads it into a local once per run of samples.
//
// Copying copies the value (units that hold settings stay copyable). Any thread.
template <typename T> class Relaxed {
public:
    static_assert(std::atomic<T>::is_always_lock_free, "a setting must never take a lock");

    constexpr Relaxed() noexcept : value_(T()) {}
    constexpr Relaxed(T value) noexcept : value_(value) {}
    Relaxed(const Relaxed& other) noexcept : value_(other.load()) {}
    Relaxed& operator=(const Relaxed& other) noexcept {
        store(other.load());
        return *this;
    }
    Relaxed& operator=(T value) noexcept {
        store(value);
        return *this;
    }

    T load() const noexcept { return value_.load(std::memory_order_relaxed); }
    void store(T value) noexcept { value_.store(value, std::memory_order_relaxed); }
    operator T() const noexcept { return load(); }

private:
    std::atomic<T> value_; // the setting
};

} // namespace qv
