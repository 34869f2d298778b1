// The checker library's entry: the platform services and the check catalogue
// are installed when a host loads the library. The exported functions come
// with the session driver.
#include "common/orvane_settings.h"
#include "library/checks/check_catalogue.h"
#include "platform/bundle_strings.h"
#include "platform/qt/qt_session.h"
#include "platform/registry.h"

#define ORVANE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

__attribute__((constructor)) void InstallServices()
{
    orvane::platform::InstallBundleStrings("OrvaneResources.rcc");
    orvane::platform::SetRegistry(&orvane::platform::UserRegistry());
    orvane::COrvaneSettings::InstallCatalogue(&orvane::CCheckCatalogue::Instance());
    orvane::platform::qt::StartWindows();
}

} // namespace

ORVANE_EXPORT const char* OrvaneLibraryVersion() { return "0.1.0"; }
