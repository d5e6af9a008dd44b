// Sole owner of one system resource: a handle, a key, a lock, an open
// clipboard. The deleter names the value that means "nothing" and releases
// a real one; releasing never throws.
#pragma once

#include <utility>

namespace qs::win32 {

template <typename T, typename Deleter>
class unique_handle {
 public:
  unique_handle() noexcept = default;
  explicit unique_handle(T value) noexcept : value_(value) {}
  unique_handle(const unique_handle&) = delete;
  unique_handle& operator=(const unique_handle&) = delete;
  unique_handle(unique_handle&& other) noexcept : value_(other.release()) {}
  unique_handle& operator=(unique_handle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~unique_handle() { reset(); }

  T get() const noexcept { return value_; }
  explicit operator bool() const noexcept { return value_ != Deleter::invalid(); }

  // Gives up ownership without releasing.
  T release() noexcept { return std::exchange(value_, Deleter::invalid()); }

  void reset(T value = Deleter::invalid()) noexcept {
    T old = std::exchange(value_, value);
    if (old != Deleter::invalid()) Deleter::close(old);
  }

  // For out-parameters: releases the current value and lends the slot.
  T* put() noexcept {
    reset();
    return &value_;
  }

 private:
  T value_ = Deleter::invalid();
};

}  // namespace qs::win32
