/*
 * Owning wrappers for the operating system's handles, so that every handle, module, registry
 * key and GDI object is released on every path, early returns and exceptions included.
 */
#pragma once

#include <windows.h>

#include <utility>

template <typename T, typename Traits>
class TUnique {
public:
    TUnique() = default;
    explicit TUnique(T value) : Value(value) {}
    ~TUnique() { Reset(); }
    TUnique(const TUnique&) = delete;
    TUnique& operator=(const TUnique&) = delete;
    TUnique(TUnique&& other) noexcept : Value(std::exchange(other.Value, Traits::Null())) {}
    TUnique& operator=(TUnique&& other) noexcept
    {
        if (this != &other) {
            Reset();
            Value = std::exchange(other.Value, Traits::Null());
        }
        return *this;
    }

    T Get() const { return Value; }
    explicit operator bool() const { return Traits::Valid(Value); }
    T Release() { return std::exchange(Value, Traits::Null()); }
    void Reset(T value = Traits::Null())
    {
        if (Traits::Valid(Value))
            Traits::Close(Value);
        Value = value;
    }
    // For APIs that fill a handle through a pointer.
    T* Put()
    {
        Reset();
        return &Value;
    }

private:
    T Value = Traits::Null();
};

struct TKernelHandleTraits {
    static HANDLE Null() { return nullptr; }
    static bool Valid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { CloseHandle(h); }
};
struct TModuleTraits {
    static HMODULE Null() { return nullptr; }
    static bool Valid(HMODULE h) { return h != nullptr; }
    static void Close(HMODULE h) { FreeLibrary(h); }
};
struct TRegKeyTraits {
    static HKEY Null() { return nullptr; }
    static bool Valid(HKEY h) { return h != nullptr; }
    static void Close(HKEY h) { RegCloseKey(h); }
};
template <typename G>
struct TGdiTraits {
    static G Null() { return nullptr; }
    static bool Valid(G h) { return h != nullptr; }
    static void Close(G h) { DeleteObject(h); }
};
struct TMemoryDcTraits {
    static HDC Null() { return nullptr; }
    static bool Valid(HDC h) { return h != nullptr; }
    static void Close(HDC h) { DeleteDC(h); }
};

using UniqueHandle = TUnique<HANDLE, TKernelHandleTraits>;
using UniqueModule = TUnique<HMODULE, TModuleTraits>;
using UniqueKey = TUnique<HKEY, TRegKeyTraits>;
using UniqueFont = TUnique<HFONT, TGdiTraits<HFONT>>;
using UniqueBrush = TUnique<HBRUSH, TGdiTraits<HBRUSH>>;
using UniquePen = TUnique<HPEN, TGdiTraits<HPEN>>;
using UniqueBitmap = TUnique<HBITMAP, TGdiTraits<HBITMAP>>;
using UniqueRegion = TUnique<HRGN, TGdiTraits<HRGN>>;
using UniqueMemoryDc = TUnique<HDC, TMemoryDcTraits>;
