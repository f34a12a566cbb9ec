/*
 * Scope guards for device contexts: the screen's DC, a DC's saved state, and one object
 * selected into a DC. Each puts back what it took on every path, so that no painter leaves a
 * DC changed for whoever draws after it and no DC goes back to the system with our objects
 * still selected.
 */
#pragma once

#include <windows.h>

// The whole screen's DC, released with the guard.
class TScreenDc {
public:
    TScreenDc() : Dc(GetDC(nullptr)) {}
    ~TScreenDc()
    {
        if (Dc)
            ReleaseDC(nullptr, Dc);
    }
    TScreenDc(const TScreenDc&) = delete;
    TScreenDc& operator=(const TScreenDc&) = delete;
    HDC Get() const { return Dc; }

private:
    HDC Dc;
};

// Restores every DC setting a painter changes, whoever drew before it.
class TSavedDc {
public:
    explicit TSavedDc(HDC dc) : Dc(dc), State(SaveDC(dc)) {}
    ~TSavedDc() { RestoreDC(Dc, State); }
    TSavedDc(const TSavedDc&) = delete;
    TSavedDc& operator=(const TSavedDc&) = delete;

private:
    HDC Dc;
    int State;
};

// Selects a GDI object into a DC for one scope and puts the old one back.
class TSelectedObject {
public:
    TSelectedObject(HDC dc, HGDIOBJ object) : Dc(dc), Old(SelectObject(dc, object)) {}
    ~TSelectedObject() { SelectObject(Dc, Old); }
    TSelectedObject(const TSelectedObject&) = delete;
    TSelectedObject& operator=(const TSelectedObject&) = delete;

private:
    HDC Dc;
    HGDIOBJ Old;
};
