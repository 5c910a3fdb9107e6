// Hashed maps of the class library: pointer, word and text keys to pointer values.
#pragma once

#include "classlib/cstring.h"
#include "classlib/exceptions.h"
#include "classlib/object.h"

#include <functional>
#include <new>
#include <unordered_map>

// A map walked with POSITION values in no particular order; removing the entry just returned by
// GetNextAssoc keeps the walk valid.
template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE, class HASH = std::hash<KEY>>
class CMapBase : public CObject {
    using Map = std::unordered_map<KEY, VALUE, HASH>;

public:
    explicit CMapBase(INT_PTR nBlockSize = 10) { (void)nBlockSize; }

    INT_PTR GetCount() const { return static_cast<INT_PTR>(map_.size()); }
    INT_PTR GetSize() const { return GetCount(); }
    BOOL IsEmpty() const { return map_.empty(); }

    BOOL Lookup(ARG_KEY key, VALUE& rValue) const {
        auto it = map_.find(KEY(key));
        if (it == map_.end()) {
            return FALSE;
        }
        rValue = it->second;
        return TRUE;
    }
    // The value slot of the key, added (value-initialised) when absent.
    VALUE& operator[](ARG_KEY key) {
        try {
            return map_[KEY(key)];
        } catch (const std::bad_alloc&) {
            AfxThrowMemoryException();
        }
    }
    void SetAt(ARG_KEY key, ARG_VALUE newValue) { (*this)[key] = newValue; }
    BOOL RemoveKey(ARG_KEY key) { return map_.erase(KEY(key)) != 0; }
    void RemoveAll() { map_.clear(); }

    POSITION GetStartPosition() const { return map_.empty() ? nullptr : ToPos(&*map_.begin()); }
    void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const {
        const auto* entry = reinterpret_cast<const typename Map::value_type*>(rNextPosition);
        rKey = entry->first;
        rValue = entry->second;
        auto it = map_.find(entry->first);
        ++it;
        rNextPosition = it == map_.end() ? nullptr : ToPos(&*it);
    }

    UINT GetHashTableSize() const { return static_cast<UINT>(map_.bucket_count()); }
    void InitHashTable(UINT hashSize, BOOL bAllocNow = TRUE) {
        (void)bAllocNow;
        map_.rehash(hashSize);
    }

private:
    static POSITION ToPos(const typename Map::value_type* entry) {
        return reinterpret_cast<POSITION>(const_cast<typename Map::value_type*>(entry));
    }

    Map map_;
};

struct CStringHash {
    size_t operator()(const CString& s) const { return std::hash<std::string>()(s.str()); }
};

class CMapPtrToPtr : public CMapBase<void*, void*, void*, void*> {
    DECLARE_DYNAMIC(CMapPtrToPtr)
public:
    explicit CMapPtrToPtr(INT_PTR nBlockSize = 10) : CMapBase(nBlockSize) {}
};

class CMapWordToPtr : public CMapBase<WORD, WORD, void*, void*> {
    DECLARE_DYNAMIC(CMapWordToPtr)
public:
    explicit CMapWordToPtr(INT_PTR nBlockSize = 10) : CMapBase(nBlockSize) {}
};

class CMapStringToPtr : public CMapBase<CString, LPCTSTR, void*, void*, CStringHash> {
    DECLARE_DYNAMIC(CMapStringToPtr)
public:
    explicit CMapStringToPtr(INT_PTR nBlockSize = 10) : CMapBase(nBlockSize) {}
};
