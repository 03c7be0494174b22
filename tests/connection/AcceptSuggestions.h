#pragma once
// A dialog answerer that takes every input box's suggestion as it stands: the
// path a file offer's prompt proposes, whether the prompt waits or not.

#include "tests/support/ScriptedAnswerer.h"

class AcceptSuggestions : public ScriptedAnswerer {
public:
    std::optional<QString> inputBox(const platform::DialogRequest& request) override {
        ScriptedAnswerer::inputBox(request);
        return request.defaultText;
    }
    void inputBoxLater(const platform::DialogRequest& request,
                       platform::InputBoxAnswered answer) override {
        ScriptedAnswerer::inputBoxLater(
            request,
            [answer, text = request.defaultText](const std::optional<QString>&) { answer(text); });
    }
};
