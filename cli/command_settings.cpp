#include "command_line.h"
#include "commands.h"
#include "page_loading.h"

#include "common/orvane_settings.h"
#include "common/page_extensions.h"
#include "library/html/lang_codes.h"
#include "library/ui/pages/structure/page_doctype_bad.h"
#include "library/ui/problem_list.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <ostream>
#include <set>

namespace orvane::cli {
namespace {


// What the store can read back: a text longer than its read buffer (the
// terminating zero included) would quietly load as the default.
constexpr std::size_t kExtensionBuffer = 30;
constexpr std::size_t kIconsLocationBuffer = 299;

const char* const kNames =
    "level, file-save, original-extension, validated-extension, insert-icon, icons-location, "
    "ignore-repaired, show-settled, aria-names, auto-repair, always-include, language, doctype";

// The checks whose repairs remember a choice the command line can set.
constexpr std::string_view kLanguageCheck = "MissingLanguage";
constexpr std::string_view kDoctypeCheck = "DoctypeMissing";

const std::vector<std::pair<std::string, int>> kDoctypes = {{"frameset", CPageDoctypeBad::kFrameset},
                                                            {"transitional", CPageDoctypeBad::kTransitional},
                                                            {"strict", CPageDoctypeBad::kStrict}};

const CheckSetting* Named(const COrvaneSettings& settings, std::string_view name)
{
    for (const auto& check : settings.CheckSettings()) {
        if (check->Name() == name)
            return check.get();
    }
    return nullptr;
}

// The declaration the document type repair writes: the one remembered, the
// page's own text, or the one it proposes when nothing is remembered.
std::string DoctypeText(const COrvaneSettings& settings)
{
    const CheckSetting* check = Named(settings, kDoctypeCheck);
    const int remembered = check ? check->RememberedNumber() : 0;
    if (remembered == CPageDoctypeBad::kOwn)
        return "own: " + check->Text1();
    for (const auto& [name, id] : kDoctypes) {
        if (id == remembered)
            return name;
    }
    return "the page's own (nothing remembered): HTML 4.01 Transitional, or Frameset for framesets, in quirks mode";
}

std::string LevelText(int level)
{
    switch (level) {
    case level::kA: return "A";
    case level::kAA: return "AA";
    case level::kAAA: return "AAA";
    case level::kWcag22A: return "2.2-A";
    case level::kWcag22AA: return "2.2-AA";
    case level::kWcag22AAA: return "2.2-AAA";
    default: return "508";
    }
}

std::string FileSaveText(int mode)
{
    switch (mode) {
    case filesaves::kReplace: return "replace";
    case filesaves::kReplaceKeepOriginal: return "backup";
    case filesaves::kBeside: return "beside";
    default: return "ask";
    }
}

std::string ToLowerAscii(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c); });
    return text;
}

const char* YesNo(bool on) { return on ? "yes" : "no"; }

std::optional<bool> ParseYesNo(const std::string& text)
{
    if (text == "yes" || text == "on" || text == "1")
        return true;
    if (text == "no" || text == "off" || text == "0")
        return false;
    return std::nullopt;
}

// One entry per check name: pre and xmp share theirs.
std::vector<const CheckSetting*> ChecksOnce(const COrvaneSettings& settings)
{
    std::vector<const CheckSetting*> checks;
    std::set<std::string> seen;
    for (const auto& check : settings.CheckSettings()) {
        if (seen.insert(check->Name()).second)
            checks.push_back(check.get());
    }
    return checks;
}

