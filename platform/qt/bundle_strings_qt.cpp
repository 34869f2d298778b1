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
// Made on first use: a library's start may ask for them before the globals
// of this file are made.
CResourceBundle& Bundle()
{
    static CResourceBundle bundle;
    return bundle;
}

CLanguageStrings& LanguageStrings()
{
    static CLanguageStrings strings;
    return strings;
}

} // namespace

bool InstallBundleLanguage(const std::string& language)
{
    CResourceBundle& bundle = Bundle();
    CLanguageStrings& strings = LanguageStrings();
    if (!bundle.IsLoaded())
        return false;
    std::optional<std::string> english = bundle.ReadFile("strings/en.txt");
    if (!english)
        return false;
    strings.english = CStringTable();
    strings.english.Parse(*english);
    strings.translated = CStringTable();
    if (language != "en") {
        if (std::optional<std::string> text = bundle.ReadFile("strings/" + language + ".txt"))
            strings.translated.Parse(*text);
    }
    SetStrings(&strings);
    return true;
}

bool InstallBundleStrings(const std::string& bundleFileName)
{
    CResourceBundle& bundle = Bundle();
    if (!bundle.IsLoaded()) {
        std::string path = FindDataFile(bundleFileName);
        if (path.empty() || !bundle.Load(path))
            return false;
    }
    return InstallBundleLanguage(UiLanguage());
}

const CResourceBundle* InstalledBundle() { return Bundle().IsLoaded() ? &Bundle() : nullptr; }

} // namespace orvane::platform
