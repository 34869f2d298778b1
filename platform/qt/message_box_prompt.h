#pragma once

#include "platform/prompt.h"

namespace orvane::platform {

// Shows message boxes when a widget application runs, else writes to standard error.
class CMessageBoxPrompt final : public IPrompt {
public:
    int Show(std::string_view caption, std::string_view text, PromptIcon icon, PromptButtons buttons,
             int defaultAnswer = 0) override;
};

} // namespace orvane::platform
