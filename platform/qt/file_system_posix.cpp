#include "platform/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstring>
#include <mutex>
#include <optional>
#include <streambuf>
#include <utility>
#include <vector>

// Paths are handed to the system as the bytes they are: a file name that is
// not valid UTF-8 is as legal on Linux as any other and must open as named.
namespace orvane::platform {
namespace {

std::string Reason(int error) { return std::strerror(error); }

void Tell(std::string* error, std::string text)
{
    if (error)
        *error = std::move(text);
}

// Closes the descriptor when it goes; a writer closes it itself to see the result.
class CDescriptor {
public:
    explicit CDescriptor(int fd = -1) : m_fd(fd) {}
    ~CDescriptor() { Close(); }
    CDescriptor(const CDescriptor&) = delete;
    CDescriptor& operator=(const CDescriptor&) = delete;
    int Get() const { return m_fd; }
    int Release() { return std::exchange(m_fd, -1); }
    bool Close()
    {
        const bool closed = m_fd < 0 || ::close(m_fd) == 0;
        m_fd = -1;
        return closed;
    }

private:
    int m_fd;
};

class CFileReadBuffer final : public std::streambuf {
public:
    explicit CFileReadBuffer(int fd) : m_fd(fd) {}

protected:
    int_type underflow() override
    {
        const ssize_t got = ReadSome(m_buffer.data(), m_buffer.size());
        if (got <= 0)
            return traits_type::eof();
        setg(m_buffer.data(), m_buffer.data(), m_buffer.data() + got);
        return traits_type::to_int_type(m_buffer[0]);
    }

    // What is left of a file, so a reader can take a whole page in one place.
    std::streamsize showmanyc() override
    {
        struct stat status {};
        const off_t position = ::lseek(m_fd.Get(), 0, SEEK_CUR);
        if (::fstat(m_fd.Get(), &status) != 0 || position < 0 || status.st_size <= position)
            return 0;
        return static_cast<std::streamsize>(status.st_size - position);
    }

    // Large reads (a page taken in by blocks) go straight to the caller's
    // memory instead of through the buffer.
    std::streamsize xsgetn(char* into, std::streamsize count) override
    {
        std::streamsize done = std::min<std::streamsize>(count, egptr() - gptr());
        if (done > 0) {
            traits_type::copy(into, gptr(), static_cast<std::size_t>(done));
            gbump(static_cast<int>(done));
        }
        while (count - done >= static_cast<std::streamsize>(m_buffer.size())) {
            const ssize_t got = ReadSome(into + done, static_cast<std::size_t>(count - done));
            if (got <= 0)
                return done;
            done += got;
        }
        if (done < count)
            done += std::streambuf::xsgetn(into + done, count - done);
        return done;
    }

private:
    ssize_t ReadSome(char* into, std::size_t count)
    {
        ssize_t got;
        do
            got = ::read(m_fd.Get(), into, count);
        while (got < 0 && errno == EINTR);
        return got;
    }

    CDescriptor m_fd;
    std::array<char, 64 * 1024> m_buffer;  // filled before it is read
};

class CFileInput final : public std::istream {
public:
    explicit CFileInput(int fd) : std::istream(nullptr), m_buffer(fd) { rdbuf(&m_buffer); }

private:
    CFileReadBuffer m_buffer;
};

class CFileWriteBuffer final : public std::streambuf {
public:
    explicit CFileWriteBuffer(int fd) : m_fd(fd) { setp(m_buffer.data(), m_buffer.data() + m_buffer.size()); }
    // The reason of the first write that failed; 0 while none did.
    int Failure() const { return m_failure; }

protected:
    int_type overflow(int_type c) override
    {
        if (!FlushBuffer())
            return traits_type::eof();
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }
    int sync() override { return FlushBuffer() ? 0 : -1; }

private:
    bool FlushBuffer()
    {
        const char* from = pbase();
        while (m_failure == 0 && from < pptr()) {
            const ssize_t written = ::write(m_fd, from, static_cast<std::size_t>(pptr() - from));
            if (written < 0 && errno != EINTR)
                m_failure = errno;
            else if (written > 0)
                from += written;
        }
        setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
        return m_failure == 0;
    }

