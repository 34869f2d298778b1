#include "services.h"

namespace orvane::platform {
namespace {

class CSilentPrompt final : public IPrompt {
public:
    int Show(std::string_view, std::string_view, PromptIcon, PromptButtons, int) override { return kAnswerOk; }
};

class CEmptyStrings final : public IStringTable {
public:
    std::string Get(int) const override { return {}; }
};

CSilentPrompt g_silentPrompt;
CEmptyStrings g_emptyStrings;
IPrompt* g_prompt = &g_silentPrompt;
const IStringTable* g_strings = &g_emptyStrings;

} // namespace

IPrompt& Prompt() { return *g_prompt; }
const IStringTable& Strings() { return *g_strings; }

void SetPrompt(IPrompt* prompt) { g_prompt = prompt ? prompt : &g_silentPrompt; }
void SetStrings(const IStringTable* strings) { g_strings = strings ? strings : &g_emptyStrings; }

ScopedPrompt::ScopedPrompt(IPrompt& prompt) : m_previous(g_prompt) { g_prompt = &prompt; }
ScopedPrompt::~ScopedPrompt() { g_prompt = m_previous; }

ScopedStrings::ScopedStrings(const IStringTable& strings) : m_previous(g_strings) { g_strings = &strings; }
ScopedStrings::~ScopedStrings() { g_strings = m_previous; }

} // namespace orvane::platform
