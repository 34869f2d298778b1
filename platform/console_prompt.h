#pragma once

#include "prompt.h"

#include <ostream>

namespace orvane::platform {

// Writes messages to a stream (standard error for command-line use) and
// answers every question with its default: the one asked for, else OK or Yes.
class CConsolePrompt final : public IPrompt {
public:
    explicit CConsolePrompt(std::ostream& out) : m_out(out) {}
    int Show(std::string_view caption, std::string_view text, PromptIcon icon, PromptButtons buttons,
             int defaultAnswer = 0) override;

private:
    std::ostream& m_out;
};

} // namespace orvane::platform
