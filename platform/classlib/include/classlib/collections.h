// Arrays and lists of the class library: CArray and CList with the named pointer, number and
// text collections built on them. Memory exhaustion raises CMemoryException.
#pragma once

#include "classlib/cstring.h"
#include "classlib/exceptions.h"
#include "classlib/object.h"

#include <new>
#include <stdexcept>
#include <utility>
#include <vector>

// A growable array indexed from 0.
template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray : public CObject {
public:
    CArray() = default;

    INT_PTR GetSize() const { return static_cast<INT_PTR>(items_.size()); }
    INT_PTR GetCount() const { return GetSize(); }
    BOOL IsEmpty() const { return items_.empty(); }
    INT_PTR GetUpperBound() const { return GetSize() - 1; }
    // nGrowBy is accepted for compatibility; growth is amortised by the vector.
    void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1) {
        (void)nGrowBy;
        Guard([&] { items_.resize(static_cast<size_t>(nNewSize)); });
    }
    void FreeExtra() { items_.shrink_to_fit(); }
    void RemoveAll() { items_.clear(); }

    const TYPE& GetAt(INT_PTR nIndex) const { return items_.at(static_cast<size_t>(nIndex)); }
    TYPE& GetAt(INT_PTR nIndex) { return items_.at(static_cast<size_t>(nIndex)); }
    void SetAt(INT_PTR nIndex, ARG_TYPE newElement) { GetAt(nIndex) = newElement; }
    TYPE& ElementAt(INT_PTR nIndex) { return GetAt(nIndex); }
    const TYPE* GetData() const { return items_.data(); }
    TYPE* GetData() { return items_.data(); }
    const TYPE& operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
    TYPE& operator[](INT_PTR nIndex) { return GetAt(nIndex); }

    // Grows the array (new elements value-initialised) when the index lies beyond its end.
    void SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement) {
        if (nIndex >= GetSize()) {
            SetSize(nIndex + 1);
        }
        GetAt(nIndex) = newElement;
    }
    INT_PTR Add(ARG_TYPE newElement) {
        Guard([&] { items_.push_back(newElement); });
        return GetUpperBound();
    }
    INT_PTR Append(const CArray& src) {
        INT_PTR first = GetSize();
        Guard([&] { items_.insert(items_.end(), src.items_.begin(), src.items_.end()); });
        return first;
    }
    void Copy(const CArray& src) {
        if (&src != this) {
            Guard([&] { items_ = src.items_; });
        }
    }
    // Inserting at or past the end grows the array to hold the new elements there.
    void InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount = 1) {
        Guard([&] {
            if (nIndex >= GetSize()) {
                items_.resize(static_cast<size_t>(nIndex));
            }
            items_.insert(items_.begin() + nIndex, static_cast<size_t>(nCount), newElement);
        });
    }
    void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1) {
        if (nIndex < 0 || nCount < 0 || nIndex + nCount > GetSize()) {
            throw std::out_of_range("CArray::RemoveAt");
        }
        items_.erase(items_.begin() + nIndex, items_.begin() + nIndex + nCount);
    }

private:
    template <class F>
    static void Guard(F&& f) {
        try {
            f();
        } catch (const std::bad_alloc&) {
            AfxThrowMemoryException();
        } catch (const std::length_error&) {
            AfxThrowMemoryException();
        }
    }

    std::vector<TYPE> items_;
};

// A doubly linked list walked with POSITION values; a position stays valid until its element is
// removed.
template <class TYPE, class ARG_TYPE = const TYPE&>
class CList : public CObject {
    struct Node {
        Node* next;
        Node* prev;
        TYPE data;
    };

public:
    explicit CList(INT_PTR nBlockSize = 10) { (void)nBlockSize; }
    ~CList() override { RemoveAll(); }
    CList(const CList&) = delete;
    CList& operator=(const CList&) = delete;

    INT_PTR GetCount() const { return count_; }
    INT_PTR GetSize() const { return count_; }
    BOOL IsEmpty() const { return count_ == 0; }

    TYPE& GetHead() { return Checked(head_)->data; }
    const TYPE& GetHead() const { return Checked(head_)->data; }
    TYPE& GetTail() { return Checked(tail_)->data; }
    const TYPE& GetTail() const { return Checked(tail_)->data; }

    TYPE RemoveHead() {
        Node* n = Checked(head_);
        TYPE value = std::move(n->data);
        Unlink(n);
        return value;
    }
    TYPE RemoveTail() {
        Node* n = Checked(tail_);
        TYPE value = std::move(n->data);
        Unlink(n);
        return value;
    }
    POSITION AddHead(ARG_TYPE newElement) { return InsertBefore(ToPos(head_), newElement); }
    POSITION AddTail(ARG_TYPE newElement) { return InsertAfter(ToPos(tail_), newElement); }
    void AddTail(const CList* pNewList) {
        for (Node* n = pNewList->head_; n != nullptr; n = n->next) {
            AddTail(n->data);
        }
    }
    void AddHead(const CList* pNewList) {
        for (Node* n = pNewList->tail_; n != nullptr; n = n->prev) {
            AddHead(n->data);
        }
    }
    void RemoveAll() {
        while (head_ != nullptr) {
            Unlink(head_);
        }
    }

