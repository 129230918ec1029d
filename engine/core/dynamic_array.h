// The engine's growable array: room for 10 at first, 10 more at each growth, elements
// copied one by one. Indices are the caller's to keep below Size.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace quor {

// A zero-terminated name held by value in 32 characters.
struct SpriteName {
  char name[32] = {};
};

// One recorded frame of mouse movement.
struct MouseDelta {
  int32_t dx = 0;
  int32_t dy = 0;
};

template <typename T>
class DynamicArray {
 public:
  static constexpr uint32_t kGrowth = 10;

  DynamicArray() : capacity_(kGrowth), count_(0), data_(new T[kGrowth]()) {}
  DynamicArray(const DynamicArray& other) : capacity_(0), count_(0), data_(nullptr) {
    *this = other;
  }
  DynamicArray& operator=(const DynamicArray& other) {
    if (this == &other) return *this;
    // Never less room than the elements copied, whatever the other array's capacity says.
    const uint32_t capacity =
        std::max(other.capacity_ ? other.capacity_ : kGrowth, other.count_);
    T* block = new T[capacity]();
    for (uint32_t i = 0; i < other.count_; ++i) block[i] = other.data_[i];
    delete[] data_;
    data_ = block;
    capacity_ = capacity;
    count_ = other.count_;
    return *this;
  }
  ~DynamicArray() { delete[] data_; }

  void Add(const T& value) {
    if (count_ == capacity_) Grow(capacity_ + kGrowth);
    data_[count_] = value;
    ++count_;
  }
  T* At(uint32_t i) { return &data_[i]; }
  const T* At(uint32_t i) const { return &data_[i]; }
  T& operator[](uint32_t i) { return data_[i]; }
  const T& operator[](uint32_t i) const { return data_[i]; }
  uint32_t Size() const { return count_; }
  uint32_t Capacity() const { return capacity_; }
  void Clear() {
    T* block = new T[kGrowth]();
    delete[] data_;
    data_ = block;
    capacity_ = kGrowth;
    count_ = 0;
  }
  // Makes room for n elements at once, keeping those held; never shrinks.
  void Reserve(uint32_t n) {
    if (n > capacity_) Grow(n);
  }
  // Sets the capacity to n (n = 0 does nothing), keeping the first elements that fit.
  void SetCapacity(uint32_t n) {
    if (n == 0) return;
    uint32_t keep = count_ < n ? count_ : n;
    T* block = new T[n]();
    for (uint32_t i = 0; i < keep; ++i) block[i] = data_[i];
    delete[] data_;
    data_ = block;
    capacity_ = n;
    count_ = keep;
  }

 private:
  void Grow(uint32_t newCapacity) {
    T* block = new T[newCapacity]();
    for (uint32_t i = 0; i < count_; ++i) block[i] = data_[i];
    delete[] data_;
    data_ = block;
    capacity_ = newCapacity;
  }

  uint32_t capacity_;
  uint32_t count_;
  T* data_;
};

}  // namespace quor
