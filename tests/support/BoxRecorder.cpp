/*
 * The recorder sits on the program's one box hook, and takes it off again however the test ends.
 */
#include "BoxRecorder.h"

#include "base/Pump.h"

#include <utility>

BoxRecorder::BoxRecorder(BoxAnswer question) : Question(question)
{
    SetBoxHook([this](const TBoxRequest& request) {
        Boxes.push_back(request);
        if (WhileOpen)
            std::exchange(WhileOpen, nullptr)();
        if (PumpWhileOpen)
            PumpPendingMessages();
        return request.Buttons == BoxButtons::YesNo ? Question : BoxAnswer::Ok;
    });
}

BoxRecorder::~BoxRecorder() { SetBoxHook(nullptr); }
