#pragma once
// A handle that closes itself: one owner, moved and never copied, so that no
// way out of a routine (a return, a throw) leaves it open.
#include <windows.h>

namespace tolvane {

struct KernelHandleCloser {
    static bool Close(HANDLE h) { return CloseHandle(h) != 0; }
};

struct FindHandleCloser {
    static bool Close(HANDLE h) { return FindClose(h) != 0; }
};

// Empty is either of the platform's two "no handle" values: null (threads,
// jobs, mutexes) or INVALID_HANDLE_VALUE (files, searches, snapshots).
template <class Closer>
class OwnedHandle {
public:
    OwnedHandle() = default;
    explicit OwnedHandle(HANDLE h) : h_(h) {}
    ~OwnedHandle() { Close(); }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    OwnedHandle(OwnedHandle&& other) noexcept : h_(other.Release()) {}
    OwnedHandle& operator=(OwnedHandle&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }

    HANDLE Get() const { return h_; }
    bool Valid() const { return h_ != nullptr && h_ != INVALID_HANDLE_VALUE; }

    // Closes the one held and takes the new one.
    void Reset(HANDLE h = nullptr) {
        Close();
        h_ = h;
    }

    // Gives the handle up without closing it.
    HANDLE Release() {
        HANDLE h = h_;
        h_ = nullptr;
        return h;
    }

    // False when the platform refused to close it (for a written file: its
    // last data may be lost), with the platform's last error left as it said.
    bool Close() {
        if (!Valid()) {
            h_ = nullptr;
            return true;
        }
        const bool closed = Closer::Close(h_);
        h_ = nullptr;
        return closed;
    }

private:
    HANDLE h_ = nullptr;
};

using Handle = OwnedHandle<KernelHandleCloser>;
using FindHandle = OwnedHandle<FindHandleCloser>;

}  // namespace tolvane
