#include "page_saving.h"

#include "platform/file_system.h"

#include <filesystem>
#include <optional>

namespace orvane {
namespace {

namespace fs = std::filesystem;

// Writes the page over the original, of which kept is a copy: when the write
// fails the copy's bytes go back into the page.
bool SaveInPlace(IPageSaveFiles& files, const PageWriter& write, const std::string& path, const std::string& kept,
                 PageSaveResult& result)
{
    if (write(path))
        return true;
    if (!files.PutBack(kept, path))
        result.originalKeptIn = kept;
    return false;
}

} // namespace

bool CDiskPageSaveFiles::Exists(const std::string& path) const
{
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

bool CDiskPageSaveFiles::Copy(const std::string& from, const std::string& to)
{
    if (Exists(to))
        return false;
    std::error_code error;
    if (!fs::copy_file(from, to, fs::copy_options::none, error)) {
        fs::remove(to, error);
        return false;
    }
    // The copy is the page as it was, down to its time.
    const fs::file_time_type time = fs::last_write_time(from, error);
    if (!error)
        fs::last_write_time(to, time, error);
    return true;
}

bool CDiskPageSaveFiles::PutBack(const std::string& copy, const std::string& path)
{
    const std::optional<std::string> kept = platform::ReadWholeFile(copy);
    if (!kept)
        return false;
    if (platform::ReadWholeFile(path) != kept) {
        const bool written = platform::WriteFileAtomically(path, [&](std::ostream& out) {
            out.write(kept->data(), static_cast<std::streamsize>(kept->size()));
            return static_cast<bool>(out);
        });
        if (!written)
            return false;
    }
    Remove(copy);
    return true;
}

bool CDiskPageSaveFiles::Remove(const std::string& path)
{
    std::error_code error;
    return fs::remove(path, error);
}

std::string PageExtensionOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    return path.substr(dot);
}

std::string PageBaseOf(const std::string& path) { return path.substr(0, path.size() - PageExtensionOf(path).size()); }

std::string FreePageName(const IPageSaveFiles& files, const std::string& base, const std::string& extension)
{
    std::string name = base + extension;
    for (int i = 0; files.Exists(name) && i < 1000; ++i)
        name = base + std::to_string(i) + extension;
    return files.Exists(name) ? std::string() : name;
}

bool SavePageOver(IPageSaveFiles& files, const PageWriter& write, const std::string& target)
{
    if (!files.Exists(target)) {
        if (write(target))
            return true;
        files.Remove(target);
        return false;
    }
    const std::string aside = FreePageName(files, PageBaseOf(target), ".tmp");
    if (aside.empty() || !files.Copy(target, aside))
        return false;
    if (write(target)) {
        files.Remove(aside);
        return true;
    }
    files.PutBack(aside, target);
    return false;
}

PageSaveResult SavePageReplacing(IPageSaveFiles& files, const PageWriter& write, const std::string& path)
{
    PageSaveResult result;
    const std::string base = PageBaseOf(path);
    const std::string aside = FreePageName(files, base, ".tmp");
    if (aside.empty() || !files.Copy(path, aside)) {
        result.noCopyAside = true;
        const std::string beside = base + "-valid" + PageExtensionOf(path);
        if (SavePageOver(files, write, beside))
            result.saved = beside;
        return result;
    }
    if (!SaveInPlace(files, write, path, aside, result))
        return result;
    files.Remove(aside);
    result.saved = path;
    return result;
}

PageSaveResult SavePageKeepingBackup(IPageSaveFiles& files, const PageWriter& write, const std::string& path,
                                     const std::string& originalExtension)
{
    PageSaveResult result;
    const std::string base = PageBaseOf(path);
    std::string backup = base + originalExtension;
    for (int i = 0; i < 100 && files.Exists(backup); ++i)
        backup = base + std::to_string(i) + originalExtension;
    if (files.Exists(backup) || !files.Copy(path, backup))
        return result;
    if (!SaveInPlace(files, write, path, backup, result))
        return result;
    result.saved = path;
    result.backup = backup;
    return result;
}

PageSaveResult SavePageBeside(IPageSaveFiles& files, const PageWriter& write, const std::string& path,
                              const std::string& validatedExtension)
{
    PageSaveResult result;
    const std::string beside = PageBaseOf(path) + validatedExtension;
    if (SavePageOver(files, write, beside))
        result.saved = beside;
    return result;
}

} // namespace orvane
