#include "platform/bundle_strings.h"

#include "platform/paths.h"
#include "platform/resource_bundle.h"
#include "platform/services.h"
#include "platform/string_table.h"

#include <memory>

namespace orvane::platform {

bool InstallBundleStrings(const std::string& bundleFileName)
{
    // Kept for the life of the process: the strings are in use until it ends.
    static CResourceBundle bundle;
    static CStringTable table;
    std::string path = FindDataFile(bundleFileName);
    if (path.empty() || !bundle.Load(path))
        return false;
    std::optional<std::string> text = bundle.ReadFile("strings/en.txt");
    if (!text)
        return false;
    table.Parse(*text);
    SetStrings(&table);
    return true;
}

} // namespace orvane::platform
