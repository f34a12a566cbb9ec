/*
 * The program's one message box. Every box the operator sees passes through ShowBox, so the
 * diagnostic trace records each one with its answer and tests can watch and answer them.
 */
#pragma once

#include <windows.h>

#include <functional>
#include <string>

enum class BoxKind { Information, Warning, Error };
enum class BoxButtons { Ok, YesNo };
enum class BoxAnswer { Ok, Yes, No, Cancel };

struct TBoxRequest {
    BoxKind Kind;
    BoxButtons Buttons;
    std::string Caption;
    std::string Text;
};

// Shows a modal box with the kind's caption and icon, owned by the box owner (if set), or by
// the owner's box that is open.
BoxAnswer ShowBox(BoxKind kind, BoxButtons buttons, const std::string& text);

// The window the boxes are modal to; the main window sets itself here once it exists.
void SetBoxOwner(HWND owner);

// A test hook: when set it answers every box instead of the real MessageBoxA.
using BoxHook = std::function<BoxAnswer(const TBoxRequest&)>;
void SetBoxHook(BoxHook hook);

const char* BoxCaption(BoxKind kind);
const char* BoxAnswerName(BoxAnswer answer);
