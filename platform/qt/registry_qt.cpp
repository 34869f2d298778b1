#include "platform/registry.h"

#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/services.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

// The store is a text file of the form
//
//   [Accessibility\Orvane]
//   "FileSaves"=dword:00000003
//   "OriginalExtension"=".htmlold"
//
// Lines it does not understand (notes, values of other types, junk, what
// stands below a heading it cannot read) are kept as they stand, so that a
// hand-edited or newer file loses nothing when it is rewritten. Blank lines
// are layout, and the opening comment is the store's own: both are written
// afresh. Lines may end in LF, CR LF or CR alone; a UTF-8 byte order mark is
// read past and written back.
//
// A file that is no store at all -- one with a zero byte (not text), one in
// which no line opens a key although some line is more than a note, or no
// regular file -- is never rewritten: the next write sets it aside under a
// dated name, says so once, and begins a new store.

namespace orvane::platform {
namespace {

// Writers hold the lock for a few milliseconds; a lock left by a process that
// died is taken over by QLockFile.
constexpr int kLockWaitMilliseconds = 5000;

// String resources of the message that tells of a store set aside.
constexpr int kCaption = 111;
// %1 the store file, %2 the name it was kept under.
constexpr int kNoStoreKept = 952;

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kOpeningComment[] = {
    "; The Orvane registry of the current user: one [key] per section, one value",
    "; a line, \"name\"=dword:0000000a or \"name\"=\"text\" (in quotes: \\\\ \\\" \\n \\r \\t \\xhh).",
};

char FoldCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i]))
            return false;
    }
    return true;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = FoldCase(c);
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

// "Accessibility\\Orvane\\" and "\\Accessibility\\\\Orvane" are the same key.
std::optional<std::string> NormaliseKeyPath(std::string_view path)
{
    std::string result;
    while (!path.empty()) {
        std::size_t end = path.find('\\');
        std::string_view segment = path.substr(0, end);
        path = end == std::string_view::npos ? std::string_view() : path.substr(end + 1);
        if (segment.empty())
            continue;
        if (!result.empty())
            result.push_back('\\');
        result.append(segment);
    }
    if (result.empty() || result.find_first_of("[]\n\r") != std::string::npos)
        return std::nullopt;
    return result;
}

// Other: a value line of a type the store does not read; Line: a line that is
// no value. Both are written back as they stood.
enum class ValueType { Dword, String, Other, Line };

struct StoredValue {
    std::string name;
    ValueType type = ValueType::Other;
    std::uint32_t number = 0;
    std::string text;  // the text of a string; the line as it stood for Other and Line
};

// A section of the store: a key, or the lines above the first heading (no
// path, no heading), or a heading the store cannot read with the lines below
// it (no path; kept whole, as no value there belongs to a key it knows).
struct StoredKey {
    std::string path;
    std::string heading;  // the line as it stood, for a section without a path
    std::vector<StoredValue> values;

    StoredValue* Find(std::string_view name)
    {
        for (StoredValue& value : values) {
            if (value.type != ValueType::Line && SameName(value.name, name))
                return &value;
        }
        return nullptr;
    }
    const StoredValue* Find(std::string_view name) const { return const_cast<StoredKey*>(this)->Find(name); }

    // An existing value keeps the spelling of its name, as the registry keeps it.
    void Set(const StoredValue& value)
    {
        if (StoredValue* existing = Find(value.name)) {
            std::string name = std::move(existing->name);
            *existing = value;
            existing->name = std::move(name);
        } else {
            values.push_back(value);
        }
    }
};

struct StoreContents {
    bool byteOrderMark = false;
    StoredKey opening;  // the lines above the first heading
    std::vector<StoredKey> keys;

    StoredKey* Find(std::string_view path)
    {
        for (StoredKey& key : keys) {
            if (!key.path.empty() && SameName(key.path, path))
                return &key;
        }
        return nullptr;
    }
    StoredKey& Ensure(const std::string& path)
    {
        if (StoredKey* key = Find(path))
            return *key;
        keys.push_back(StoredKey{path, {}, {}});
        return keys.back();
    }
};

// --- Reading and writing the file ----------------------------------------------

