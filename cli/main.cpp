#include "commands.h"

#include "platform/bundle_strings.h"

#include <iostream>

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    orvane::platform::InstallBundleStrings("OrvaneResources.rcc");
    orvane::cli::Arguments args(argv + 1, argv + argc);
    int status = orvane::cli::RunMain(args, std::cout, std::cerr);
    std::cout.flush();
    return status;
}
