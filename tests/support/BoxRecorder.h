/*
 * Every message box of a test recorded and answered instead of shown: OK to a notice, the
 * chosen answer to a question. While a box is open the test may act as the operator would, or
 * let pending messages through as a real box's own message loop does.
 */
#pragma once

#include "base/Box.h"

#include <functional>
#include <vector>

class BoxRecorder {
public:
    explicit BoxRecorder(BoxAnswer question = BoxAnswer::Yes);
    ~BoxRecorder();
    BoxRecorder(const BoxRecorder&) = delete;
    BoxRecorder& operator=(const BoxRecorder&) = delete;

    BoxAnswer Question;              // the answer to a Yes/No question
    std::function<void()> WhileOpen; // runs once, inside the next box
    bool PumpWhileOpen = false;      // dispatches the pending messages inside every box
    std::vector<TBoxRequest> Boxes;   // in the order they came
};
