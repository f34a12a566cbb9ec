// Records every message box of a test and answers it, instead of showing it.
#pragma once

#include "base/Box.h"
#include "base/Pump.h"

#include <vector>

class BoxRecorder {
public:
    explicit BoxRecorder(BoxAnswer yesNoAnswer = BoxAnswer::No) : Answer(yesNoAnswer)
    {
        SetBoxHook([this](const BoxRequest& request) {
            Boxes.push_back(request);
            // A real box runs its own message loop while it is open.
            if (PumpWhileOpen)
                PumpPendingMessages();
            return request.Buttons == BoxButtons::YesNo ? Answer : BoxAnswer::Ok;
        });
    }
    ~BoxRecorder() { SetBoxHook(nullptr); }
    BoxRecorder(const BoxRecorder&) = delete;
    BoxRecorder& operator=(const BoxRecorder&) = delete;

    BoxAnswer Answer;
    bool PumpWhileOpen = false;
    std::vector<BoxRequest> Boxes;
};
