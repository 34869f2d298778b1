#include "platform/bundle_strings.h"

#include "platform/language.h"
#include "platform/paths.h"
#include "platform/resource_bundle.h"
#include "platform/services.h"
#include "platform/string_table.h"

#include <cstdlib>
#include <map>

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
    std::string Language() const override { return language; }
    std::string GetIn(int id, std::string_view other) const override
    {
        if (other == language)
            return Get(id);
        if (other == "en")
            return english.Get(id);
        // Another translation is read when first asked for, and only when
        // the bundle has one: a language code is no file name otherwise.
        if (other.empty() || other.find_first_not_of("abcdefghijklmnopqrstuvwxyz") != std::string_view::npos)
            return {};
        auto [it, added] = others.try_emplace(std::string(other));
        if (added) {
            if (const CResourceBundle* bundle = InstalledBundle()) {
                if (std::optional<std::string> text = bundle->ReadFile("strings/" + it->first + ".txt"))
                    it->second.Parse(*text);
            }
        }
        return it->second.Get(id);
    }
    CStringTable english;
    CStringTable translated;
    std::string language;
    mutable std::map<std::string, CStringTable> others;
};

// Kept for the life of the process and never destroyed: the strings are in
// use until it ends, and Qt's list of resources, made after the bundle, is
// gone before the bundle's destructor could unregister from it.
// Made on first use, as the library's start may ask for them before the
// library's own globals are set up.
// Every bundle loaded so far, by file name, and the one in use: a program
// showing windows of both deliverables (the screenshots) switches between them.
std::map<std::string, CResourceBundle*>& LoadedBundles()
{
    static auto& bundles = *new std::map<std::string, CResourceBundle*>;
    return bundles;
}

// None loaded yet: an empty bundle, kept like the loaded ones.
CResourceBundle*& CurrentBundle()
{
    static CResourceBundle& none = *new CResourceBundle;
    static CResourceBundle* current = &none;
    return current;
}

CResourceBundle& Bundle() { return *CurrentBundle(); }

// The language the strings were last installed in.
std::string& Language()
{
    static std::string& language = *new std::string;
    return language;
}

CLanguageStrings& LanguageStrings()
{
    static CLanguageStrings& strings = *new CLanguageStrings;
    return strings;
}

} // namespace

bool InstallBundleLanguage(const std::string& language)
{
    if (!Bundle().IsLoaded())
        return false;
    Language() = language;
    std::optional<std::string> english = Bundle().ReadFile("strings/en.txt");
    if (!english)
        return false;
    LanguageStrings().english = CStringTable();
    LanguageStrings().english.Parse(*english);
    LanguageStrings().translated = CStringTable();
    LanguageStrings().language = language;
    LanguageStrings().others.clear();
    if (language != "en") {
        if (std::optional<std::string> text = Bundle().ReadFile("strings/" + language + ".txt"))
            LanguageStrings().translated.Parse(*text);
    }
    SetStrings(&LanguageStrings());
    return true;
}

bool InstallBundleStrings(const std::string& bundleFileName)
{
    std::map<std::string, CResourceBundle*>& bundles = LoadedBundles();
    auto it = bundles.find(bundleFileName);
    if (it == bundles.end()) {
        auto* bundle = new CResourceBundle;
        const std::string path = FindDataFile(bundleFileName);
        if (path.empty() || !bundle->Load(path)) {
            delete bundle;
            return false;
        }
        it = bundles.emplace(bundleFileName, bundle).first;
        // Qt's list of resources, made by the first bundle's registration, is
        // destroyed at exit before the bundles could be: they are given back
        // first, by a handler set up after the list (so run before it goes),
        // or what Qt keeps of them would be lost with its list.
        static const bool unloadAtExit = [] {
            std::atexit([] {
                for (auto& [name, loaded] : LoadedBundles())
                    loaded->Unload();
            });
            return true;
        }();
        (void)unloadAtExit;
    }
    CurrentBundle() = it->second;
    return InstallBundleLanguage(Language().empty() ? UiLanguage() : Language());
}

std::string BundleLanguage() { return Language().empty() ? UiLanguage() : Language(); }

const CResourceBundle* InstalledBundle() { return Bundle().IsLoaded() ? &Bundle() : nullptr; }

} // namespace orvane::platform
