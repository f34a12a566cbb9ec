/*
 * The guard around every call into a library the program did not build. Such a library may
 * fault (read through a null pointer, run a bad instruction, divide by zero, overflow its
 * stack) and may leave the x87 control word changed. The guard turns a fault into a plain
 * false with a description of what happened, and puts back the control word the program had
 * at start after every call, faulted or not.
 *
 * How it works, and why it works with this toolchain, is told in GuardedCall.cpp.
 */
#pragma once

#include "base/Fault.h"

#include <cstdint>
#include <type_traits>
#include <utility>

// Runs body(context). True when it returned; false when a structured fault was raised inside
// it, with the fault described (its module already looked up). The body must not throw.
bool RunGuarded(void (*body)(void*), void* context, TFault& fault);

template <typename Body>
bool RunGuarded(Body&& body, TFault& fault)
{
    using Callable = std::decay_t<Body>;
    Callable callable(std::forward<Body>(body));
    return RunGuarded([](void* context) noexcept { (*static_cast<Callable*>(context))(); }, &callable, fault);
}

// The x87 control word as the program found it at start, which the guard restores.
uint16_t ProgramControlWord();
