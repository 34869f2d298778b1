#include "file_invariants.h"

#include "fuzz_services.h"

#include "common/orvane_settings.h"
#include "library/html/lang_codes.h"
#include "library/html/text_util.h"
#include "library/registry/object_database.h"
#include "library/registry/registry_changed.h"
#include "library/registry/registry_line_reader.h"
#include "library/registry/registry_reader.h"
#include "library/registry/registry_writer.h"
#include "platform/registry.h"
#include "platform/xml_dom.h"

#include <algorithm>
#include <optional>
#include <sstream>
#include <vector>

namespace orvane::fuzz {
namespace {

namespace fs = std::filesystem;

// A folder made empty, so nothing of an earlier input is read.
bool FreshFolder(const fs::path& folder)
{
    std::error_code error;
    fs::remove_all(folder, error);
    return fs::create_directories(folder, error) || fs::is_directory(folder);
}

// --- The settings store -----------------------------------------------------------

// One value line of a rewritten store, with its key and name in lower case,
// as the store compares them without regard to ASCII case.
struct StoreLine {
    std::string key;
    std::string name;
    std::string line;
    friend bool operator==(const StoreLine&, const StoreLine&) = default;
};

// The value lines of a rewritten store (its own regular spelling: "[key]"
// headers, and lines that begin with the quoted name), leaving out the
// values of the given key named in `except`.
std::vector<StoreLine> ValueLines(std::string_view text, std::string_view exceptKey,
                                  const std::vector<std::string>& except)
{
    std::vector<StoreLine> lines;
    std::string key;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[') {
            key = ToLower(line.substr(1, line.size() - 2));
            continue;
        }
        // The name runs to the first quote no backslash escapes.
        std::string name;
        for (std::size_t i = 1; i < line.size() && line[i] != '"'; ++i) {
            if (line[i] == '\\' && i + 1 < line.size())
                name.push_back(line[i++]);
            name.push_back(line[i]);
        }
        name = ToLower(name);
        if (key == exceptKey && std::find(except.begin(), except.end(), name) != except.end())
            continue;
        lines.push_back({key, name, std::string(line)});
    }
    return lines;
}

// The lines of a store file as the store splits them: at a line feed, a
// carriage return and line feed, or a carriage return alone, after a byte
// order mark.
std::vector<std::string> StoreFileLines(std::string_view text)
{
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    std::vector<std::string> lines;
    while (!text.empty()) {
        std::size_t end = text.find_first_of("\r\n");
        lines.emplace_back(text.substr(0, end));
        if (end == std::string_view::npos)
            break;
        end += text.compare(end, 2, "\r\n") == 0 ? 2 : 1;
        text.remove_prefix(end);
    }
    return lines;
}

// The lines of a store file that no store can take for its own and rewrite
// in its spelling: not blank, no key heading, no quoted value name at their
// start, and none of the store's own opening comment.
std::vector<std::string> ForeignLines(std::string_view text)
{
    const std::vector<std::string> opening = StoreFileLines(platform::RewrittenStoreText("").value_or(""));
    std::vector<std::string> foreign;
    for (std::string& line : StoreFileLines(text)) {
        std::size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line[start] == '[' || line[start] == '"')
            continue;
        if (std::find(opening.begin(), opening.end(), line.substr(start, line.find_last_not_of(" \t") + 1 - start)) !=
            opening.end())
            continue;
        foreign.push_back(std::move(line));
    }
    std::sort(foreign.begin(), foreign.end());
    return foreign;
}

// The files a store that was no store was set aside as.
std::vector<fs::path> SetAsideStores(const fs::path& folder)
{
    std::vector<fs::path> found;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        if (entry.path().filename().string().rfind("UserRegistry.reg.unreadable-", 0) == 0)
            found.push_back(entry.path());
    }
    return found;
}

struct CheckSnapshot {
    bool alwaysInclude;
    int mode;
    int number;
    std::string text1;
    std::string text2;
    friend bool operator==(const CheckSnapshot&, const CheckSnapshot&) = default;
};

struct SettingsSnapshot {
    int fileSaves;
    std::string originalExtension;
    std::string validateExtension;
    int level;
    bool insertIcon;
    std::string iconsLocation;
    bool ignoreRepaired;
    std::vector<CheckSnapshot> checks;
    friend bool operator==(const SettingsSnapshot&, const SettingsSnapshot&) = default;
};

