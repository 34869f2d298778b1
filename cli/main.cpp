#include "commands.h"

#include "common/orvane_settings.h"
#include "library/checks/check_catalogue.h"
#include "platform/bundle_strings.h"
#include "platform/registry.h"

#include <iostream>

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    orvane::platform::InstallBundleStrings("OrvaneResources.rcc");
    orvane::platform::SetRegistry(&orvane::platform::UserRegistry());
    orvane::COrvaneSettings::InstallCatalogue(&orvane::CCheckCatalogue::Instance());
    orvane::cli::Arguments args(argv + 1, argv + argc);
    int status = orvane::cli::RunMain(args, std::cout, std::cerr);
    // Output that never arrived (a full disk, a closed pipe) is no success.
    if (!std::cout.flush() && status != orvane::cli::kExitError) {
        std::cerr << "orvane: standard output could not be written\n";
        status = orvane::cli::kExitError;
    }
    return status;
}
