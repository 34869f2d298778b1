#pragma once

#include <string_view>

namespace orvane::platform {

enum class PromptIcon { None, Exclamation, Information, Question, Stop };
enum class PromptButtons { Ok, OkCancel, YesNo, YesNoCancel };

// Answers, numbered as message boxes number them.
enum PromptAnswer : int { kAnswerOk = 1, kAnswerCancel = 2, kAnswerYes = 6, kAnswerNo = 7 };

// Shows a message to the user and returns the answer. defaultAnswer is the
// answer Enter gives (kAnswerNo for a question whose Yes must be meant); 0
// leaves it to the first button.
class IPrompt {
public:
    virtual ~IPrompt() = default;
    virtual int Show(std::string_view caption, std::string_view text, PromptIcon icon, PromptButtons buttons,
                     int defaultAnswer = 0) = 0;
};

} // namespace orvane::platform
