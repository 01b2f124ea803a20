#pragma once
// Reference-counted, copy-on-write strings as the script engine and variants hold them: one pointer
// per value (nil is the empty string), assignment shares the characters, and a write first makes
// the characters unique. AnsiString holds Windows-1252 bytes, UnicodeString UTF-16 code units; both
// keep a terminating zero after the characters. Counts are not atomic: a string and its copies
// belong to one thread.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <new>
#include <string>
#include <string_view>

namespace tv {

template <class Ch>
class RefString {
public:
    using View = std::basic_string_view<Ch>;

    RefString() = default;
    RefString(View text) { Assign(text); }  // NOLINT: strings convert from views freely
    explicit RefString(const Ch* text) : RefString(View(text)) {}
    RefString(const RefString& other) : fData(other.fData) { AddRef(); }
    RefString(RefString&& other) noexcept : fData(other.fData) { other.fData = nullptr; }
    ~RefString() { Release(); }
    RefString& operator=(const RefString& other) {
        if (fData != other.fData) {
            other.AddRef();
            Release();
            fData = other.fData;
        }
        return *this;
    }
    RefString& operator=(RefString&& other) noexcept {
        if (this != &other) {
            Release();
            fData = other.fData;
            other.fData = nullptr;
        }
        return *this;
    }

    int32_t size() const { return fData ? Head()->length : 0; }
    bool empty() const { return fData == nullptr; }
    const Ch* data() const { return fData ? fData : EmptyText(); }
    // Zero-terminated characters.
    const Ch* c_str() const { return data(); }
    View view() const { return View(data(), static_cast<size_t>(size())); }
    operator View() const { return view(); }  // NOLINT
    Ch operator[](int32_t i) const { return fData[i]; }

    // The number of values sharing the characters; 0 for the empty string.
    int32_t RefCount() const { return fData ? Head()->refs : 0; }
    // True when both values share the same characters (or both are empty).
    bool SameReference(const RefString& other) const { return fData == other.fData; }

    // Writable characters of this value alone (copied first when shared).
    Ch* UniqueData() {
        if (fData && Head()->refs != 1) Reallocate(size(), size());
        return fData;
    }
    // Sets the length; the characters kept stay, new ones are zero.
    void SetLength(int32_t length) {
        if (length <= 0) {
            Release();
            fData = nullptr;
            return;
        }
        const int32_t old = size();
        if (!fData || Head()->refs != 1 || length > Head()->capacity)
            Reallocate(length, std::min(old, length));
        if (length > old) std::fill(fData + old, fData + length, Ch{});
        Head()->length = length;
        fData[length] = Ch{};
    }
    void Append(View text) {
        if (text.empty()) return;
        const int32_t old = size();
        const int32_t length = CheckedLength(static_cast<size_t>(old) + text.size());
        if (!fData || Head()->refs != 1 || length > Head()->capacity) {
            // Text taken from this string's own characters must outlive the move to a new block.
            RefString keep;
            if (fData && text.data() >= fData && text.data() <= fData + old) keep = *this;
            // Appends in a loop grow the block geometrically.
            const int32_t want = old == 0 ? length : CheckedLength(std::max<size_t>(length, old + old / 2));
            Reallocate(want, old);
            std::memcpy(fData + old, text.data(), text.size() * sizeof(Ch));
        } else {
            std::memmove(fData + old, text.data(), text.size() * sizeof(Ch));
        }
        Head()->length = length;
        fData[length] = Ch{};
    }
    RefString& operator+=(View text) {
        Append(text);
        return *this;
    }
    friend RefString operator+(const RefString& a, View b) {
        RefString r;
        r.Reserve(static_cast<size_t>(a.size()) + b.size());
        r.Append(a.view());
        r.Append(b);
        return r;
    }

    // Access for engines that keep strings as raw pointer-sized bits in untyped, possibly unaligned
    // memory (all zero bits being the empty string).
    static RefString RawGet(const void* slot) {  // a counted copy of the string stored there
        RefString s;
        std::memcpy(&s.fData, slot, sizeof(Ch*));
        s.AddRef();
        return s;
    }
    static void RawSet(void* slot, RefString value) {  // replaces the string stored there
        RawRelease(slot);
        std::memcpy(slot, &value.fData, sizeof(Ch*));
        value.fData = nullptr;
    }
    static void RawRelease(void* slot) {  // releases the string stored there and leaves it empty
        RefString s;
        std::memcpy(&s.fData, slot, sizeof(Ch*));
        std::memset(slot, 0, sizeof(Ch*));
    }
    static bool RawSame(const void* a, const void* b) { return std::memcmp(a, b, sizeof(Ch*)) == 0; }
    static int32_t RawLength(const void* slot) {
        RefString s;
        std::memcpy(&s.fData, slot, sizeof(Ch*));
        const int32_t n = s.size();
        s.fData = nullptr;
        return n;
    }

    friend bool operator==(const RefString& a, const RefString& b) { return a.view() == b.view(); }
    friend bool operator==(const RefString& a, View b) { return a.view() == b; }
    friend auto operator<=>(const RefString& a, const RefString& b) { return a.view() <=> b.view(); }

private:
    struct Header {
        int32_t refs;
        int32_t length;
        int32_t capacity;
    };
    static const Ch* EmptyText() {
        static const Ch zero{};
        return &zero;
    }
    static int32_t CheckedLength(size_t n) {
        if (n >
            static_cast<size_t>(std::numeric_limits<int32_t>::max() / static_cast<int32_t>(sizeof(Ch)) - 64))
            throw std::bad_alloc();
        return static_cast<int32_t>(n);
    }
    Header* Head() const {
        return reinterpret_cast<Header*>(reinterpret_cast<char*>(fData) - sizeof(Header));
    }
    void AddRef() const {
        if (fData) ++Head()->refs;
    }
    void Release() {
        if (fData && --Head()->refs == 0) ::operator delete(Head());
    }
    void Reserve(size_t n) {
        if (n > 0) Reallocate(CheckedLength(n), 0);
    }
    // A new block of `capacity` characters for this value alone holding the first `keep` characters.
    void Reallocate(int32_t capacity, int32_t keep) {
        void* mem = ::operator new(sizeof(Header) + (static_cast<size_t>(capacity) + 1) * sizeof(Ch));
        auto* h = static_cast<Header*>(mem);
        h->refs = 1;
        h->length = keep;
        h->capacity = capacity;
        Ch* data = reinterpret_cast<Ch*>(static_cast<char*>(mem) + sizeof(Header));
        if (keep > 0) std::memcpy(data, fData, static_cast<size_t>(keep) * sizeof(Ch));
        data[keep] = Ch{};
        Release();
        fData = data;
    }
    void Assign(View text) {
        if (text.empty()) return;
        Reallocate(CheckedLength(text.size()), 0);
        std::memcpy(fData, text.data(), text.size() * sizeof(Ch));
        Head()->length = static_cast<int32_t>(text.size());
        fData[text.size()] = Ch{};
    }

    Ch* fData = nullptr;
};

using AnsiString = RefString<char>;         // Windows-1252 bytes
using UnicodeString = RefString<char16_t>;  // UTF-16

}  // namespace tv
