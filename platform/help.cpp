#include "help.h"

#include "paths.h"

namespace orvane::platform {
namespace {
IHelpViewer* g_helpViewer = nullptr;
}

std::string HelpFileFor(const std::string& language)
{
    if (language != "en") {
        if (std::string own = FindDataFile("Orvane_" + language + ".qhc"); !own.empty())
            return own;
    }
    return FindDataFile("Orvane.qhc");
}

IHelpViewer* HelpViewer() { return g_helpViewer; }
void SetHelpViewer(IHelpViewer* viewer) { g_helpViewer = viewer; }

} // namespace orvane::platform
