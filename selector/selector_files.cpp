#include "selector_files.h"

#include "platform/file_system.h"
#include "platform/services.h"
#include "selector_ids.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <sstream>

namespace orvane::selector {
namespace {

namespace fs = std::filesystem;

std::int64_t Seconds(fs::file_time_type time)
{
    const auto system = std::chrono::file_clock::to_sys(time);
    return std::chrono::duration_cast<std::chrono::seconds>(system.time_since_epoch()).count();
}

std::string ReadText(const std::string& path) { return platform::ReadWholeFile(path).value_or(std::string()); }

std::string Home()
{
    const char* home = std::getenv("HOME");
    return home && *home ? std::string(home) : std::string("/");
}

// Mount tables write blanks, tabs and backslashes in paths as octal escapes.
std::string Unescape(const std::string& field)
{
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() &&
            std::all_of(field.begin() + static_cast<long>(i) + 1, field.begin() + static_cast<long>(i) + 4,
                        [](char c) { return c >= '0' && c <= '7'; })) {
            out += static_cast<char>(std::stoi(field.substr(i + 1, 3), nullptr, 8));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

FolderEntry EntryOf(const fs::directory_entry& found)
{
    FolderEntry entry;
    entry.name = found.path().filename().string();
    std::error_code ignored;
    entry.link = found.is_symlink(ignored);
    entry.folder = found.is_directory(ignored);
    if (!entry.folder) {
        const std::uintmax_t size = found.file_size(ignored);
        entry.size = ignored ? 0 : static_cast<std::int64_t>(size);
    }
    const fs::file_time_type time = found.last_write_time(ignored);
    entry.time = ignored ? 0 : Seconds(time);
    return entry;
}

bool StartsWith(const std::string& text, std::string_view start) { return text.compare(0, start.size(), start) == 0; }

} // namespace

std::string JoinPath(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return name;
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

std::vector<MountPoint> ParseMountTable(const std::string& table, const std::string& home)
{
    static const std::set<std::string> kNetwork = {"nfs", "nfs4", "cifs", "smb3", "smbfs", "fuse.sshfs", "afs", "9p"};
    static const std::set<std::string> kOptical = {"iso9660", "udf"};
    std::vector<MountPoint> mounts{{"/", mountkind::kFixed}};
    std::istringstream lines(table);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string device, path, type;
        if (!(fields >> device >> path >> type))
            continue;
        path = Unescape(path);
        MountPoint mount{path, mountkind::kFixed};
        if (kNetwork.count(type))
            mount.kind = mountkind::kNetwork;
        else if (!StartsWith(device, "/dev/") || StartsWith(device, "/dev/loop"))
            continue; // the system's own file systems, and images such as snaps
        else if (kOptical.count(type))
            mount.kind = mountkind::kOptical;
        else if (StartsWith(path, "/media/") || StartsWith(path, "/run/media/"))
            mount.kind = mountkind::kRemovable;
        if (StartsWith(path, "/boot") || StartsWith(path, "/snap/") || path == "/" || path == "[SWAP]")
            continue;
        mounts.push_back(mount);
    }
    if (!home.empty() && home != "/")
        mounts.push_back({home, mountkind::kFixed});
    std::sort(mounts.begin() + 1, mounts.end(), [](const MountPoint& a, const MountPoint& b) { return a.path < b.path; });
    mounts.erase(std::unique(mounts.begin(), mounts.end(),
                             [](const MountPoint& a, const MountPoint& b) { return a.path == b.path; }),
                 mounts.end());
    return mounts;
}

SpecialFolders ParseUserDirs(const std::string& text, const std::string& home)
{
    SpecialFolders folders{JoinPath(home, "Desktop"), JoinPath(home, "Documents")};
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        const std::size_t equals = line.find('=');
        if (line.empty() || line[0] == '#' || equals == std::string::npos)
            continue;
        const std::string name = line.substr(0, equals);
        std::string value = line.substr(equals + 1);
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        if (StartsWith(value, "$HOME"))
            value = home + value.substr(5);
        if (value.empty() || value[0] != '/')
            continue;
        if (name == "XDG_DESKTOP_DIR")
            folders.desktop = value;
        else if (name == "XDG_DOCUMENTS_DIR")
            folders.documents = value;
    }
    return folders;
}

bool CDiskFiles::CanEnter(const std::string& folder) const
{
    std::error_code error;
    fs::directory_iterator probe(folder, error);
    return !error && fs::is_directory(folder, error);
}

std::vector<FolderEntry> CDiskFiles::List(const std::string& folder) const
{
    std::vector<FolderEntry> entries;
    std::error_code error;
    fs::directory_iterator it(folder, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error))
        entries.push_back(EntryOf(*it));
    return entries;
}

std::optional<FolderEntry> CDiskFiles::Describe(const std::string& path) const
{
    if (!Exists(path))
        return std::nullopt;
    std::error_code error;
    const fs::directory_entry entry(path, error);
    if (error)
        return std::nullopt;
    return EntryOf(entry);
}

bool CDiskFiles::Exists(const std::string& path) const { return m_disk.Exists(path); }

std::optional<std::int64_t> CDiskFiles::ModificationTime(const std::string& path) const
{
    std::error_code error;
    const fs::file_time_type time = fs::last_write_time(path, error);
    if (error)
        return std::nullopt;
    return Seconds(time);
}

bool CDiskFiles::Copy(const std::string& from, const std::string& to) { return m_disk.Copy(from, to); }

bool CDiskFiles::Claim(const std::string& path, const std::string& like) { return m_disk.Claim(path, like); }

bool CDiskFiles::SameBytes(const std::string& one, const std::string& other) const
{
    return m_disk.SameBytes(one, other);
}

bool CDiskFiles::PutBack(const std::string& copy, const std::string& path) { return m_disk.PutBack(copy, path); }

bool CDiskFiles::Remove(const std::string& path) { return m_disk.Remove(path); }

std::string CDiskFiles::LinkTarget(const std::string& path) const
{
    std::error_code error;
    fs::path target = fs::canonical(path, error);
    return error ? std::string() : target.string();
}

std::vector<MountPoint> CDiskFiles::MountPoints() const
{
    return ParseMountTable(ReadText("/proc/self/mounts"), Home());
}

SpecialFolders CDiskFiles::Special() const
{
    const std::string home = Home();
    std::string config;
    if (const char* configHome = std::getenv("XDG_CONFIG_HOME"); configHome && *configHome)
        config = configHome;
    else
        config = JoinPath(home, ".config");
    return ParseUserDirs(ReadText(JoinPath(config, "user-dirs.dirs")), home);
}

std::string CDiskFiles::CurrentDirectory() const
{
    std::error_code error;
    fs::path current = fs::current_path(error);
    return error ? Home() : current.string();
}

std::string CDiskFiles::HomeFolder() const { return Home(); }

std::string CDiskFiles::TypeName(const std::string& path, bool folder) const
{
    if (m_typeNamer) {
        std::string name = m_typeNamer(path, folder);
        if (!name.empty())
            return name;
    }
    if (folder)
        return platform::Strings().Get(text::kTypeFolder);
    std::string extension = fs::path(path).extension().string();
    if (!extension.empty())
        extension.erase(0, 1);
    if (extension.empty())
        return platform::Strings().Get(text::kTypeUnknown);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return platform::Strings().Format(text::kTypeFile, {extension});
}

} // namespace orvane::selector
