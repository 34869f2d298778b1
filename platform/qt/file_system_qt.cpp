#include "platform/file_system.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <array>
#include <streambuf>

namespace orvane::platform {
namespace {

class QFileReadBuffer final : public std::streambuf {
public:
    explicit QFileReadBuffer(std::unique_ptr<QFile> file) : m_file(std::move(file)) {}

protected:
    int_type underflow() override
    {
        qint64 got = m_file->read(m_buffer.data(), static_cast<qint64>(m_buffer.size()));
        if (got <= 0)
            return traits_type::eof();
        setg(m_buffer.data(), m_buffer.data(), m_buffer.data() + got);
        return traits_type::to_int_type(m_buffer[0]);
    }

    // What is left of a file, so a reader can take a whole page in one place.
    std::streamsize showmanyc() override
    {
        if (m_file->isSequential())
            return 0;
        const qint64 left = m_file->size() - m_file->pos();
        return left > 0 ? static_cast<std::streamsize>(left) : 0;
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
            const qint64 got = m_file->read(into + done, count - done);
            if (got <= 0)
                return done;
            done += got;
        }
        if (done < count)
            done += std::streambuf::xsgetn(into + done, count - done);
        return done;
    }

private:
    std::unique_ptr<QFile> m_file;
    std::array<char, 64 * 1024> m_buffer;  // filled before it is read
};

class QFileInput final : public std::istream {
public:
    explicit QFileInput(std::unique_ptr<QFile> file) : std::istream(nullptr), m_buffer(std::move(file))
    {
        rdbuf(&m_buffer);
    }

private:
    QFileReadBuffer m_buffer;
};

class QSaveFileWriteBuffer final : public std::streambuf {
public:
    explicit QSaveFileWriteBuffer(QSaveFile& file) : m_file(file) { setp(m_buffer.data(), m_buffer.data() + m_buffer.size()); }
    bool Failed() const { return m_failed; }

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
        qint64 pending = pptr() - pbase();
        if (pending > 0 && m_file.write(pbase(), pending) != pending)
            m_failed = true;
        setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
        return !m_failed;
    }

    QSaveFile& m_file;
    std::array<char, 64 * 1024> m_buffer{};
    bool m_failed = false;
};

} // namespace

std::unique_ptr<std::istream> OpenForReading(const std::string& path, std::string* error)
{
    auto file = std::make_unique<QFile>(QString::fromStdString(path));
    const QFileInfo info(file->fileName());
    if (info.isDir()) {
        if (error)
            *error = "is a folder";
        return nullptr;
    }
    if (info.exists() && !info.isFile()) {
        if (error)
            *error = "is not a regular file";
        return nullptr;
    }
    // Unbuffered: the stream buffer above is the only one.
    if (!file->open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        if (error)
            *error = file->errorString().toStdString();
        return nullptr;
    }
    return std::make_unique<QFileInput>(std::move(file));
}

bool WriteFileAtomically(const std::string& path, const std::function<bool(std::ostream&)>& write,
                         std::string* error)
{
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString().toStdString();
        return false;
    }
    QSaveFileWriteBuffer buffer(file);
    std::ostream out(&buffer);
    bool written = write(out);
    out.flush();
    if (!written || !out || buffer.Failed()) {
        if (error)
            *error = buffer.Failed() ? file.errorString().toStdString() : "the file could not be written";
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString().toStdString();
        return false;
    }
    return true;
}

bool FileExists(const std::string& path) { return QFileInfo::exists(QString::fromStdString(path)); }

} // namespace orvane::platform
