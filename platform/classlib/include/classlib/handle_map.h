// Maps from Win32 handles to the library's objects: permanent entries for attached objects and
// temporary objects made on demand for handles nobody attached, deleted at idle time.
#pragma once

#include <memory>
#include <unordered_map>

// Member: the handle field of T (declared in T or one of its bases, Owner).
template <class T, class H, class Owner, H Owner::*Member>
class CHandleMap {
public:
    CHandleMap() = default;
    CHandleMap(const CHandleMap&) = delete;
    CHandleMap& operator=(const CHandleMap&) = delete;
    ~CHandleMap() { DeleteTemp(); }

    T* LookupPermanent(H h) const {
        auto it = permanent_.find(h);
        return it != permanent_.end() ? it->second : nullptr;
    }
    T* LookupTemporary(H h) const {
        auto it = temporary_.find(h);
        return it != temporary_.end() ? it->second.get() : nullptr;
    }
    // The attached object, else a temporary one made (once) for the handle.
    T* FromHandle(H h) {
        if (h == nullptr) {
            return nullptr;
        }
        if (T* p = LookupPermanent(h)) {
            return p;
        }
        if (T* p = LookupTemporary(h)) {
            return p;
        }
        auto made = std::make_unique<T>();
        made.get()->*Member = h;
        T* p = made.get();
        temporary_.emplace(h, std::move(made));
        return p;
    }
    void SetPermanent(H h, T* p) { permanent_[h] = p; }
    void RemoveHandle(H h) { permanent_.erase(h); }
    // Temporary objects give their handle back before they go, so that nothing is destroyed.
    void DeleteTemp() {
        for (auto& entry : temporary_) {
            entry.second.get()->*Member = nullptr;
        }
        temporary_.clear();
    }
    size_t TemporaryCount() const { return temporary_.size(); }

private:
    std::unordered_map<H, T*> permanent_;
    std::unordered_map<H, std::unique_ptr<T>> temporary_;
};
