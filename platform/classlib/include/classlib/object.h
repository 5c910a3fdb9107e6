// The root class CObject and run-time class information: kind tests and creation by class name.
#pragma once

#include "classlib/types.h"

class CArchive;
class CObject;

// One per class that declares run-time information; classes with dynamic creation can be built
// from the record alone or from their name.
struct CRuntimeClass {
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;
    CObject* (*m_pfnCreateObject)();
    CRuntimeClass* m_pBaseClass;
    CRuntimeClass* m_pNextClass;  // chain of registered classes, for lookups by name

    // A new object of the class, or null when the class has no dynamic creation or memory ran
    // out.
    CObject* CreateObject() const;
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;

    static CRuntimeClass* FromName(LPCSTR lpszClassName);
    static CObject* CreateObject(LPCSTR lpszClassName);
};

// Registers a class record for lookups by name; one static instance per class.
struct AFX_CLASSINIT {
    explicit AFX_CLASSINIT(CRuntimeClass* pNewClass);
};

class CObject {
public:
    virtual CRuntimeClass* GetRuntimeClass() const;
    virtual ~CObject() = default;

    BOOL IsKindOf(const CRuntimeClass* pClass) const;
    // Stores the object into the archive or loads it from there; nothing by default.
    virtual void Serialize(CArchive& ar);

    static CRuntimeClass classCObject;
    static CRuntimeClass* GetThisClass() { return &classCObject; }

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)                                     \
public:                                                                 \
    static CRuntimeClass class##class_name;                             \
    static CRuntimeClass* GetThisClass() { return &class##class_name; } \
    CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
    DECLARE_DYNAMIC(class_name)       \
    static CObject* CreateObject();

#define CLASSLIB_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, pfnNew)                       \
    CRuntimeClass class_name::class##class_name = {                                                \
        #class_name, sizeof(class_name), 0xFFFF, pfnNew, RUNTIME_CLASS(base_class_name), nullptr}; \
    static const AFX_CLASSINIT _init_##class_name(&class_name::class##class_name);                 \
    CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
    CLASSLIB_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)           \
    CObject* class_name::CreateObject() { return new class_name; } \
    CLASSLIB_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, class_name::CreateObject)

// Checked downcast: null when the object is not of the class.
template <class T>
T* DynamicDownCast(CObject* p) {
    return p != nullptr && p->IsKindOf(T::GetThisClass()) ? static_cast<T*>(p) : nullptr;
}
#define DYNAMIC_DOWNCAST(class_name, object) (DynamicDownCast<class_name>(object))
#define STATIC_DOWNCAST(class_name, object) (static_cast<class_name*>(object))
