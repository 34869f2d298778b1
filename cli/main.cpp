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
    std::cout.flush();
    return status;
}
