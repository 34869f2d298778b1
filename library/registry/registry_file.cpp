// Loading and saving the registry file.
#include "object_database.h"

#include "registry_changed.h"
#include "registry_messages.h"
#include "registry_line_reader.h"
#include "registry_reader.h"
#include "registry_writer.h"

#include "platform/file_system.h"
#include "platform/services.h"
#include "platform/xml_dom.h"

#include <chrono>
#include <ctime>
#include <filesystem>
#include <new>
#include <optional>
#include <string_view>
#include <system_error>

namespace orvane {
namespace {

std::string TimeStamp()
{
    std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    char text[32] = {};
    if (const std::tm* local = std::localtime(&now))
        std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", local);
    return text;
}

void ShowMessage(const std::string& text)
{
    const auto& strings = platform::Strings();
    platform::Prompt().Show(strings.Get(registry_strings::kCaption), text, platform::PromptIcon::Exclamation,
                            platform::PromptButtons::Ok);
}

// A merge in version control that stopped at a conflict leaves its marks at
// the start of lines; such a file needs a person, not a new registry.
bool HasMergeConflictMarks(std::string_view text)
{
    for (std::size_t at = 0; at < text.size();) {
        if (text.substr(at, 7) == "<<<<<<<")
            return true;
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos)
            break;
        at = end + 1;
    }
    return false;
}

} // namespace

int CSrcObjectDatabase::Load()
{
    Clear();
    m_fileUnreadable = false;
    m_mergeConflict = false;
    const std::string path = FilePath();
    std::optional<std::string> bytes = platform::ReadWholeFile(path);
    if (!bytes) {
        // Whatever stands there and cannot be read is not ours to replace.
        m_fileUnreadable = platform::FileExists(path);
        return 0;
    }
    try {
        // The layout this version writes is read without building a tree;
        // anything else goes through the XML reader, which also says whether
        // the file is damaged.
        if (ReadRegistryLines(*bytes, *this)) {
            m_loaded = true;
            SetRegistryChanged(false);
            return 1;
        }
        Clear();
        platform::CXmlDocument xml;
        // Any other XML file is not ours to replace at the next save.
        if (!xml.LoadBytes(*bytes) || !IsRegistryRoot(*xml.Root())) {
            m_fileUnreadable = true;
            m_mergeConflict = !xml.IsLoaded() && HasMergeConflictMarks(*bytes);
            return 0;
        }
        ReadRegistry(*xml.Root(), *this, xml.DeclaredEncoding());
    } catch (const std::bad_alloc&) {
        Clear();
        m_fileUnreadable = true;
        return 0;
    }
    m_loaded = true;
    SetRegistryChanged(false);
    return 1;
}

bool CSrcObjectDatabase::SetAsideUnreadableFile()
{
    std::string path = FilePath();
    const std::string base = path + ".unreadable-" + TimeStamp();
    std::string kept = base;
    for (int n = 2; platform::FileExists(kept) && n < 100; ++n)
        kept = base + "-" + std::to_string(n);
    std::error_code error;
    if (!platform::FileExists(kept))
        std::filesystem::rename(path, kept, error);
    if (error || !platform::FileExists(kept)) {
        // Said once a process: every later session would only repeat it.
        static bool told = false;
        if (!told) {
            told = true;
            ShowMessage(platform::Strings().Format(registry_strings::kUnreadableNotSaved, {path}));
        }
        return false;
    }
    ShowMessage(platform::Strings().Format(
        m_mergeConflict ? registry_strings::kMergeConflictKept : registry_strings::kUnreadableKept, {path, kept}));
    return true;
}

int CSrcObjectDatabase::Save()
{
    if (!RegistryChanged())
        return 1;
    std::string path = FilePath();
    if (m_fileUnreadable && platform::FileExists(path)) {
        if (!SetAsideUnreadableFile())
            return 0;
    }
    m_fileUnreadable = false;
    bool written = platform::WriteFileAtomically(path, [this](std::ostream& out) {
        try {
            return WriteRegistry(out, *this);
        } catch (const std::bad_alloc&) {
            return false;
        }
    });
    if (!written)
        return 0;
    SetRegistryChanged(false);
    return 1;
}

} // namespace orvane
