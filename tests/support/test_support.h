#pragma once

#include "platform/prompt.h"
#include "platform/services.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::test {

// Records every message the code under test would show, and answers with `answer`.
class CRecordingPrompt final : public platform::IPrompt {
public:
    struct Message {
        std::string caption;
        std::string text;
        platform::PromptIcon icon;
        platform::PromptButtons buttons;
        int defaultAnswer = 0;
    };

    explicit CRecordingPrompt(int answer = platform::kAnswerOk) : m_answer(answer) {}
    int Show(std::string_view caption, std::string_view text, platform::PromptIcon icon,
             platform::PromptButtons buttons, int defaultAnswer = 0) override
    {
        messages.push_back({std::string(caption), std::string(text), icon, buttons, defaultAnswer});
        return m_answer;
    }

    std::vector<Message> messages;

private:
    int m_answer;
};

// Installs a recording prompt for the lifetime of the object.
class CPromptCapture {
public:
    CPromptCapture() : m_scope(prompt) {}
    CRecordingPrompt prompt;

private:
    platform::ScopedPrompt m_scope;
};

// The shared corpus of real pages; empty when it is not beside the project.
std::string CorpusDirectory();
std::vector<std::string> CorpusPages();

std::string ReadFileBytes(const std::string& path);

// The word quoted for a POSIX shell, quotes inside it kept.
std::string ShellQuoted(std::string_view word);
// What the shell command wrote on its standard output; the status is set
// (as pclose gives it; -1 when the command could not be started).
std::string ShellOutput(const std::string& command, int& status);

// Keeps the user's data (object registry, settings) in a folder of the test's
// own while the object lives, whatever folder the test was started with.
class CScopedHome {
public:
    explicit CScopedHome(const std::string& folder);
    ~CScopedHome();
    CScopedHome(const CScopedHome&) = delete;
    CScopedHome& operator=(const CScopedHome&) = delete;

private:
    std::optional<std::string> m_previous;
};

} // namespace orvane::test
