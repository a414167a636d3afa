// Move-only owners for the few kinds of Win32 handle the program holds.
#pragma once

#include <windows.h>

template <typename T, auto Close>
class Owned {
public:
    Owned() = default;
    explicit Owned(T h) : h_(h) {}
    Owned(Owned&& o) noexcept : h_(o.Release()) {}
    Owned& operator=(Owned&& o) noexcept {
        Reset(o.Release());
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    ~Owned() { Reset(); }

    T Get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }
    T Release() {
        T h = h_;
        h_ = nullptr;
        return h;
    }
    void Reset(T h = nullptr) {
        if (h_) Close(h_);
        h_ = h;
    }

private:
    T h_ = nullptr;
};

using OwnedHandle = Owned<HANDLE, &::CloseHandle>;
using OwnedIcon = Owned<HICON, &::DestroyIcon>;
