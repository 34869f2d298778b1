#include "attribute.h"

#include "text_util.h"

#include <charconv>

namespace orvane {

void CAttribute::NameByText(std::string_view name, bool isFirst)
{
    m_name.Assign(name);
    m_id = isFirst ? attr::kOther : AttributeIdOfName(name);
}

bool CAttribute::BorrowName(std::string_view name, bool isFirst)
{
    if (!m_name.Borrow(name))
        return false;
    m_id = isFirst ? attr::kOther : AttributeIdOfName(name);
    return true;
}

void CAttribute::NameById(int id)
{
    m_id = id;
    std::string_view tableName = AttributeNameOfId(id);
    if (!tableName.empty())
        m_name.Assign(tableName);
}

bool CAttribute::SetValue(std::string_view value)
{
    if (!m_value.Assign(value))
        return false;
    m_hasValue = true;
    return true;
}

bool CAttribute::BorrowValue(std::string_view value)
{
    if (!m_value.Borrow(value))
        return false;
    m_hasValue = true;
    return true;
}

bool CAttribute::Materialize() { return m_name.Materialize() && m_value.Materialize(); }

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

CAttribute::Snapshot& CAttribute::EnsureSnapshot()
{
    if (!m_snapshot)
        m_snapshot = std::make_unique<Snapshot>();
    return *m_snapshot;
}

void CAttribute::Save()
{
    EnsureSnapshot().savedValue.assign(Value());
    m_savedHidden = m_hidden;
}

void CAttribute::Restore()
{
    SetValue(SavedValue());
    m_hidden = m_savedHidden;
}

std::string_view CAttribute::SavedValue() const
{
    return m_snapshot ? std::string_view(m_snapshot->savedValue) : std::string_view();
}

std::string_view CAttribute::SecondSaved() const
{
    return m_snapshot ? std::string_view(m_snapshot->secondSaved) : std::string_view();
}

void CAttribute::SetSecondSaved(std::string_view text) { EnsureSnapshot().secondSaved.assign(text); }

void CAttribute::CopyFrom(const CAttribute& other)
{
    m_id = other.m_id;
    m_name.Assign(other.Name());
    m_value.Assign(other.Value());
    m_hasValue = other.m_hasValue;
    m_hidden = other.m_hidden;
    EnsureSnapshot().savedValue.assign(other.SavedValue());
    m_savedHidden = other.m_savedHidden;
}

void CAttribute::AppendAttributeText(std::string& out) const
{
    out.append(Name());
    if (!m_value.Empty()) {
        out.append("=\"");
        out.append(Value());
        out.push_back('"');
    }
}

std::string CAttribute::AttributeText() const
{
    std::string text;
    AppendAttributeText(text);
    return text;
}

} // namespace orvane