    POSITION GetHeadPosition() const { return ToPos(head_); }
    POSITION GetTailPosition() const { return ToPos(tail_); }
    // The element at rPosition; rPosition moves on (null after the last element).
    TYPE& GetNext(POSITION& rPosition) {
        Node* n = Checked(FromPos(rPosition));
        rPosition = ToPos(n->next);
        return n->data;
    }
    const TYPE& GetNext(POSITION& rPosition) const {
        Node* n = Checked(FromPos(rPosition));
        rPosition = ToPos(n->next);
        return n->data;
    }
    TYPE& GetPrev(POSITION& rPosition) {
        Node* n = Checked(FromPos(rPosition));
        rPosition = ToPos(n->prev);
        return n->data;
    }
    const TYPE& GetPrev(POSITION& rPosition) const {
        Node* n = Checked(FromPos(rPosition));
        rPosition = ToPos(n->prev);
        return n->data;
    }
    TYPE& GetAt(POSITION position) { return Checked(FromPos(position))->data; }
    const TYPE& GetAt(POSITION position) const { return Checked(FromPos(position))->data; }
    void SetAt(POSITION pos, ARG_TYPE newElement) { Checked(FromPos(pos))->data = newElement; }
    void RemoveAt(POSITION position) { Unlink(Checked(FromPos(position))); }

    // A null position inserts at the head (before) or the tail (after).
    POSITION InsertBefore(POSITION position, ARG_TYPE newElement) {
        Node* at = FromPos(position);
        Node* n = NewNode(newElement);
        n->next = at != nullptr ? at : head_;
        n->prev = n->next != nullptr ? n->next->prev : nullptr;
        Link(n);
        return ToPos(n);
    }
    POSITION InsertAfter(POSITION position, ARG_TYPE newElement) {
        Node* at = FromPos(position);
        Node* n = NewNode(newElement);
        n->prev = at != nullptr ? at : tail_;
        n->next = n->prev != nullptr ? n->prev->next : nullptr;
        Link(n);
        return ToPos(n);
    }

    // First element equal to searchValue after startAfter (from the head when null); null when
    // there is none.
    POSITION Find(ARG_TYPE searchValue, POSITION startAfter = nullptr) const {
        Node* n = startAfter != nullptr ? FromPos(startAfter)->next : head_;
        for (; n != nullptr; n = n->next) {
            if (n->data == searchValue) {
                return ToPos(n);
            }
        }
        return nullptr;
    }
    POSITION FindIndex(INT_PTR nIndex) const {
        if (nIndex < 0 || nIndex >= count_) {
            return nullptr;
        }
        Node* n = head_;
        while (nIndex-- > 0) {
            n = n->next;
        }
        return ToPos(n);
    }

private:
    static POSITION ToPos(Node* n) { return reinterpret_cast<POSITION>(n); }
    static Node* FromPos(POSITION p) { return reinterpret_cast<Node*>(p); }
    static Node* Checked(Node* n) {
        if (n == nullptr) {
            throw std::out_of_range("CList: no element at this position");
        }
        return n;
    }
    static Node* NewNode(ARG_TYPE value) {
        try {
            return new Node{nullptr, nullptr, value};
        } catch (const std::bad_alloc&) {
            AfxThrowMemoryException();
        }
    }
    // n->prev and n->next are set; splice n between them.
    void Link(Node* n) {
        (n->prev != nullptr ? n->prev->next : head_) = n;
        (n->next != nullptr ? n->next->prev : tail_) = n;
        ++count_;
    }
    void Unlink(Node* n) {
        (n->prev != nullptr ? n->prev->next : head_) = n->next;
        (n->next != nullptr ? n->next->prev : tail_) = n->prev;
        --count_;
        delete n;
    }

    Node* head_ = nullptr;
    Node* tail_ = nullptr;
    INT_PTR count_ = 0;
};

class CPtrArray : public CArray<void*, void*> {
    DECLARE_DYNAMIC(CPtrArray)
};

class CUIntArray : public CArray<UINT, UINT> {
    DECLARE_DYNAMIC(CUIntArray)
};

class CStringArray : public CArray<CString, LPCTSTR> {
    DECLARE_DYNAMIC(CStringArray)
};

class CPtrList : public CList<void*, void*> {
    DECLARE_DYNAMIC(CPtrList)
public:
    explicit CPtrList(INT_PTR nBlockSize = 10) : CList(nBlockSize) {}
};

class CObList : public CList<CObject*, CObject*> {
    DECLARE_DYNAMIC(CObList)
public:
    explicit CObList(INT_PTR nBlockSize = 10) : CList(nBlockSize) {}
};