SettingsSnapshot Snapshot(const COrvaneSettings& settings)
{
    SettingsSnapshot s{settings.GetFileSaves(),       settings.GetOriginalExtension(),
                       settings.GetValidateExtension(), settings.GetConformanceLevel(),
                       settings.GetInsertIcon(),        settings.GetIconsLocation(),
                       settings.GetIgnoreRepaired(),    {}};
    for (const auto& entry : settings.CheckSettings())
        s.checks.push_back({entry->AlwaysInclude(), entry->AutoRepairMode(), entry->RememberedNumber(),
                            entry->Text1(), entry->Text2()});
    return s;
}

// What the read buffers allow: a text fits its buffer with its terminating zero.
std::string CheckLimits(const COrvaneSettings& settings)
{
    if (settings.GetFileSaves() < 0 || settings.GetFileSaves() > 0xff)
        return "the file-save mode " + std::to_string(settings.GetFileSaves()) + " is more than a byte";
    if (settings.GetConformanceLevel() < level::kA || settings.GetConformanceLevel() > level::kSection508)
        return "the conformance level " + std::to_string(settings.GetConformanceLevel()) + " is no level";
    if (settings.GetOriginalExtension().size() >= 30 || settings.GetValidateExtension().size() >= 30)
        return "an extension is longer than its buffer";
    if (settings.GetIconsLocation().size() >= 299)
        return "the icons location is longer than its buffer";
    for (const auto& entry : settings.CheckSettings()) {
        if (entry->Text1().size() >= 99 || entry->Text2().size() >= 99)
            return "a text of " + entry->Name() + " is longer than its buffer";
        if (entry->AutoRepairMode() < 0 || entry->AutoRepairMode() > 0xff)
            return "the auto-repair mode of " + entry->Name() + " is more than a byte";
    }
    return {};
}

} // namespace

// --- The object registry ------------------------------------------------------------

std::string CheckRegistryFile(std::string_view bytes, const fs::path& folder)
{
    if (!FreshFolder(folder))
        return "the folder for the registry files cannot be made";
    const fs::path first = folder / "ObjectRegistry.xml";
    const fs::path second = folder / "Saved.xml";
    if (!WriteBytes(first, bytes))
        return "the registry file cannot be written";

    // The reader of the written layout reads only what the XML reader reads, and as it does.
    {
        CSrcObjectDatabase byLines("unused-" + std::string(CSrcObjectDatabase::kFileName));
        if (ReadRegistryLines(bytes, byLines)) {
            platform::CXmlDocument xml;
            if (!xml.LoadBytes(bytes) || !IsRegistryRoot(*xml.Root()))
                return "the reader of the written layout read a file the XML reader refuses";
            CSrcObjectDatabase byTree("unused-" + std::string(CSrcObjectDatabase::kFileName));
            ReadRegistry(*xml.Root(), byTree, xml.DeclaredEncoding());
            if (RegistryText(byLines) != RegistryText(byTree))
                return "the reader of the written layout read other records than the XML reader";
        }
        SetRegistryChanged(false);
    }

    CSrcObjectDatabase registry(first.string());
    if (!registry.Load()) {
        if (registry.IsLoaded() || !registry.Images().empty() || !registry.Documents().empty())
            return "a registry that did not load holds records";
        return {};
    }
    if (RegistryChanged())
        return "loading marked the registry changed";
    for (const auto& document : registry.Documents()) {
        if (registry.FindDocument(document->Name()) != document.get())
            return "the document " + document->Name() + " is not found by its name";
    }

    const std::string text = RegistryText(registry);
    registry.SetFilePath(second.string());
    SetRegistryChanged(true);
    if (!registry.Save())
        return "a loaded registry cannot be saved";
    if (RegistryChanged())
        return "saving left the registry changed";
    if (ReadBytes(second) != text)
        return "the saved file is not the text the registry writes";

    CSrcObjectDatabase again(second.string());
    if (!again.Load())
        return "the saved registry does not load";
    if (RegistryText(again) != text)
        return "the saved registry loads to other records";
    return {};
}

// --- The language codes ---------------------------------------------------------------

