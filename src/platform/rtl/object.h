#pragma once
// The root of the class library. Every object knows its class information (name, parent, published
// properties) and is listed as live from construction to destruction, so that references a script
// holds can be checked before they are used (object_handles.h).

#include <cstdint>
#include <string>

namespace tv {

class TClassInfo;

// Declares the class information of a class derived from TObject, with `inherited` naming its parent.
// The information itself is defined once in the class's source file (class_info.h).
#define TV_CLASS(Class, Parent)                          \
public:                                                  \
    using inherited = Parent;                            \
    static const ::tv::TClassInfo& StaticClassInfo();    \
    const ::tv::TClassInfo& ClassInfo() const override { \
        return StaticClassInfo();                        \
    }                                                    \
                                                         \
private:

class TObject {
public:
    TObject();
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject();

    static const TClassInfo& StaticClassInfo();
    virtual const TClassInfo& ClassInfo() const { return StaticClassInfo(); }

    const std::string& ClassName() const;
    bool InheritsFrom(const TClassInfo& cls) const;

private:
    friend class TObjectHandles;
    int32_t fHandle = 0;  // the integer that stands for this object, once one was asked for
};

// Frees an object; nil is ignored.
inline void Free(TObject* obj) {
    delete obj;
}

template <class T>
void FreeAndNil(T*& obj) {
    T* o = obj;
    obj = nullptr;
    delete o;
}

}  // namespace tv
