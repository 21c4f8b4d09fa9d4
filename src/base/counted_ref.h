// A shared reference to an immutable object that carries its own count.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <utility>

namespace morvel {

// Like std::shared_ptr<const T>, but the handle is one pointer and the count
// lives beside the object in one allocation: the model keeps hundreds of
// thousands of such handles (texts and location paths of periods), and half
// their size is memory a large employer's run does not have to clear. The
// object never changes once made, so copies may be made and dropped from
// several threads at once.
template <class T>
class TCountedRef {
 public:
  TCountedRef() noexcept = default;
  template <class... TArgs>
  static TCountedRef Make(TArgs&&... args) {
    TCountedRef ref;
    ref.fBox = std::make_unique<TBox>(std::forward<TArgs>(args)...).release();
    return ref;
  }

  TCountedRef(const TCountedRef& other) noexcept : fBox(other.fBox) {
    if (fBox != nullptr) fBox->refs.fetch_add(1, std::memory_order_relaxed);
  }
  TCountedRef(TCountedRef&& other) noexcept : fBox(std::exchange(other.fBox, nullptr)) {}
  TCountedRef& operator=(const TCountedRef& other) noexcept {
    TCountedRef(other).swap(*this);
    return *this;
  }
  TCountedRef& operator=(TCountedRef&& other) noexcept {
    TCountedRef(std::move(other)).swap(*this);
    return *this;
  }
  ~TCountedRef() {
    // The last holder frees; acquire-release so that every holder's reads of
    // the object happen before it goes.
    if (fBox != nullptr && fBox->refs.fetch_sub(1, std::memory_order_acq_rel) == 1) std::unique_ptr<TBox> last(fBox);
  }

  void swap(TCountedRef& other) noexcept { std::swap(fBox, other.fBox); }

  const T* get() const noexcept { return fBox != nullptr ? &fBox->value : nullptr; }
  const T& operator*() const noexcept { return fBox->value; }
  const T* operator->() const noexcept { return &fBox->value; }
  explicit operator bool() const noexcept { return fBox != nullptr; }
  friend bool operator==(const TCountedRef& a, const TCountedRef& b) noexcept { return a.fBox == b.fBox; }

 private:
  struct TBox {
    template <class... TArgs>
    explicit TBox(TArgs&&... args) : value(std::forward<TArgs>(args)...) {}
    const T value;
    std::atomic<std::uint32_t> refs{1};
  };

  TBox* fBox = nullptr;
};

}  // namespace morvel