std::string CheckLanguageCodes(std::string_view bytes, const fs::path& folder)
{
    CLanguageCodeList fromStream;
    std::istringstream in{std::string(bytes)};
    if (!fromStream.Load(in))
        return "a stream of codes does not load";

    std::size_t pieces = 1 + bytes.size() / CLanguageCodeList::kLineLimit;
    for (char c : bytes)
        pieces += c == '\n';
    if (fromStream.Codes().size() > pieces)
        return "more records than pieces of lines";

    for (const CLanguageRecord& record : fromStream.Codes()) {
        for (const std::string* field : {&record.FirstCode(), &record.SecondCode(), &record.DisplayName()}) {
            if (field->find_first_of(",\n") != std::string::npos)
                return "a field holds a comma or a line feed";
        }
        for (const std::string* code : {&record.FirstCode(), &record.SecondCode()}) {
            if (!code->empty() && IsSpace(code->front()))
                return "the code " + *code + " begins with white space";
            if (!code->empty() && !fromStream.IsValidCode(*code))
                return "the code " + *code + " of a record is not valid";
        }
    }

    if (!FreshFolder(folder) || !WriteBytes(folder / CLanguageCodeList::kFileName, bytes))
        return "the code file cannot be written";
    CLanguageCodeList fromFile;
    if (!fromFile.Load((folder / CLanguageCodeList::kFileName).string()))
        return "the code file does not load";
    if (fromFile.Codes().size() != fromStream.Codes().size())
        return "the file and the stream give different numbers of records";
    for (std::size_t i = 0; i < fromFile.Codes().size(); ++i) {
        const CLanguageRecord& a = fromFile.Codes()[i];
        const CLanguageRecord& b = fromStream.Codes()[i];
        if (a.FirstCode() != b.FirstCode() || a.SecondCode() != b.SecondCode() || a.DisplayName() != b.DisplayName())
            return "record " + std::to_string(i) + " differs between the file and the stream";
    }

    fromFile.Free();
    if (fromFile.IsLoaded() || !fromFile.Codes().empty() || fromFile.IsValidCode("en"))
        return "a freed list still holds codes";
    return {};
}

// --- The settings store -----------------------------------------------------------------

std::string CheckSettingsStore(std::string_view bytes, const fs::path& folder)
{
    if (!FreshFolder(folder))
        return "the folder for the store cannot be made";
    const fs::path file = folder / "UserRegistry.reg";
    if (!WriteBytes(file, bytes))
        return "the store file cannot be written";

    std::unique_ptr<platform::IRegistry> store = platform::CreateFileRegistry(file.string());
    platform::ScopedRegistry scope(*store);
    COrvaneSettings settings;
    settings.Load();
    if (std::string failure = CheckLimits(settings); !failure.empty())
        return failure;
    SettingsSnapshot loaded = Snapshot(settings);

    // One setting changed and saved: the store is rewritten with it (and with
    // the icons location, which is always written).
    // Bytes that are no store are set aside as they stood, and a new store begun.
    const std::optional<std::string> rewritten = platform::RewrittenStoreText(bytes);
    const std::string before = rewritten.value_or("");
    settings.SetIgnoreRepaired(!settings.GetIgnoreRepaired());
    if (!settings.Save())
        return "the settings cannot be saved";
    loaded.ignoreRepaired = !loaded.ignoreRepaired;
    const std::string after = ReadBytes(file);
    if (platform::RewrittenStoreText(after) != after)
        return "the rewritten store is not in the store's own spelling";
    const std::vector<fs::path> setAside = SetAsideStores(folder);
    if (setAside.size() != (rewritten ? 0u : 1u))
        return rewritten ? "a store was set aside" : "a file that is no store was not set aside";
    if (!rewritten && ReadBytes(setAside.front()) != bytes)
        return "the file set aside does not hold the bytes as they stood";

    if (rewritten) {
        const std::vector<std::string> foreign = ForeignLines(bytes);
        const std::vector<std::string> kept = ForeignLines(after);
        if (!std::includes(kept.begin(), kept.end(), foreign.begin(), foreign.end()))
            return "a line the store does not understand was not kept as it stood";
    }

    const std::string key = ToLower(platform::kOrvaneRegistryKey);
    const std::vector<std::string> written{"ignorerepaired", "iconslocation"};
    if (ValueLines(before, key, written) != ValueLines(after, key, written))
        return "a value the save did not write changed or was lost";

    COrvaneSettings reloaded;
    reloaded.Load();
    if (!(Snapshot(reloaded) == loaded))
        return "the saved settings load again to another record";
    return {};
}

} // namespace orvane::fuzz