void Show(const COrvaneSettings& settings, std::ostream& out)
{
    out << "level: " << LevelText(settings.GetConformanceLevel()) << '\n'
        << "file-save: " << FileSaveText(settings.GetFileSaves()) << '\n'
        << "original-extension: " << settings.GetOriginalExtension() << '\n'
        << "validated-extension: " << settings.GetValidateExtension() << '\n'
        << "insert-icon: " << YesNo(settings.GetInsertIcon()) << '\n'
        << "icons-location: " << settings.GetIconsLocation() << '\n'
        << "ignore-repaired: " << YesNo(settings.GetIgnoreRepaired()) << '\n'
        << "show-settled: " << YesNo(settings.GetShowSettled()) << '\n'
        << "aria-names: " << YesNo(settings.GetAriaNames()) << '\n';
    const CheckSetting* language = Named(settings, kLanguageCheck);
    out << "language: "
        << (language && !language->Text1().empty() ? language->Text1() : std::string("the page's own (nothing remembered): declared, else identified from its text")) << '\n'
        << "doctype: " << DoctypeText(settings) << '\n';
    const std::vector<const CheckSetting*> checks = ChecksOnce(settings);
    std::size_t width = 5;
    for (const CheckSetting* check : checks)
        width = std::max(width, check->Name().size());
    auto pad = [&](const std::string& text, std::size_t to) { return text + std::string(to - std::min(to, text.size()), ' '); };
    out << '\n' << pad("check", width) << "  applies  always-include  auto-repair  title\n";
    for (const CheckSetting* check : checks) {
        const bool applies =
            settings.CheckApplies(check->Family(), check->CheckBit(), check->Priority(), check->IsSection508());
        const int mode = check->AutoRepairMode();
        const std::string repair = mode == autorepair::kNotOffered ? "-" : mode == autorepair::kOn ? "on" : "off";
        out << pad(check->Name(), width) << "  " << pad(YesNo(applies), 7) << "  " << pad(YesNo(check->AlwaysInclude()), 14)
            << "  " << pad(repair, 11) << "  " << check->Title() << '\n';
    }
}

// A list of check names, each checked against those it may name; a message when one is not among them.
std::string CheckNames(const std::string& setting, const std::vector<std::string>& names,
                       const std::vector<std::string>& valid)
{
    for (const std::string& name : names) {
        if (std::find(valid.begin(), valid.end(), name) == valid.end())
            return setting + ": " + name + " is not one of: " + JoinList(valid);
    }
    return {};
}