// A quoted text starting at text[pos]; pos ends after the closing quote.
std::optional<std::string> ParseQuoted(std::string_view text, std::size_t& pos)
{
    if (pos >= text.size() || text[pos] != '"')
        return std::nullopt;
    std::string result;
    for (++pos; pos < text.size(); ++pos) {
        char c = text[pos];
        if (c == '"') {
            ++pos;
            return result;
        }
        if (c != '\\') {
            result.push_back(c);
            continue;
        }
        if (++pos >= text.size())
            return std::nullopt;
        switch (text[pos]) {
        case '\\': result.push_back('\\'); break;
        case '"': result.push_back('"'); break;
        case 'n': result.push_back('\n'); break;
        case 'r': result.push_back('\r'); break;
        case 't': result.push_back('\t'); break;
        case 'x': {
            int high = pos + 1 < text.size() ? HexValue(text[pos + 1]) : -1;
            int low = pos + 2 < text.size() ? HexValue(text[pos + 2]) : -1;
            if (high < 0 || low < 0)
                return std::nullopt;
            result.push_back(static_cast<char>(high * 16 + low));
            pos += 2;
            break;
        }
        default: return std::nullopt;
        }
    }
    return std::nullopt;
}

void AppendQuoted(std::string& out, std::string_view text)
{
    static const char kDigits[] = "0123456789abcdef";
    out.push_back('"');
    for (char c : text) {
        unsigned char byte = static_cast<unsigned char>(c);
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '"': out += "\\\""; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (byte < 0x20 || byte == 0x7f) {
                out += "\\x";
                out.push_back(kDigits[byte >> 4]);
                out.push_back(kDigits[byte & 0xf]);
            } else {
                out.push_back(c);
            }
        }
    }
    out.push_back('"');
}

// A line "name"=value: a number, a text, or another type kept as the line
// stands; nothing when the line is no value.
std::optional<StoredValue> ParseValueLine(std::string_view line)
{
    std::string_view trimmed = TrimBlanks(line);
    std::size_t pos = 0;
    std::optional<std::string> name = ParseQuoted(trimmed, pos);
    while (pos < trimmed.size() && (trimmed[pos] == ' ' || trimmed[pos] == '\t'))
        ++pos;
    if (!name || name->empty() || pos >= trimmed.size() || trimmed[pos] != '=')
        return std::nullopt;
    StoredValue value;
    value.name = std::move(*name);
    value.text = std::string(line);
    trimmed = TrimBlanks(trimmed.substr(pos + 1));
    constexpr std::string_view kDword = "dword:";
    if (trimmed.size() > kDword.size() && SameName(trimmed.substr(0, kDword.size()), kDword)) {
        std::string_view digits = trimmed.substr(kDword.size());
        if (digits.size() <= 8) {
            std::uint32_t number = 0;
            bool valid = true;
            for (char c : digits) {
                int digit = HexValue(c);
                if (digit < 0) {
                    valid = false;
                    break;
                }
                number = number * 16 + static_cast<std::uint32_t>(digit);
            }
            if (valid) {
                value.type = ValueType::Dword;
                value.number = number;
                value.text.clear();
            }
        }
        return value;
    }
    pos = 0;
    if (std::optional<std::string> text = ParseQuoted(trimmed, pos); text && pos == trimmed.size()) {
        value.type = ValueType::String;
        value.text = *text;
    }
    return value;
}

StoredValue KeptLine(std::string_view line)
{
    StoredValue value;
    value.type = ValueType::Line;
    value.text = std::string(line);
    return value;
}

bool IsOpeningComment(std::string_view line)
{
    for (std::string_view comment : kOpeningComment) {
        if (line == comment)
            return true;
    }
    return false;
}

// The store the text holds; nothing when it is no store at all.
std::optional<StoreContents> ParseStore(std::string_view text)
{
    if (text.find('\0') != std::string_view::npos)
        return std::nullopt;
    StoreContents contents;
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        contents.byteOrderMark = true;
        text.remove_prefix(kByteOrderMark.size());
    }
    bool opensAKey = false;
    bool holdsMoreThanNotes = false;
    StoredKey* current = &contents.opening;
    while (!text.empty()) {
        std::size_t end = text.find_first_of("\r\n");
        std::string_view line = text.substr(0, end);
        if (end == std::string_view::npos)
            text = {};
        else
            text.remove_prefix(end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1));
        std::string_view trimmed = TrimBlanks(line);
        if (trimmed.empty())
            continue;
        if (trimmed.front() != ';' && trimmed.front() != '#')
            holdsMoreThanNotes = true;
        if (current == &contents.opening && IsOpeningComment(trimmed))
            continue;
        if (trimmed.front() == '[') {
            std::optional<std::string> path;
            if (trimmed.back() == ']')
                path = NormaliseKeyPath(trimmed.substr(1, trimmed.size() - 2));
            if (path) {
                opensAKey = true;
                current = &contents.Ensure(*path);
            } else {
                contents.keys.push_back(StoredKey{{}, std::string(line), {}});
                current = &contents.keys.back();
            }
            continue;
        }
        std::optional<StoredValue> value;
        if (!current->path.empty())
            value = ParseValueLine(line);
        if (value)
            current->Set(*value);
        else
            current->values.push_back(KeptLine(line));
    }
    if (holdsMoreThanNotes && !opensAKey)
        return std::nullopt;
    return contents;
}

