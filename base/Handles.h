/*
 * Owning wrappers for the operating system's handles, so that every handle, module, registry
 * key and GDI object is released on every path, early returns and exceptions included.
 */
#pragma once

#include <windows.h>

#include <utility>

template <typename T, typename Traits>
class Unique {
public:
    Unique() = default;
    explicit Unique(T value) : Value(value) {}
    ~Unique() { Reset(); }
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    Unique(Unique&& other) noexcept : Value(std::exchange(other.Value, Traits::Null())) {}
    Unique& operator=(Unique&& other) noexcept
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

struct KernelHandleTraits {
    static HANDLE Null() { return nullptr; }
    static bool Valid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { CloseHandle(h); }
};
struct ModuleTraits {
    static HMODULE Null() { return nullptr; }
    static bool Valid(HMODULE h) { return h != nullptr; }
    static void Close(HMODULE h) { FreeLibrary(h); }
};
struct RegKeyTraits {
    static HKEY Null() { return nullptr; }
    static bool Valid(HKEY h) { return h != nullptr; }
    static void Close(HKEY h) { RegCloseKey(h); }
};
template <typename G>
struct GdiTraits {
    static G Null() { return nullptr; }
    static bool Valid(G h) { return h != nullptr; }
    static void Close(G h) { DeleteObject(h); }
};
struct MemoryDcTraits {
    static HDC Null() { return nullptr; }
    static bool Valid(HDC h) { return h != nullptr; }
    static void Close(HDC h) { DeleteDC(h); }
};

using UniqueHandle = Unique<HANDLE, KernelHandleTraits>;
using UniqueModule = Unique<HMODULE, ModuleTraits>;
using UniqueKey = Unique<HKEY, RegKeyTraits>;
using UniqueFont = Unique<HFONT, GdiTraits<HFONT>>;
using UniqueBrush = Unique<HBRUSH, GdiTraits<HBRUSH>>;
using UniquePen = Unique<HPEN, GdiTraits<HPEN>>;
using UniqueBitmap = Unique<HBITMAP, GdiTraits<HBITMAP>>;
using UniqueRegion = Unique<HRGN, GdiTraits<HRGN>>;
using UniqueMemoryDc = Unique<HDC, MemoryDcTraits>;

// Selects a GDI object into a DC for one scope and puts the old one back.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : Dc(dc), Old(SelectObject(dc, object)) {}
    ~SelectedObject() { SelectObject(Dc, Old); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC Dc;
    HGDIOBJ Old;
};
