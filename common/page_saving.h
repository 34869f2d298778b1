#pragma once

// Writing a repaired page by the user's file-save mode, shared by the
// selector and the command line so that both keep the same promise: the
// original page is never lost, and a write that fails leaves it whole.

#include <functional>
#include <string>

namespace orvane {

// What a save needs of the file system. The selector's tests hand in one
// that fails where they want it to.
class IPageSaveFiles {
public:
    virtual ~IPageSaveFiles() = default;
    // Something of that name is there (a link counts, even one leading nowhere).
    virtual bool Exists(const std::string& path) const = 0;
    // A copy of a file (of the file a link leads to) under a new name, with
    // its permissions and time; fails (and changes nothing) when the name is taken.
    virtual bool Copy(const std::string& from, const std::string& to) = 0;
    // Puts the bytes kept in a copy back into the file when they differ (into
    // the file a link leads to, which keeps its permissions), and removes the
    // copy; false, with the copy kept, when they could not be written.
    virtual bool PutBack(const std::string& copy, const std::string& path) = 0;
    virtual bool Remove(const std::string& path) = 0;
};

// The real file system.
class CDiskPageSaveFiles : public IPageSaveFiles {
public:
    bool Exists(const std::string& path) const override;
    bool Copy(const std::string& from, const std::string& to) override;
    bool PutBack(const std::string& copy, const std::string& path) override;
    bool Remove(const std::string& path) override;
};

// Writes the repaired page to a path; false when it did not get there whole.
using PageWriter = std::function<bool(const std::string& path)>;

// How one save went.
struct PageSaveResult {
    // Where the repaired page now is; empty when it was saved nowhere.
    std::string saved;
    // The copy of the original the backup mode keeps.
    std::string backup;
    // The page's own bytes could not be put back after a failed write in
    // place: they are in this file.
    std::string originalKeptIn;
    // Replacing found no room for the copy it keeps during the write, so the
    // page was not touched (and the repaired one went beside it, when it could).
    bool noCopyAside = false;
};

// The extension of the path's last part, dot included; empty when it has none.
std::string PageExtensionOf(const std::string& path);
// The path without that extension.
std::string PageBaseOf(const std::string& path);

// A name no file has yet: base + extension, else with a number before the extension.
std::string FreePageName(const IPageSaveFiles& files, const std::string& base, const std::string& extension);

// Writes to target. What a file already there held is copied aside first
// and put back when the write fails, and a new file that failed half-way
// goes. The file stays in its place, so it keeps its permissions, owner and links.
bool SavePageOver(IPageSaveFiles& files, const PageWriter& write, const std::string& target);

// Over the original, without a backup. Should no copy of it fit aside for
// the time of the write, the repaired page goes beside it ("-valid").
PageSaveResult SavePageReplacing(IPageSaveFiles& files, const PageWriter& write, const std::string& path);
// Over the original, which is kept under its base name with the original
// extension (numbered when that is taken: an older backup is never written over).
PageSaveResult SavePageKeepingBackup(IPageSaveFiles& files, const PageWriter& write, const std::string& path,
                                     const std::string& originalExtension);
// Beside the original, which is not touched, under the validated extension.
PageSaveResult SavePageBeside(IPageSaveFiles& files, const PageWriter& write, const std::string& path,
                              const std::string& validatedExtension);

} // namespace orvane
