#include "platform/bundle_strings.h"

#include "platform/paths.h"
#include "platform/resource_bundle.h"
#include "platform/services.h"
#include "platform/string_table.h"

#include <memory>

namespace orvane::platform {

bool InstallBundleStrings(const std::string& bundleFileName)
{
    // Kept for the life of the process and never destroyed: the strings are in
    // use until it ends, and Qt's list of resources, made after the bundle,
    // is gone before the bundle's destructor could unregister from it.
    static CResourceBundle& bundle = *new CResourceBundle;
    static CStringTable& table = *new CStringTable;
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
