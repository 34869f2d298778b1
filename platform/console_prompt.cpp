#include "console_prompt.h"

namespace orvane::platform {

int CConsolePrompt::Show(std::string_view caption, std::string_view text, PromptIcon, PromptButtons buttons,
                         int defaultAnswer)
{
    if (!caption.empty())
        m_out << caption << ": ";
    m_out << text << '\n';
    if (defaultAnswer != 0)
        return defaultAnswer;
    return (buttons == PromptButtons::YesNo || buttons == PromptButtons::YesNoCancel) ? kAnswerYes : kAnswerOk;
}

} // namespace orvane::platform
