#pragma once

#include <functional>
#include <istream>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

namespace orvane::platform {

// Paths are the file system's own bytes: any name a file can have opens,
// whether or not it is valid UTF-8.

// Opens a file for reading its bytes; null with a reason in *error when it
// cannot be read. Only regular files (or links to one) are opened: a pipe
// would block the reader and a device could hand out bytes without end.
std::unique_ptr<std::istream> OpenForReading(const std::string& path, std::string* error = nullptr);

// A file's bytes, read through OpenForReading; nothing when it cannot be opened.
std::optional<std::string> ReadWholeFile(const std::string& path);

// Writes a file through a temporary file beside it that replaces the target
// only once everything was written: a failed write leaves the target as it was.
// write returns false to abandon the file.
// The new file keeps what the replaced one had besides its bytes: its
// permissions, and its owner and group where the system lets the user give
// them. A symbolic link is written through: the file it leads to gets the
// bytes, and the link stays.
bool WriteFileAtomically(const std::string& path, const std::function<bool(std::ostream&)>& write,
                         std::string* error = nullptr);

// The temporary file is made with the replaced file's permissions from the
// start, so that nobody reads the new bytes who could not read the old, and
// takes over its extended attributes where the system allows. The rename
// gives the path a file of its own: other hard links to the old file keep
// the old bytes.

// Makes an empty file under a name nobody has taken, with the permissions of
// the file `like` (the usual ones when like cannot be read); false, touching
// nothing, when the name is taken or cannot be made.
bool CreateNewFile(const std::string& path, const std::string& like);

// A copy of a file (of the file a link leads to) under a name nobody has
// taken, with its permissions and modification time. A name that is taken
// fails (and what has it stays); a copy that fails half-way goes again.
bool CopyToNewFile(const std::string& from, const std::string& to, std::string* error = nullptr);

// Where WriteFileAtomically(path) puts its temporary file (beside the file a
// link leads to). Whatever other than a file stands there makes the write fail.
std::string TemporaryPathFor(const std::string& path);

bool FileExists(const std::string& path);

// A process run with rights to read any file (as tests are in CI) cannot take
// a file's read permission away. While the guard lives, OpenForReading fails
// for the file the path names (found again under another name, as a file
// without read permission would be) with the reason permission gives.
class ScopedUnreadableFile {
public:
    explicit ScopedUnreadableFile(const std::string& path);
    ~ScopedUnreadableFile();
    ScopedUnreadableFile(const ScopedUnreadableFile&) = delete;
    ScopedUnreadableFile& operator=(const ScopedUnreadableFile&) = delete;

private:
    unsigned long long m_device = 0;
    unsigned long long m_inode = 0;
};

} // namespace orvane::platform
