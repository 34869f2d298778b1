#pragma once

#include "prompt.h"
#include "string_table.h"

namespace orvane::platform {

// The process-wide services the core reaches the platform through. Until a
// host installs its own, messages go nowhere (answered OK) and strings are empty.
IPrompt& Prompt();
const IStringTable& Strings();

// Installs a service (the caller keeps ownership); null restores the default.
void SetPrompt(IPrompt* prompt);
void SetStrings(const IStringTable* strings);

// Installs a service for the lifetime of the guard, then puts the old one back.
class ScopedPrompt {
public:
    explicit ScopedPrompt(IPrompt& prompt);
    ~ScopedPrompt();
    ScopedPrompt(const ScopedPrompt&) = delete;
    ScopedPrompt& operator=(const ScopedPrompt&) = delete;

private:
    IPrompt* m_previous;
};

class ScopedStrings {
public:
    explicit ScopedStrings(const IStringTable& strings);
    ~ScopedStrings();
    ScopedStrings(const ScopedStrings&) = delete;
    ScopedStrings& operator=(const ScopedStrings&) = delete;

private:
    const IStringTable* m_previous;
};

} // namespace orvane::platform
