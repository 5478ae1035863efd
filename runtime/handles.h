#pragma once
// Owning wrappers for the GDI and USER handles the forms create.

#include <windows.h>

#include <utility>

namespace rt {

template <typename Handle, typename Traits>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle h) : h_(h) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : h_(std::exchange(other.h_, Handle{})) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(std::exchange(other.h_, Handle{}));
        return *this;
    }
    ~UniqueHandle() { reset(); }

    Handle get() const { return h_; }
    explicit operator bool() const { return h_ != Handle{}; }
    Handle release() { return std::exchange(h_, Handle{}); }
    void reset(Handle h = Handle{}) {
        if (h_ != Handle{}) Traits::close(h_);
        h_ = h;
    }

private:
    Handle h_{};
};

struct GdiObjectTraits {
    static void close(HGDIOBJ h) { DeleteObject(h); }
};
struct WindowTraits {
    static void close(HWND h) {
        if (IsWindow(h)) DestroyWindow(h);
    }
};

using FontHandle = UniqueHandle<HFONT, GdiObjectTraits>;
using BitmapHandle = UniqueHandle<HBITMAP, GdiObjectTraits>;
using WindowHandle = UniqueHandle<HWND, WindowTraits>;

} // namespace rt
