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
    // its permissions and time; fails (and changes nothing) when the name is
    // taken, even by another program in the same moment.
    virtual bool Copy(const std::string& from, const std::string& to) = 0;
    // An empty file under a new name, with the permissions of the file like;
    // fails (and changes nothing) when the name is taken.
    virtual bool Claim(const std::string& path, const std::string& like) = 0;
    // Both files are there and hold the same bytes.
    virtual bool SameBytes(const std::string& one, const std::string& other) const = 0;
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
    bool Claim(const std::string& path, const std::string& like) override;
    bool SameBytes(const std::string& one, const std::string& other) const override;
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

// The name a page's backup or repaired copy takes under a configured
// extension. The extension takes the place of the page's own when it begins
// with it (the longest page extension that does: ".html" in ".htmlold", so
// "a.html" gives "a.htmlold"); otherwise it follows the whole name ("a.htm"
// gives "a.htm.htmlold"), so that pages of one base name get names of their own.
std::string SavedNameOf(const std::string& path, const std::string& extension);
// The n-th name of a series: the name itself, then "NAME.1", "NAME.2"...
// The number follows the whole name, so no two series share a name.
std::string NumberedName(const std::string& name, int number);

// Writes to target, which the user chose by name. What a file already there
// held is copied aside first and put back when the write fails, and a new
// file that failed half-way goes. The file stays in its place, so it keeps
// its permissions and owner.
bool SavePageOver(IPageSaveFiles& files, const PageWriter& write, const std::string& target);

// None of the saves below writes over a file it did not make in the same
// call, but the page itself (in place): a backup or a repaired copy goes to
// the first name of its series nobody has, made there exclusively, so that
// two runs at once never take the same name.

// Over the original, without a backup. Should no copy of it fit aside for
// the time of the write, the repaired page goes beside it ("-valid").
PageSaveResult SavePageReplacing(IPageSaveFiles& files, const PageWriter& write, const std::string& path);
// Over the original, which is kept under SavedNameOf(path, originalExtension)
// (numbered when that is taken: an older backup is never written over).
PageSaveResult SavePageKeepingBackup(IPageSaveFiles& files, const PageWriter& write, const std::string& path,
                                     const std::string& originalExtension);
// Beside the original, which is not touched, under SavedNameOf(path,
// validatedExtension), numbered when that is taken by other bytes; a copy
// of the series that already holds the same bytes is the one kept.
PageSaveResult SavePageBeside(IPageSaveFiles& files, const PageWriter& write, const std::string& path,
                              const std::string& validatedExtension);

} // namespace orvane
