#pragma once

// What the selector needs of the file system: folders to list, files to
// copy aside and put back around a save, the mounted file systems and the user's
// special folders. Tests hand the window a file system that fails where they
// want it to.

#include "common/page_saving.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvane::selector {

struct FolderEntry {
    std::string name;
    bool folder = false;     // a folder, or a link to one
    bool link = false;       // a symbolic link (the selector's shortcut)
    std::int64_t size = 0;   // bytes, of the file a link leads to
    std::int64_t time = 0;   // last modification, seconds since the epoch
};

// Kinds of look-in entries for mounted file systems.
namespace mountkind {
constexpr int kFixed = 0, kRemovable = 1, kOptical = 6, kNetwork = 8;
}

struct MountPoint {
    std::string path;
    int kind = mountkind::kFixed;
};

struct SpecialFolders {
    std::string desktop;
    std::string documents;
};

// Besides what a save needs (Exists, Copy, Claim, SameBytes, PutBack, Remove):
class ISelectorFiles : public IPageSaveFiles {
public:
    // A folder the user can open and list.
    virtual bool CanEnter(const std::string& folder) const = 0;
    // The folder's entries, without "." and ".."; those read before a failure.
    virtual std::vector<FolderEntry> List(const std::string& folder) const = 0;
    // One entry as List gives it (its name the path's last part); nothing when it is not there.
    virtual std::optional<FolderEntry> Describe(const std::string& path) const = 0;
    virtual std::optional<std::int64_t> ModificationTime(const std::string& path) const = 0;
    // Where a symbolic link finally leads; empty when it leads nowhere.
    virtual std::string LinkTarget(const std::string& path) const = 0;
    virtual std::vector<MountPoint> MountPoints() const = 0;
    virtual SpecialFolders Special() const = 0;
    virtual std::string CurrentDirectory() const = 0;
    virtual std::string HomeFolder() const = 0;
    // The name of the entry's type ("HTML document"), for the type column.
    virtual std::string TypeName(const std::string& path, bool folder) const = 0;
};

// The real file system, through the standard library. The desktop can give
// better type names than the extension.
class CDiskFiles : public ISelectorFiles {
public:
    using TypeNamer = std::function<std::string(const std::string& path, bool folder)>;
    void SetTypeNamer(TypeNamer namer) { m_typeNamer = std::move(namer); }

    bool CanEnter(const std::string& folder) const override;
    std::vector<FolderEntry> List(const std::string& folder) const override;
    std::optional<FolderEntry> Describe(const std::string& path) const override;
    bool Exists(const std::string& path) const override;
    std::optional<std::int64_t> ModificationTime(const std::string& path) const override;
    bool Copy(const std::string& from, const std::string& to) override;
    bool Claim(const std::string& path, const std::string& like) override;
    bool SameBytes(const std::string& one, const std::string& other) const override;
    bool PutBack(const std::string& copy, const std::string& path) override;
    bool Remove(const std::string& path) override;
    std::string LinkTarget(const std::string& path) const override;
    std::vector<MountPoint> MountPoints() const override;
    SpecialFolders Special() const override;
    std::string CurrentDirectory() const override;
    std::string HomeFolder() const override;
    std::string TypeName(const std::string& path, bool folder) const override;

private:
    TypeNamer m_typeNamer;
    CDiskPageSaveFiles m_disk;
};

// The mounted file systems a user browses, from the text of a mount table
// (/proc/self/mounts): real devices and network shares, without the system's
// own pseudo file systems and images; "/" and the home folder always.
std::vector<MountPoint> ParseMountTable(const std::string& table, const std::string& home);

// The desktop and documents folders from the user's xdg-user-dirs file text,
// with ~/Desktop and ~/Documents where it names none.
SpecialFolders ParseUserDirs(const std::string& text, const std::string& home);

// Folder and name joined by one separator.
std::string JoinPath(const std::string& folder, const std::string& name);

} // namespace orvane::selector
