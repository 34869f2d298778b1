#include "console_prompt.h"

namespace orvane::platform {

int CConsolePrompt::Show(std::string_view caption, std::string_view text, PromptIcon, PromptButtons buttons)
{
    if (!caption.empty())
        m_out << caption << ": ";
    m_out << text << '\n';
    return (buttons == PromptButtons::YesNo || buttons == PromptButtons::YesNoCancel) ? kAnswerYes : kAnswerOk;
}

} // namespace orvane::platform
