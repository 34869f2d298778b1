#include "attribute.h"

#include "page_text.h"
#include "text_util.h"

#include <charconv>
#include <cstring>
#include <mutex>
#include <new>
#include <unordered_map>

namespace orvane {
namespace {

struct Snapshot {
    std::string savedValue;
    std::string secondSaved;
    // Whether the saved attribute had a value at all: a bare "alt" is
    // given back bare, not as alt="".
    bool savedHasValue = true;
};

// Only the attributes a repair may undo keep a snapshot, so the snapshots
// live here, by attribute, instead of costing every attribute a pointer.
// Pages are checked on several threads at once, hence the lock; the table is
// never destroyed, so attributes of static lifetime may still leave it.
class CSnapshotTable {
public:
    static CSnapshotTable& Instance()
    {
        static auto* table = new CSnapshotTable();
        return *table;
    }

    // The attribute's snapshot, made empty when it has none. The reference
    // stays valid until the attribute's snapshot is dropped.
    Snapshot& Ensure(const CAttribute* attribute)
    {
        std::lock_guard lock(m_mutex);
        return m_snapshots[attribute];
    }
    const Snapshot* Find(const CAttribute* attribute)
    {
        std::lock_guard lock(m_mutex);
        auto it = m_snapshots.find(attribute);
        return it == m_snapshots.end() ? nullptr : &it->second;
    }
    void Drop(const CAttribute* attribute)
    {
        std::lock_guard lock(m_mutex);
        m_snapshots.erase(attribute);
    }

private:
    std::mutex m_mutex;
    std::unordered_map<const CAttribute*, Snapshot> m_snapshots;
};

} // namespace

void CAttribute::ReleaseStorage()
{
    if (m_owned)
        delete[] m_text;
    m_text = "";
    m_nameSize = m_valueOffset = m_valueSize = 0;
    m_owned = false;
    if (m_hasSnapshot)
        CSnapshotTable::Instance().Drop(this);
    m_hasSnapshot = false;
}

bool CAttribute::Store(std::string_view name, std::string_view value)
{
    // Copied before the old text goes: name or value may lie in it.
    const std::size_t total = name.size() + value.size();
    if (total > kMaxSize)
        return false;
    char* copy = nullptr;
    if (total > 0) {
        copy = new (std::nothrow) char[total];
        if (!copy)
            return false;
        std::memcpy(copy, name.data(), name.size());
        std::memcpy(copy + name.size(), value.data(), value.size());
    }
    if (m_owned)
        delete[] m_text;
    m_owned = copy != nullptr;
    m_text = copy ? copy : "";
    m_nameSize = static_cast<std::uint32_t>(name.size());
    m_valueOffset = m_nameSize;
    m_valueSize = static_cast<std::uint32_t>(value.size());
    return true;
}

void CAttribute::NameByText(std::string_view name, bool isFirst)
{
    Store(name, Value());
    m_id = static_cast<std::int16_t>(isFirst ? attr::kOther : AttributeIdOfName(name));
}

void CAttribute::NameById(int id)
{
    m_id = static_cast<std::int16_t>(id);
    std::string_view tableName = AttributeNameOfId(id);
    if (!tableName.empty())
        Store(tableName, Value());
}

void CAttribute::SetFromText(std::string_view text, const PageEncoding& encoding)
{
    if (PageTextToUser(Value(), encoding) == text) {
        if (!m_hasValue)
            SetValue({});
    } else {
        const std::string_view saved = SavedValue();
        if (!saved.empty() && PageTextToUser(saved, encoding) == text)
            SetValue(std::string(saved));
        else
            SetValue(UserTextToPageKeeping(text, saved.empty() ? Value() : saved, encoding, TextPlace::AttributeValue));
    }
    Hide(false);
    SetChanged(true);
}

std::string CAttribute::UserText(const PageEncoding& encoding) const { return PageTextToUser(Value(), encoding); }

void CAttribute::Revert()
{
    Restore();
    SetChanged(false);
}

bool CAttribute::SetValue(std::string_view value)
{
    if (!Store(Name(), value))
        return false;
    m_hasValue = true;
    return true;
}

bool CAttribute::Materialize() { return m_owned || Store(Name(), Value()); }

bool CAttribute::IsBlank() const
{
    std::string_view value = Value();
    if (value.empty())
        return false;
    return value.find_first_not_of(' ') == std::string_view::npos;
}

long long CAttribute::NumericValue() const
{
    std::string_view value = Value();
    if (value.empty())
        return 0;
    if (value.front() == '#') {
        std::string_view digits = TrimLeft(value.substr(1));
        std::size_t n = 0;
        while (n < digits.size() && IsHexDigit(digits[n]))
            ++n;
        unsigned long long number = 0;
        for (std::size_t i = 0; i < n; ++i) {
            char c = digits[i];
            int digit = c <= '9' ? c - '0' : AsciiLower(c) - 'a' + 10;
            number = number * 16 + static_cast<unsigned>(digit);
            if (number > 0x7fffffffffffffffULL / 16)
                break;  // saturate rather than overflow on absurd inputs
        }
        return static_cast<long long>(number);
    }
    return LeadingDecimal(value);
}

void CAttribute::SetNumericValue(long long number)
{
    char buffer[24];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, number);
    (void)error;
    std::string_view text(buffer, static_cast<std::size_t>(end - buffer));
    if (text == Value())
        return;
    if (SetValue(text))
        m_changed = true;
}

