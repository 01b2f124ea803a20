#pragma once
// Type records made by hand, as the loader makes them, and values of them that finalize themselves.

#include <memory>
#include <vector>

#include "script/runtime/value_ops.h"

namespace tv::script::test {

struct Types {
    std::vector<std::unique_ptr<TPSTypeRec>> owned;

    template <class T = TPSTypeRec>
    T* Make(uint8_t code) {
        auto t = std::make_unique<T>(nullptr, code);
        T* raw = t.get();
        owned.push_back(std::move(t));
        return raw;
    }
    TPSTypeRec* Plain(uint8_t code) {
        TPSTypeRec* t = Make(code);
        t->CalcSize();
        return t;
    }
    TPSTypeRec_Record* Record(std::vector<TPSTypeRec*> fields) {
        auto* r = Make<TPSTypeRec_Record>(btRecord);
        r->FFieldTypes = std::move(fields);
        r->CalcSize();
        return r;
    }
    TPSTypeRec_Array* Array(TPSTypeRec* elem) {
        auto* a = Make<TPSTypeRec_Array>(btArray);
        a->FArrayType = elem;
        a->CalcSize();
        return a;
    }
    TPSTypeRec_StaticArray* StaticArray(TPSTypeRec* elem, uint32_t n) {
        auto* a = Make<TPSTypeRec_StaticArray>(btStaticArray);
        a->FArrayType = elem;
        a->FSize = n;
        a->CalcSize();
        return a;
    }
    TPSTypeRec_Set* Set(uint32_t bits) {
        auto* s = Make<TPSTypeRec_Set>(btSet);
        s->FBitSize = bits;
        s->CalcSize();
        return s;
    }
};

// A value of a type, initialized, finalized when it goes.
class Value {
public:
    explicit Value(const TPSTypeRec* t) : fType(t), fData(t->FRealSize + 8) { InitializeValue(Data(), t); }
    ~Value() { FinalizeValue(Data(), fType); }
    Value(const Value&) = delete;
    Value& operator=(const Value&) = delete;
    void* Data() { return fData.data(); }
    const TPSTypeRec* Type() const { return fType; }

private:
    const TPSTypeRec* fType;
    std::vector<char> fData;
};

}  // namespace tv::script::test
