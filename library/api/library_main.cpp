// The checker library's entry: the services that need no window are installed
// when a host loads the library. The windows wait for the first call that may
// show one (see exports.cpp): a host may make its own widget application after
// loading the library, or load it on a thread that must not own Qt's objects.
#include "common/orvane_settings.h"
#include "library/checks/check_catalogue.h"
#include "platform/bundle_strings.h"
#include "platform/console_prompt.h"
#include "platform/registry.h"
#include "platform/services.h"

#include <iostream>

#define ORVANE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

__attribute__((constructor)) void InstallServices()
{
    // Until windows are set up, what the library must tell the user goes to standard error.
    static orvane::platform::CConsolePrompt consolePrompt(std::cerr);
    orvane::platform::SetPrompt(&consolePrompt);
    orvane::platform::InstallBundleStrings("OrvaneResources.rcc");
    orvane::platform::SetRegistry(&orvane::platform::UserRegistry());
    orvane::COrvaneSettings::InstallCatalogue(&orvane::CCheckCatalogue::Instance());
}

} // namespace

ORVANE_EXPORT const char* OrvaneLibraryVersion() { return "0.1.0"; }
