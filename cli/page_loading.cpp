#include "page_loading.h"

#include "common/orvane_settings.h"
#include "library/registry/object_database.h"
#include "library/ui/problem_list.h"
#include "platform/console_prompt.h"
#include "platform/file_system.h"
#include "platform/services.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <mutex>
#include <set>
#include <ostream>

namespace orvane::cli {

bool LoadPage(CHtmlDocument& document, const std::string& path, std::ostream& err)
{
    std::string reason;
    std::unique_ptr<std::istream> in = platform::OpenForReading(path, &reason);
    if (!in) {
        err << "orvane: cannot read " << path << ": " << reason << '\n';
        return false;
    }
    return LoadPageFrom(document, path, *in, err);
}

bool LoadPageFrom(CHtmlDocument& document, const std::string& path, std::istream& in, std::ostream& err)
{
    // What the loader would show in a message box goes to err, after the file's name.
    platform::CConsolePrompt console(err);
    platform::ScopedPrompt prompt(console);
    document.Start(1, false);
    document.SetName(path);
    document.SetOriginFlag(1);
    if (!document.Load(in)) {
        err << "orvane: " << path << " was not taken in\n";
        return false;
    }
    if (in.bad()) {
        err << "orvane: reading " << path << " failed\n";
        return false;
    }
    return true;
}

bool NamedRegistryReadable(std::string_view command, const std::string& file, std::ostream& err)
{
    if (file.empty() || CSrcObjectDatabase(file).Load())
        return true;
    err << "orvane " << command << ": the object registry " << file << " is missing or cannot be read\n";
    return false;
}

std::unique_ptr<CSrcObjectDatabase> OpenRegistry(const std::string& file, bool none)
{
    if (none)
        return std::make_unique<CSrcObjectDatabase>(std::string());
    auto registry = file.empty() ? std::make_unique<CSrcObjectDatabase>() : std::make_unique<CSrcObjectDatabase>(file);
    registry->Load();
    return registry;
}

namespace {

// A registry file in a folder named ".orvane" belongs to the site above it.
bool IsSiteRegistryFile(const std::string& file)
{
    const std::filesystem::path path(file);
    return path.parent_path().filename() == ".orvane";
}

} // namespace

CRunRegistries::CRunRegistries(std::string_view command, std::string file, bool none, std::ostream& err)
    : m_command(command), m_file(std::move(file)), m_none(none), m_err(err)
{
    if (m_none || !m_file.empty()) {
        m_fixed = OpenRegistry(m_file, m_none);
        if (!m_none && IsSiteRegistryFile(m_file)) {
            m_fixed->UseSiteRegistry(m_file);
            m_fixed->Load();
        }
    }
}

CSrcObjectDatabase& CRunRegistries::For(const std::string& pagePath)
{
    if (m_fixed && (m_none || !m_file.empty()))
        return *m_fixed;
    std::string site = CSrcObjectDatabase::FindSiteRegistry(pagePath);
    if (site.empty()) {
        if (!m_fixed)
            m_fixed = OpenRegistry({}, false);
        return *m_fixed;
    }
    auto [known, added] = m_sites.try_emplace(site);
    if (added) {
        known->second = std::make_unique<CSrcObjectDatabase>();
        known->second->UseSiteRegistry(site);
        if (!known->second->Load() && std::filesystem::exists(site)) {
            // Said once a run, whichever worker meets it first.
            static std::mutex saying;
            static std::set<std::string> said;
            std::lock_guard lock(saying);
            if (said.insert(site).second)
                m_err << "orvane " << m_command << ": the site registry " << site
                      << (known->second->HadMergeConflict()
                              ? " holds the marks of an unfinished merge (lines beginning with <<<<<<<)"
                              : " cannot be read")
                      << "; its pages are checked with nothing remembered\n";
        }
    }
    return *known->second;
}

std::vector<AssumedTable> FindProblems(CProblemList& problems, CHtmlDocument& document, COrvaneSettings& settings,
                                       CSrcObjectDatabase* registry, TableMode tables)
{
    std::vector<AssumedTable> assumed = AssumeTableTypes(document, registry, tables);
    problems.Prepare(document, settings, registry);
    problems.Group(settings);
    return assumed;
}

rules::Wcag22Target RulesTargetOf(int conformance)
{
    return conformance == level::kWcag22A    ? rules::Wcag22Target::kA
           : conformance == level::kWcag22AA ? rules::Wcag22Target::kAA
                                             : rules::Wcag22Target::kAAA;
}

std::optional<int> ParseLevel(std::string_view text)
{
    // Either case will do: "aa" and "Aa" mean AA.
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (upper == "A")
        return kLevelA;
    if (upper == "AA")
        return kLevelAA;
    if (upper == "AAA")
        return kLevelAAA;
    if (upper == "508")
        return kLevelSection508;
    if (upper == "2.2-A")
        return level::kWcag22A;
    if (upper == "2.2-AA")
        return level::kWcag22AA;
    if (upper == "2.2-AAA")
        return level::kWcag22AAA;
    return std::nullopt;
}

std::string EscapeControls(std::string_view text)
{
    static const char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        case '\\': out += "\\\\"; break;
        default:
            if (byte < 0x20 || byte == 0x7f) {
                out += "\\x";
                out.push_back(kHex[byte >> 4]);
                out.push_back(kHex[byte & 15]);
            } else {
                out.push_back(c);
            }
        }
    }
    return out;
}

} // namespace orvane::cli