bool CAttribute::ColourValue(Rgb& colour) const
{
    std::string_view value = Value();
    if (ColourOfName(value, colour))
        return true;
    if (value.empty() || value.front() != '#')
        return false;
    std::string_view digits = TrimLeft(value.substr(1));
    std::size_t n = 0;
    while (n < digits.size() && IsHexDigit(digits[n]))
        ++n;
    if (n != 6)
        return false;
    auto pair = [&](std::size_t at) {
        int result = 0;
        for (std::size_t i = at; i < at + 2; ++i) {
            char c = digits[i];
            result = result * 16 + (c <= '9' ? c - '0' : AsciiLower(c) - 'a' + 10);
        }
        return result;
    };
    colour = {pair(0), pair(2), pair(4)};
    return true;
}

void CAttribute::Hide(bool hide)
{
    if (!hide)
        m_hidden = false;
    else if (m_hideable)
        m_hidden = true;
}

void CAttribute::Save()
{
    m_hasSnapshot = true;
    Snapshot& snapshot = CSnapshotTable::Instance().Ensure(this);
    snapshot.savedValue.assign(Value());
    snapshot.savedHasValue = m_hasValue;
    m_savedHidden = m_hidden;
}

void CAttribute::Restore()
{
    const Snapshot* snapshot = m_hasSnapshot ? CSnapshotTable::Instance().Find(this) : nullptr;
    const bool hadValue = !snapshot || snapshot->savedHasValue;
    SetValue(SavedValue());
    m_hasValue = hadValue;
    m_hidden = m_savedHidden;
}

std::string_view CAttribute::SavedValue() const
{
    if (!m_hasSnapshot)
        return {};
    const Snapshot* snapshot = CSnapshotTable::Instance().Find(this);
    return snapshot ? std::string_view(snapshot->savedValue) : std::string_view();
}

std::string_view CAttribute::SecondSaved() const
{
    if (!m_hasSnapshot)
        return {};
    const Snapshot* snapshot = CSnapshotTable::Instance().Find(this);
    return snapshot ? std::string_view(snapshot->secondSaved) : std::string_view();
}

void CAttribute::SetSecondSaved(std::string_view text)
{
    m_hasSnapshot = true;
    CSnapshotTable::Instance().Ensure(this).secondSaved.assign(text);
}

void CAttribute::CopyFrom(const CAttribute& other)
{
    if (&other == this)
        return;
    m_id = other.m_id;
    Store(other.Name(), other.Value());
    m_hasValue = other.m_hasValue;
    m_hidden = other.m_hidden;
    // Without a snapshot on either side the saved value reads empty already.
    if (m_hasSnapshot || other.m_hasSnapshot) {
        std::string saved(other.SavedValue());
        const Snapshot* theirs = other.m_hasSnapshot ? CSnapshotTable::Instance().Find(&other) : nullptr;
        const bool savedHasValue = !theirs || theirs->savedHasValue;
        m_hasSnapshot = true;
        Snapshot& mine = CSnapshotTable::Instance().Ensure(this);
        mine.savedValue = std::move(saved);
        mine.savedHasValue = savedHasValue;
    }
    m_savedHidden = other.m_savedHidden;
}

void CAttribute::AppendAttributeText(std::string& out) const
{
    out.append(Name());
    // An empty value given as ="" stays given: a bare name reads as another attribute.
    if (!m_hasValue)
        return;
    // A value must read back as it was: one holding double quotes keeps
    // single ones around it, and one holding both kinds writes its double
    // quotes as the entity a browser reads back as a quote.
    const std::string_view value = Value();
    const bool hasDouble = value.find('"') != std::string_view::npos;
    if (hasDouble && value.find('\'') == std::string_view::npos) {
        out.append("='");
        out.append(value);
        out.push_back('\'');
        return;
    }
    out.append("=\"");
    if (!hasDouble) {
        out.append(value);
    } else {
        for (char c : value) {
            if (c == '"')
                out.append("&quot;");
            else
                out.push_back(c);
        }
    }
    out.push_back('"');
}

std::string CAttribute::AttributeText() const
{
    std::string text;
    AppendAttributeText(text);
    return text;
}

} // namespace orvane
