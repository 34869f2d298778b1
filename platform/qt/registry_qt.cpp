#include "platform/registry.h"

#include "platform/file_system.h"
#include "platform/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <cstdio>
#include <vector>

// The store is a text file of the form
//
//   [Accessibility\Orvane]
//   "FileSaves"=dword:00000003
//   "OriginalExtension"=".htmlold"
//
// Lines it does not understand as a value of a known type are kept as they
// stand, so that a hand-edited or newer file loses nothing when it is rewritten.

namespace orvane::platform {
namespace {

// Writers hold the lock for a few milliseconds; a lock left by a process that
// died is taken over by QLockFile.
constexpr int kLockWaitMilliseconds = 5000;

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

enum class ValueType { Dword, String, Other };

struct StoredValue {
    std::string name;
    ValueType type = ValueType::Other;
    std::uint32_t number = 0;
    std::string text;  // the text of a string; the raw line rest of another type
};

struct StoredKey {
    std::string path;
    std::vector<StoredValue> values;

    StoredValue* Find(std::string_view name)
    {
        for (StoredValue& value : values) {
            if (SameName(value.name, name))
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
    std::vector<StoredKey> keys;

    StoredKey* Find(std::string_view path)
    {
        for (StoredKey& key : keys) {
            if (SameName(key.path, path))
                return &key;
        }
        return nullptr;
    }
    StoredKey& Ensure(const std::string& path)
    {
        if (StoredKey* key = Find(path))
            return *key;
        keys.push_back(StoredKey{path, {}});
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

// The value part after "=": a number, a text, or anything else kept as it stands.
StoredValue ParseValue(std::string name, std::string_view rest)
{
    StoredValue value;
    value.name = std::move(name);
    value.text = std::string(rest);
    std::string_view trimmed = TrimBlanks(rest);
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
    std::size_t pos = 0;
    if (std::optional<std::string> text = ParseQuoted(trimmed, pos); text && pos == trimmed.size()) {
        value.type = ValueType::String;
        value.text = *text;
    }
    return value;
}

StoreContents ParseStore(std::string_view text)
{
    StoreContents contents;
    StoredKey* current = nullptr;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        // Carriage returns at the end belong to the line end, blanks among
        // them too: one kept in a value the store does not understand would be
        // taken for the line end at the next reading, and each rewrite would
        // lose one.
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
            line.remove_suffix(1);
        line = TrimBlanks(line);
        if (line.empty() || line.front() == ';' || line.front() == '#')
            continue;
        if (line.front() == '[') {
            std::optional<std::string> path;
            if (line.back() == ']')
                path = NormaliseKeyPath(line.substr(1, line.size() - 2));
            current = path ? &contents.Ensure(*path) : nullptr;
            continue;
        }
        if (!current)
            continue;
        std::size_t pos = 0;
        std::optional<std::string> name = ParseQuoted(line, pos);
        while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t'))
            ++pos;
        if (!name || name->empty() || pos >= line.size() || line[pos] != '=')
            continue;
        current->Set(ParseValue(std::move(*name), line.substr(pos + 1)));
    }
    return contents;
}

std::string SerialiseStore(const StoreContents& contents)
{
    std::string out =
        "; The Orvane registry of the current user: one [key] per section, one value\n"
        "; a line, \"name\"=dword:0000000a or \"name\"=\"text\" (in quotes: \\\\ \\\" \\n \\r \\t \\xhh).\n";
    char digits[16];
    for (const StoredKey& key : contents.keys) {
        out += "\n[";
        out += key.path;
        out += "]\n";
        for (const StoredValue& value : key.values) {
            AppendQuoted(out, value.name);
            out.push_back('=');
            switch (value.type) {
            case ValueType::Dword:
                std::snprintf(digits, sizeof digits, "dword:%08x", static_cast<unsigned>(value.number));
                out += digits;
                break;
            case ValueType::String: AppendQuoted(out, value.text); break;
            case ValueType::Other: out += value.text; break;
            }
            out.push_back('\n');
        }
    }
    return out;
}

// The store as the file holds it now; a missing file is an empty store, an
// unreadable one gives nothing (and must not be overwritten).
std::optional<StoreContents> ReadStore(const QString& file)
{
    QFile in(file);
    if (!in.exists())
        return StoreContents{};
    if (!in.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError)
        return std::nullopt;
    return ParseStore(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

bool CanWrite(const QString& file)
{
    QFileInfo info(file);
    if (info.exists())
        return info.isWritable() && QFileInfo(info.absolutePath()).isWritable();
    QFileInfo folder(info.absolutePath());
    return !folder.exists() || folder.isWritable();
}

// Lock, read afresh, apply, replace: what another process wrote meanwhile stays.
bool CommitToStore(const QString& file, const std::string& keyPath, const std::vector<StoredValue>& values)
{
    QFileInfo info(file);
    if (!QDir().mkpath(info.absolutePath()))
        return false;
    QLockFile lock(file + ".lock");
    if (!lock.tryLock(kLockWaitMilliseconds))
        return false;
    std::optional<StoreContents> contents = ReadStore(file);
    if (!contents)
        return false;
    StoredKey& key = contents->Ensure(keyPath);
    for (const StoredValue& value : values)
        key.Set(value);
    std::string text = SerialiseStore(*contents);
    return WriteFileAtomically(file.toStdString(), [&](std::ostream& out) {
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        return static_cast<bool>(out);
    });
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
        if (writable && !CanWrite(m_file))
            return nullptr;
        std::optional<StoreContents> contents = ReadStore(m_file);
        if (!contents)
            return nullptr;
        StoredKey* key = contents->Find(*keyPath);
        if (!key)
            return nullptr;
        return std::make_unique<CFileRegistryKey>(m_file, std::move(*key), writable);
    }

    std::unique_ptr<IRegistryKey> CreateKey(std::string_view path) override
    {
        if (std::unique_ptr<IRegistryKey> key = OpenKey(path, RegistryAccess::Full))
            return key;
        std::optional<std::string> keyPath = NormaliseKeyPath(path);
        if (!keyPath || !CanWrite(m_file) || !CommitToStore(m_file, *keyPath, {}))
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

std::string RewrittenStoreText(std::string_view fileBytes) { return SerialiseStore(ParseStore(fileBytes)); }

IRegistry& UserRegistry()
{
    static const std::unique_ptr<IRegistry> registry = CreateFileRegistry(UserDataDirectory() + "/UserRegistry.reg");
    return *registry;
}

} // namespace orvane::platform