void AppendValues(std::string& out, const StoredKey& key)
{
    char digits[16];
    for (const StoredValue& value : key.values) {
        switch (value.type) {
        case ValueType::Dword:
            AppendQuoted(out, value.name);
            std::snprintf(digits, sizeof digits, "=dword:%08x", static_cast<unsigned>(value.number));
            out += digits;
            break;
        case ValueType::String:
            AppendQuoted(out, value.name);
            out.push_back('=');
            AppendQuoted(out, value.text);
            break;
        case ValueType::Other:
        case ValueType::Line: out += value.text; break;
        }
        out.push_back('\n');
    }
}

std::string SerialiseStore(const StoreContents& contents)
{
    std::string out;
    if (contents.byteOrderMark)
        out += kByteOrderMark;
    for (std::string_view comment : kOpeningComment) {
        out += comment;
        out.push_back('\n');
    }
    AppendValues(out, contents.opening);
    for (const StoredKey& key : contents.keys) {
        out.push_back('\n');
        if (key.path.empty()) {
            out += key.heading;
        } else {
            out.push_back('[');
            out += key.path;
            out.push_back(']');
        }
        out.push_back('\n');
        AppendValues(out, key);
    }
    return out;
}

enum class StoreState {
    Read,       // a store, or no file: an empty store
    NoStore,    // no store at all: set aside by the next write
    NotReadNow  // a regular file that could not be read this time: neither used nor replaced
};

struct StoreReading {
    StoreState state = StoreState::Read;
    StoreContents contents;
};

// The store as the file holds it now.
StoreReading ReadStore(const QString& file)
{
    QFileInfo info(file);
    if (!info.exists())
        return {};
    // A folder, a pipe or a device where the file belongs holds no store,
    // and neither does a file that its owner may not read.
    if (!info.isFile() || !info.isReadable())
        return {StoreState::NoStore, {}};
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return {StoreState::NotReadNow, {}};
    QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError)
        return {StoreState::NotReadNow, {}};
    std::optional<StoreContents> contents =
        ParseStore(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (!contents)
        return {StoreState::NoStore, {}};
    return {StoreState::Read, std::move(*contents)};
}

// Whether the new text can be written where it goes first: nothing but a
// file an earlier write left stands there.
bool TemporaryPlaceIsFree(const QString& file)
{
    struct stat standing {};
    return ::lstat(TemporaryPathFor(file.toStdString()).c_str(), &standing) != 0 || S_ISREG(standing.st_mode);
}

// Whether a write may replace the file: a store its owner made read-only
// stays as it is; a file that is no store is set aside, so only its folder counts.
bool CanWrite(const QString& file, StoreState state)
{
    QFileInfo info(file);
    QFileInfo folder(info.absolutePath());
    if (!folder.exists())
        return true;
    if (!folder.isWritable() || !TemporaryPlaceIsFree(file))
        return false;
    return state == StoreState::NoStore || !info.exists() || info.isWritable();
}

// Moves the file that is no store to a dated name beside it; the name it was
// given, or nothing when it could not be moved.
std::optional<QString> SetAsideNoStore(const QString& file)
{
    const QString base = file + ".unreadable-" + QDateTime::currentDateTime().toString("yyyyMMdd-HHmmss");
    QString kept = base;
    for (int n = 2; QFileInfo(kept).exists() || QFileInfo(kept).isSymLink(); ++n) {
        if (n == 100)
            return std::nullopt;
        kept = base + "-" + QString::number(n);
    }
    std::error_code error;
    std::filesystem::rename(file.toStdString(), kept.toStdString(), error);
    if (error)
        return std::nullopt;
    return kept;
}

void TellSetAside(const QString& file, const QString& kept)
{
    const IStringTable& strings = Strings();
    Prompt().Show(strings.Get(kCaption), strings.Format(kNoStoreKept, {file.toStdString(), kept.toStdString()}),
                  PromptIcon::Exclamation, PromptButtons::Ok);
}

// Lock, read afresh, apply, replace: what another process wrote meanwhile stays.
bool CommitToStore(const QString& file, const std::string& keyPath, const std::vector<StoredValue>& values)
{
    QFileInfo info(file);
    if (!QDir().mkpath(info.absolutePath()))
        return false;
    std::optional<QString> setAsideAs;
    bool written = false;
    {
        QLockFile lock(file + ".lock");
        if (!lock.tryLock(kLockWaitMilliseconds))
            return false;
        StoreReading store = ReadStore(file);
        if (store.state == StoreState::NotReadNow)
            return false;
        if (store.state == StoreState::NoStore) {
            setAsideAs = SetAsideNoStore(file);
            if (!setAsideAs)
                return false;
        }
        StoredKey& key = store.contents.Ensure(keyPath);
        for (const StoredValue& value : values)
            key.Set(value);
        std::string text = SerialiseStore(store.contents);
        written = WriteFileAtomically(file.toStdString(), [&](std::ostream& out) {
            out.write(text.data(), static_cast<std::streamsize>(text.size()));
            return static_cast<bool>(out);
        });
    }
    // Told once the lock is released: the user may take a while to read it,
    // and other writers must not wait for that.
    if (setAsideAs)
        TellSetAside(file, *setAsideAs);
    return written;
}

