#pragma once
// One owner per COM interface pointer, and COM set up on the calling thread
// only when something needs it (the "--run" launcher never does).

#include <objbase.h>
#include <ole2.h>
#include <shlobj.h>

#include <utility>

#include "base/Unique.h"

namespace mivra::win {

template <typename T>
class ComPtr {
public:
    ComPtr() noexcept = default;
    ~ComPtr() { reset(); }

    ComPtr(ComPtr&& other) noexcept : p_(other.release()) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            reset();
            p_ = other.release();
        }
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    T* get() const noexcept { return p_; }
    T* operator->() const noexcept { return p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }

    T* release() noexcept { return std::exchange(p_, nullptr); }
    void reset() noexcept {
        if (T* old = std::exchange(p_, nullptr)) old->Release();
    }

    // For out-parameters: releases the current pointer first.
    T** put() noexcept {
        reset();
        return &p_;
    }

    template <typename U>
    ComPtr<U> As() const noexcept {
        ComPtr<U> other;
        if (p_) p_->QueryInterface(__uuidof(U), reinterpret_cast<void**>(other.put()));
        return other;
    }

private:
    T* p_ = nullptr;
};

// Initialises COM (single-threaded apartment) the first time it is asked on
// a thread and keeps it for the thread's life: the panel has one UI thread,
// and undoing it while shell objects may still be cached is unsafe. True when
// COM can be used on this thread.
inline bool EnsureComOnThisThread() noexcept {
    thread_local const bool ready = [] {
        const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
        // Someone already chose a multi-threaded apartment here: COM still works.
        return SUCCEEDED(hr) || hr == RPC_E_CHANGED_MODE;
    }();
    return ready;
}

// OLE on top of COM, kept for the thread's life like COM itself: the shell's
// Cut and Copy put their data on the clipboard through OLE, on the thread
// that invokes them.
inline bool EnsureOleOnThisThread() noexcept {
    thread_local const bool ready = SUCCEEDED(OleInitialize(nullptr));
    return ready;
}

// A shell item id list, freed with the COM task allocator that made it.
struct IdListTraits {
    using Type = PIDLIST_ABSOLUTE;
    static Type Invalid() { return nullptr; }
    static void Close(Type p) { CoTaskMemFree(p); }
};
using UniqueIdList = Unique<IdListTraits>;

// The id list of a special folder (CSIDL_DRIVES, ...); empty on failure.
inline UniqueIdList SpecialFolderIdList(int csidl) {
    UniqueIdList folder;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, folder.put()))) folder.reset();
    return folder;
}

}  // namespace mivra::win