    int m_fd;
    std::array<char, 64 * 1024> m_buffer{};
    int m_failure = 0;
};

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

// The file a path finally names: a symbolic link is followed to the file it
// leads to (which need not exist yet), so that a write goes where the link
// points and the link stays a link. Nothing when the links go round in a loop.
std::optional<std::string> FinalTarget(std::string path)
{
    for (int depth = 0; depth < 40; ++depth) {
        std::array<char, PATH_MAX> text;
        const ssize_t length = ::readlink(path.c_str(), text.data(), text.size());
        if (length < 0)
            return path;
        std::string target(text.data(), static_cast<std::size_t>(length));
        path = !target.empty() && target[0] == '/' ? target : FolderOf(path) + "/" + target;
    }
    return std::nullopt;
}

std::string TemporaryPathBeside(const std::string& target)
{
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    // Short enough that the temporary name fits where the file's own does.
    const std::string name = target.substr(folder.size()).substr(0, 200);
    return folder + "." + name + "." + std::to_string(::getpid()) + ".tmp";
}

// The replaced file's owner and permissions for the new one. The owner only
// where the system permits it (the group alone when the user belongs to it);
// the mode after it, as a change of owner may clear the set-id bits.
void TakeOverOwnerAndMode(int fd, const struct stat& replaced)
{
    if (::fchown(fd, replaced.st_uid, replaced.st_gid) != 0)
        (void)::fchown(fd, static_cast<uid_t>(-1), replaced.st_gid);
    (void)::fchmod(fd, replaced.st_mode & 07777);
}

// The extended attributes of the replaced file (security labels, tags, the
// user's own), where the file system has them and lets this user set them.
void TakeOverAttributes(const std::string& replaced, int fd)
{
    const ssize_t size = ::listxattr(replaced.c_str(), nullptr, 0);
    if (size <= 0)
        return;
    std::string names(static_cast<std::size_t>(size), '\0');
    const ssize_t got = ::listxattr(replaced.c_str(), names.data(), names.size());
    if (got <= 0)
        return;
    names.resize(static_cast<std::size_t>(got));
    for (std::size_t at = 0; at < names.size();) {
        const std::string name = names.c_str() + at;
        at += name.size() + 1;
        const ssize_t length = ::getxattr(replaced.c_str(), name.c_str(), nullptr, 0);
        if (length < 0)
            continue;
        std::string value(static_cast<std::size_t>(length), '\0');
        const ssize_t read = ::getxattr(replaced.c_str(), name.c_str(), value.data(), value.size());
        if (read >= 0)
            (void)::fsetxattr(fd, name.c_str(), value.data(), static_cast<std::size_t>(read), 0);
    }
}

bool WriteAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

} // namespace

bool CreateNewFile(const std::string& path, const std::string& like)
{
    struct stat model {};
    const mode_t mode = ::stat(like.c_str(), &model) == 0 ? (model.st_mode & 0777) : 0666;
    CDescriptor fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
    return fd.Get() >= 0 && fd.Close();
}

bool CopyToNewFile(const std::string& from, const std::string& to, std::string* error)
{
    CDescriptor in(::open(from.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat status {};
    if (in.Get() < 0 || ::fstat(in.Get(), &status) != 0) {
        Tell(error, Reason(errno));
        return false;
    }
    if (!S_ISREG(status.st_mode)) {
        Tell(error, "is not a regular file");
        return false;
    }
    // Created here or not at all: a name another run has just taken stays theirs.
    CDescriptor out(::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, status.st_mode & 0777));
    if (out.Get() < 0) {
        Tell(error, Reason(errno));
        return false;
    }
    auto abandon = [&](int reason) {
        out.Close();
        ::unlink(to.c_str());
        Tell(error, Reason(reason));
        return false;
    };
    std::array<char, 64 * 1024> buffer;
    for (;;) {
        const ssize_t got = ::read(in.Get(), buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return abandon(errno);
        if (got == 0)
            break;
        if (!WriteAll(out.Get(), buffer.data(), static_cast<std::size_t>(got)))
            return abandon(errno == 0 ? EIO : errno);
    }
    (void)::fchmod(out.Get(), status.st_mode & 07777);
    const struct timespec times[2] = {status.st_atim, status.st_mtim};
    (void)::futimens(out.Get(), times);
    if (::fsync(out.Get()) != 0 || !out.Close())
        return abandon(errno);
    return true;
}

namespace {

struct HeldFile {
    unsigned long long device;
    unsigned long long inode;
};

std::mutex heldUnreadableLock;
std::vector<HeldFile> heldUnreadable;

bool IsHeldUnreadable(const struct stat& status)
{
    std::lock_guard lock(heldUnreadableLock);
    return std::any_of(heldUnreadable.begin(), heldUnreadable.end(), [&](const HeldFile& held) {
        return held.device == static_cast<unsigned long long>(status.st_dev) &&
               held.inode == static_cast<unsigned long long>(status.st_ino);
    });
}

} // namespace

ScopedUnreadableFile::ScopedUnreadableFile(const std::string& path)
{
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return;
    m_device = static_cast<unsigned long long>(status.st_dev);
    m_inode = static_cast<unsigned long long>(status.st_ino);
    std::lock_guard lock(heldUnreadableLock);
    heldUnreadable.push_back({m_device, m_inode});
}

ScopedUnreadableFile::~ScopedUnreadableFile()
{
    std::lock_guard lock(heldUnreadableLock);
    auto held = std::find_if(heldUnreadable.begin(), heldUnreadable.end(), [&](const HeldFile& file) {
        return file.device == m_device && file.inode == m_inode;
    });
    if (held != heldUnreadable.end())
        heldUnreadable.erase(held);
}

std::unique_ptr<std::istream> OpenForReading(const std::string& path, std::string* error)
{
    // Not blocking while it opens: a pipe would wait for a writer.
    CDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.Get() < 0) {
        Tell(error, Reason(errno));
        return nullptr;
    }
    struct stat status {};
    if (::fstat(fd.Get(), &status) != 0) {
        Tell(error, Reason(errno));
        return nullptr;
    }
    if (S_ISDIR(status.st_mode)) {
        Tell(error, "is a folder");
        return nullptr;
    }
    if (!S_ISREG(status.st_mode)) {
        Tell(error, "is not a regular file");
        return nullptr;
    }
    if (IsHeldUnreadable(status)) {
        Tell(error, Reason(EACCES));
        return nullptr;
    }
    ::fcntl(fd.Get(), F_SETFL, ::fcntl(fd.Get(), F_GETFL) & ~O_NONBLOCK);
    return std::make_unique<CFileInput>(fd.Release());
}

std::string TemporaryPathFor(const std::string& path)
{
    return TemporaryPathBeside(FinalTarget(path).value_or(path));
}

bool WriteFileAtomically(const std::string& path, const std::function<bool(std::ostream&)>& write,
                         std::string* error)
{
    const std::optional<std::string> target = FinalTarget(path);
    if (!target) {
        Tell(error, Reason(ELOOP));
        return false;
    }
    struct stat replaced {};
    const bool replaces = ::stat(target->c_str(), &replaced) == 0;
    if (replaces && S_ISDIR(replaced.st_mode)) {
        Tell(error, "is a folder");
        return false;
    }
    // Renaming over a device or a pipe would take its place, not write to it.
    if (replaces && !S_ISREG(replaced.st_mode)) {
        Tell(error, "is not a regular file");
        return false;
    }
    if (replaces && ::access(target->c_str(), W_OK) != 0) {
        Tell(error, Reason(errno));
        return false;
    }

    // A temporary file left by an earlier run that broke off goes; anything
    // else standing there (a folder, a link) makes the write fail.
    const std::string temporary = TemporaryPathBeside(*target);
    struct stat left {};
    if (::lstat(temporary.c_str(), &left) == 0 && S_ISREG(left.st_mode))
        ::unlink(temporary.c_str());
    // Nobody may read the new bytes who could not read the old ones.
    const mode_t mode = replaces ? (replaced.st_mode & 0777) : 0666;
    CDescriptor fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
    if (fd.Get() < 0) {
        Tell(error, Reason(errno));
        return false;
    }
    auto abandon = [&](std::string reason) {
        fd.Close();
        ::unlink(temporary.c_str());
        Tell(error, std::move(reason));
        return false;
    };

    CFileWriteBuffer buffer(fd.Get());
    std::ostream out(&buffer);
    const bool written = write(out);
    out.flush();
    if (buffer.Failure() != 0)
        return abandon(Reason(buffer.Failure()));
    if (!written || !out)
        return abandon("the file could not be written");
    if (replaces) {
        TakeOverAttributes(*target, fd.Get());
        TakeOverOwnerAndMode(fd.Get(), replaced);
    }
    // On the disk before it takes the old file's place: a crash then leaves
    // one of the two whole.
    if (::fsync(fd.Get()) != 0 || !fd.Close())
        return abandon(Reason(errno));
    if (::rename(temporary.c_str(), target->c_str()) != 0)
        return abandon(Reason(errno));
    return true;
}

bool FileExists(const std::string& path)
{
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0;
}

} // namespace orvane::platform
