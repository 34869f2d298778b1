#include "platform/bundle_strings.h"

#include "platform/language.h"
#include "platform/paths.h"
#include "platform/resource_bundle.h"
#include "platform/services.h"
#include "platform/string_table.h"

namespace orvane::platform {
namespace {

// A translation, with English for every string it lacks.
class CLanguageStrings final : public IStringTable {
public:
    std::string Get(int id) const override
    {
        if (auto it = translated.Strings().find(id); it != translated.Strings().end())
            return it->second;
        return english.Get(id);
    }
    CStringTable english;
    CStringTable translated;
};

// Kept for the life of the process: the strings are in use until it ends.
CResourceBundle g_bundle;
CLanguageStrings g_strings;

} // namespace

bool InstallBundleLanguage(const std::string& language)
{
    if (!g_bundle.IsLoaded())
        return false;
    std::optional<std::string> english = g_bundle.ReadFile("strings/en.txt");
    if (!english)
        return false;
    g_strings.english = CStringTable();
    g_strings.english.Parse(*english);
    g_strings.translated = CStringTable();
    if (language != "en") {
        if (std::optional<std::string> text = g_bundle.ReadFile("strings/" + language + ".txt"))
            g_strings.translated.Parse(*text);
    }
    SetStrings(&g_strings);
    return true;
}

bool InstallBundleStrings(const std::string& bundleFileName)
{
    if (!g_bundle.IsLoaded()) {
        std::string path = FindDataFile(bundleFileName);
        if (path.empty() || !g_bundle.Load(path))
            return false;
    }
    return InstallBundleLanguage(UiLanguage());
}

const CResourceBundle* InstalledBundle() { return g_bundle.IsLoaded() ? &g_bundle : nullptr; }

} // namespace orvane::platform
