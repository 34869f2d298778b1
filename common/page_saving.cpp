#include "page_saving.h"

#include "common/page_extensions.h"
#include "platform/file_system.h"

#include <filesystem>
#include <optional>

namespace orvane {
namespace {

namespace fs = std::filesystem;

// How far a series of numbered names is tried before a save gives up.
constexpr int kNumberedNames = 1000;

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

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// A copy of from under the first name of the series nobody has; empty when
// none could be made.
std::string CopyToFreeName(IPageSaveFiles& files, const std::string& from, const std::string& name)
{
    for (int i = 0; i < kNumberedNames; ++i) {
        const std::string candidate = NumberedName(name, i);
        if (candidate == from)
            continue;
        if (files.Copy(from, candidate))
            return candidate;
        if (!files.Exists(candidate))
            return {};
    }
    return {};
}

// The page written to the first name of the series nobody has, made by this
// call before it is written; empty when it could not be written anywhere.
// With sameBytesWillDo, an earlier name of the series that already holds
// what was written is kept instead of the new one.
std::string WriteToFreeName(IPageSaveFiles& files, const PageWriter& write, const std::string& page,
                            const std::string& name, bool sameBytesWillDo)
{
    for (int i = 0; i < kNumberedNames; ++i) {
        const std::string candidate = NumberedName(name, i);
        if (candidate == page)
            continue;
        if (!files.Claim(candidate, page)) {
            if (files.Exists(candidate))
                continue;
            return {};
        }
        if (!write(candidate)) {
            files.Remove(candidate);
            return {};
        }
        for (int j = 0; sameBytesWillDo && j < i; ++j) {
            const std::string earlier = NumberedName(name, j);
            if (earlier != page && files.SameBytes(earlier, candidate)) {
                files.Remove(candidate);
                return earlier;
            }
        }
        return candidate;
    }
    return {};
}

} // namespace

bool CDiskPageSaveFiles::Exists(const std::string& path) const
{
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

bool CDiskPageSaveFiles::Copy(const std::string& from, const std::string& to)
{
    return platform::CopyToNewFile(from, to);
}

bool CDiskPageSaveFiles::Claim(const std::string& path, const std::string& like)
{
    return platform::CreateNewFile(path, like);
}

bool CDiskPageSaveFiles::SameBytes(const std::string& one, const std::string& other) const
{
    const std::optional<std::string> first = platform::ReadWholeFile(one);
    return first && first == platform::ReadWholeFile(other);
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

std::string SavedNameOf(const std::string& path, const std::string& extension)
{
    const std::string wanted = Lower(extension);
    std::string_view longest;
    for (std::string_view page : kPageExtensions) {
        if (wanted.size() > page.size() && wanted.compare(0, page.size(), page) == 0 && page.size() > longest.size())
            longest = page;
    }
    const std::string own = PageExtensionOf(path);
    if (!longest.empty() && Lower(own) == longest)
        return PageBaseOf(path) + extension;
    return path + extension;
}

std::string NumberedName(const std::string& name, int number)
{
    return number == 0 ? name : name + "." + std::to_string(number);
}

bool SavePageOver(IPageSaveFiles& files, const PageWriter& write, const std::string& target)
{
    if (!files.Exists(target)) {
        if (!files.Claim(target, target))
            return false;
        if (write(target))
            return true;
        files.Remove(target);
        return false;
    }
    const std::string aside = CopyToFreeName(files, target, target + ".tmp");
    if (aside.empty())
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
    const std::string aside = CopyToFreeName(files, path, path + ".tmp");
    if (aside.empty()) {
        result.noCopyAside = true;
        result.saved = WriteToFreeName(files, write, path, PageBaseOf(path) + "-valid" + PageExtensionOf(path), false);
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
    const std::string backup = CopyToFreeName(files, path, SavedNameOf(path, originalExtension));
    if (backup.empty())
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
    result.saved = WriteToFreeName(files, write, path, SavedNameOf(path, validatedExtension), true);
    return result;
}

} // namespace orvane
