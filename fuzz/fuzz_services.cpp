#include "fuzz_services.h"

#include "common/orvane_settings.h"
#include "library/checks/check_catalogue.h"
#include "platform/bundle_strings.h"
#include "platform/paths.h"

#include <string>
#include <unistd.h>

namespace orvane::fuzz {

void InstallCheckServices()
{
    static const bool installed = [] {
        platform::InstallBundleStrings("OrvaneResources.rcc");
        COrvaneSettings::InstallCatalogue(&CCheckCatalogue::Instance());
        return true;
    }();
    (void)installed;
}

std::filesystem::path ScratchFolder(std::string_view target)
{
    // Fuzzing runs several processes side by side with -jobs; each needs its own files.
    return std::filesystem::path(platform::UserDataDirectory()) / "fuzz" /
           (std::string(target) + "-" + std::to_string(::getpid()));
}

} // namespace orvane::fuzz