bool Listed(const std::vector<std::string>& names, const std::string& name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

using Change = std::function<void(COrvaneSettings&)>;

// Turns one NAME=VALUE into a change of the record; a message naming what is
// valid when the name or the value is not.
std::string ParseSetting(const std::string& assignment, const COrvaneSettings& settings, std::vector<Change>& changes)
{
    const std::size_t equals = assignment.find('=');
    if (equals == std::string::npos)
        return "--set takes NAME=VALUE, with NAME one of: " + std::string(kNames);
    const std::string name = assignment.substr(0, equals);
    const std::string value = assignment.substr(equals + 1);
    if (name == "level") {
        const std::optional<int> level = ParseLevel(value);
        if (!level)
            return "level: " + value + " is not one of: A, AA, AAA, 508, 2.2-A, 2.2-AA, 2.2-AAA";
        changes.push_back([level](COrvaneSettings& s) { s.SetConformanceLevel(*level); });
    } else if (name == "file-save") {
        static const std::vector<std::string> kModes = {"replace", "backup", "beside", "ask"};
        const auto found = std::find(kModes.begin(), kModes.end(), value);
        if (found == kModes.end())
            return "file-save: " + value + " is not one of: " + JoinList(kModes);
        const int mode = static_cast<int>(found - kModes.begin());
        changes.push_back([mode](COrvaneSettings& s) { s.SetFileSaves(mode); });
    } else if (name == "original-extension" || name == "validated-extension") {
        if (value.size() < 2 || value[0] != '.' || value.find('/') != std::string::npos ||
            value.size() >= kExtensionBuffer)
            return name + ": " + value + " is no extension: a dot, then up to " +
                   std::to_string(kExtensionBuffer - 2) + " characters without a slash";
        if (name == "original-extension")
            changes.push_back([value](COrvaneSettings& s) { s.SetOriginalExtension(value); });
        else
            changes.push_back([value](COrvaneSettings& s) { s.SetValidateExtension(value); });
    } else if (name == "insert-icon" || name == "ignore-repaired" || name == "show-settled" ||
               name == "aria-names") {
        const std::optional<bool> on = ParseYesNo(value);
        if (!on)
            return name + ": " + value + " is not one of: yes, no";
        if (name == "insert-icon")
            changes.push_back([on](COrvaneSettings& s) { s.SetInsertIcon(*on); });
        else if (name == "aria-names")
            changes.push_back([on](COrvaneSettings& s) { s.SetAriaNames(*on); });
        else if (name == "show-settled")
            changes.push_back([on](COrvaneSettings& s) { s.SetShowSettled(*on); });
        else
            changes.push_back([on](COrvaneSettings& s) { s.SetIgnoreRepaired(*on); });
    } else if (name == "icons-location") {
        if (value.size() >= kIconsLocationBuffer)
            return "icons-location: longer than " + std::to_string(kIconsLocationBuffer - 1) + " characters";
        changes.push_back([value](COrvaneSettings& s) { s.SetIconsLocation(value); });
    } else if (name == "auto-repair" || name == "always-include") {
        // The list is the whole set: the checks named are switched on, the others off.
        const bool repair = name == "auto-repair";
        std::vector<std::string> valid;
        for (const CheckSetting* check : ChecksOnce(settings)) {
            if (!repair || check->AutoRepairMode() != autorepair::kNotOffered)
                valid.push_back(check->Name());
        }
        const std::vector<std::string> names = SplitList(value);
        if (std::string problem = CheckNames(name, names, valid); !problem.empty())
            return problem;
        changes.push_back([names, repair](COrvaneSettings& s) {
            for (const auto& check : s.CheckSettings()) {
                const bool on = Listed(names, check->Name());
                if (repair)
                    check->SetAutoRepairMode(on ? autorepair::kOn : autorepair::kOff);
                else
                    check->SetAlwaysInclude(on);
            }
        });
    } else if (name == "language") {
        // What the language repair puts in, as the desktop tool remembers it.
        const std::string code = ToLowerAscii(value);
        CLanguageCodeList& codes = CLanguageCodeList::Library();
        codes.Load();
        if (!code.empty() && (code.size() > 3 || !codes.IsValidCode(code)))
            return "language: " + value + " is no language code of the code list (such as en, de, fr)";
        changes.push_back([code](COrvaneSettings& s) {
            for (const auto& check : s.CheckSettings()) {
                if (check->Name() == kLanguageCheck)
                    check->SetText1(code);
            }
        });
    } else if (name == "doctype") {
        const auto found = std::find_if(kDoctypes.begin(), kDoctypes.end(),
                                        [&](const auto& doctype) { return doctype.first == value; });
        if (found == kDoctypes.end())
            return "doctype: " + value + " is not one of: frameset, transitional, strict";
        const auto id = static_cast<std::int16_t>(found->second);
        changes.push_back([id](COrvaneSettings& s) {
            for (const auto& check : s.CheckSettings()) {
                if (check->Name() == kDoctypeCheck)
                    check->SetRememberedNumber(id);
            }
        });
    } else {
        return "no setting is called " + name + "; the settings are: " + kNames;
    }
    return {};
}

} // namespace

int RunSettings(const Arguments& args, std::ostream& out, std::ostream& err)
{
    CommandLine line;
    if (std::optional<int> status = ReadCommandLine("settings", args, line, out, err))
        return *status;
    std::vector<std::string> assignments;
    for (const GivenOption& given : line.options) {
        if (given.spec->id == OptionId::Set)
            assignments.push_back(given.value);
    }
    COrvaneSettings settings;
    settings.Load();
    if (assignments.empty()) {
        Show(settings, out);
        return kExitOk;
    }
    // Every change is checked before any is made: a bad one leaves the store as it was.
    std::vector<Change> changes;
    for (const std::string& assignment : assignments) {
        if (std::string problem = ParseSetting(assignment, settings, changes); !problem.empty()) {
            err << "orvane settings: " << problem << "; nothing was changed\n";
            return kExitError;
        }
    }
    for (const Change& change : changes)
        change(settings);
    if (settings.IsOriginalExtensionChanged() || settings.IsValidateExtensionChanged()) {
        const std::string problem =
            SaveExtensionsProblem(settings.GetOriginalExtension(), settings.GetValidateExtension());
        if (!problem.empty()) {
            err << "orvane settings: " << problem << "; nothing was changed\n";
            return kExitError;
        }
    }
    if (settings.Save() != 1) {
        err << "orvane settings: the settings could not be saved\n";
        return kExitError;
    }
    return kExitOk;
}

} // namespace orvane::cli