// --- Keys and the registry ------------------------------------------------------

class CFileRegistryKey final : public IRegistryKey {
public:
    CFileRegistryKey(QString file, StoredKey snapshot, bool writable)
        : m_file(std::move(file)), m_key(std::move(snapshot)), m_writable(writable)
    {
    }
    ~CFileRegistryKey() override { Flush(); }

    std::optional<std::uint32_t> QueryDword(std::string_view name) const override
    {
        const StoredValue* value = m_key.Find(name);
        if (!value || value->type != ValueType::Dword)
            return std::nullopt;
        return value->number;
    }

    std::optional<std::string> QueryString(std::string_view name, std::size_t bufferSize) const override
    {
        const StoredValue* value = m_key.Find(name);
        if (!value || value->type != ValueType::String || value->text.size() + 1 > bufferSize)
            return std::nullopt;
        // A reader of a zero-terminated text stops at its first zero.
        return value->text.substr(0, value->text.find('\0'));
    }

    bool SetDword(std::string_view name, std::uint32_t number) override
    {
        StoredValue value;
        value.type = ValueType::Dword;
        value.number = number;
        return Set(name, std::move(value));
    }

    bool SetString(std::string_view name, std::string_view text) override
    {
        StoredValue value;
        value.type = ValueType::String;
        value.text = std::string(text.substr(0, text.find('\0')));
        return Set(name, std::move(value));
    }

    bool Flush() override
    {
        if (m_pending.empty())
            return true;
        if (!CommitToStore(m_file, m_key.path, m_pending))
            return false;
        m_pending.clear();
        return true;
    }

private:
    bool Set(std::string_view name, StoredValue value)
    {
        if (!m_writable || name.empty())
            return false;
        value.name = std::string(name);
        m_key.Set(value);
        for (StoredValue& pending : m_pending) {
            if (SameName(pending.name, name)) {
                pending = std::move(value);
                return true;
            }
        }
        m_pending.push_back(std::move(value));
        return true;
    }

    QString m_file;
    StoredKey m_key;  // as read at opening, with this key's own changes
    std::vector<StoredValue> m_pending;
    bool m_writable;
};

class CFileRegistry final : public IRegistry {
public:
    explicit CFileRegistry(const std::string& path) : m_file(QString::fromStdString(path)) {}

    std::unique_ptr<IRegistryKey> OpenKey(std::string_view path, RegistryAccess access) override
    {
        std::optional<std::string> keyPath = NormaliseKeyPath(path);
        if (!keyPath)
            return nullptr;
        bool writable = access == RegistryAccess::Full;
        StoreReading store = ReadStore(m_file);
        if (store.state != StoreState::Read || (writable && !CanWrite(m_file, store.state)))
            return nullptr;
        StoredKey* key = store.contents.Find(*keyPath);
        if (!key)
            return nullptr;
        return std::make_unique<CFileRegistryKey>(m_file, std::move(*key), writable);
    }

    std::unique_ptr<IRegistryKey> CreateKey(std::string_view path) override
    {
        if (std::unique_ptr<IRegistryKey> key = OpenKey(path, RegistryAccess::Full))
            return key;
        std::optional<std::string> keyPath = NormaliseKeyPath(path);
        if (!keyPath)
            return nullptr;
        StoreState state = ReadStore(m_file).state;
        if (state == StoreState::NotReadNow || !CanWrite(m_file, state) || !CommitToStore(m_file, *keyPath, {}))
            return nullptr;
        return OpenKey(path, RegistryAccess::Full);
    }

private:
    QString m_file;
};

} // namespace

std::unique_ptr<IRegistry> CreateFileRegistry(const std::string& path)
{
    return std::make_unique<CFileRegistry>(path);
}

std::optional<std::string> RewrittenStoreText(std::string_view fileBytes)
{
    std::optional<StoreContents> contents = ParseStore(fileBytes);
    if (!contents)
        return std::nullopt;
    return SerialiseStore(*contents);
}

IRegistry& UserRegistry()
{
    static const std::unique_ptr<IRegistry> registry = CreateFileRegistry(UserDataDirectory() + "/UserRegistry.reg");
    return *registry;
}

} // namespace orvane::platform
