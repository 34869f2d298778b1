#pragma once

#include "attribute_table.h"
#include "compact_string.h"

#include <memory>
#include <string>
#include <string_view>

namespace orvane {

class CElementArena;

// One attribute of a tag; the first attribute of a tag is the element name.
class CAttribute {
public:
    CAttribute() = default;
    ~CAttribute() = default;
    CAttribute(const CAttribute&) = delete;
    CAttribute& operator=(const CAttribute&) = delete;

    int Id() const { return m_id; }
    std::string_view Name() const { return m_name.View(); }
    std::string_view Value() const { return m_value.View(); }
    std::string GetValue() const { return m_value.Str(); }

    // Names the attribute; the first name of a tag is the element name (id 0).
    void NameByText(std::string_view name, bool isFirst);
    // Takes the table's name for the id; a name outside the table is left as it was.
    void NameById(int id);

    bool SetValue(std::string_view value);
    bool IsEmpty() const { return m_value.Empty(); }
    // Not empty and made only of blanks.
    bool IsBlank() const;
    bool HasValue() const { return m_hasValue; }

    long long NumericValue() const;
    // Stores the number in decimal and marks the attribute changed when it differs.
    void SetNumericValue(long long number);
    bool ColourValue(Rgb& colour) const;

    bool IsHidden() const { return m_hidden; }
    bool IsHideable() const { return m_hideable; }
    void SetHideable(bool hideable) { m_hideable = hideable; }
    // Showing always works; only an attribute a repair created can be hidden.
    void Hide(bool hide);

    bool IsChanged() const { return m_changed; }
    void SetChanged(bool changed) { m_changed = changed; }

    void Save();
    void Restore();
    std::string_view SavedValue() const;
    bool SavedHidden() const { return m_savedHidden; }
    // Kept for the repair pages; the document model does not use it.
    std::string_view SecondSaved() const;
    void SetSecondSaved(std::string_view text);

    // Takes id, name, value, hidden flag and the saved snapshot of another attribute.
    void CopyFrom(const CAttribute& other);

    // name="value", or the bare name when the value is empty.
    std::string AttributeText() const;
    void AppendAttributeText(std::string& out) const;

    // Used by the parser: name and value borrow the element's text.
    bool BorrowName(std::string_view name, bool isFirst);
    bool BorrowValue(std::string_view value);
    // Copies borrowed name and value, so the text they point into may go.
    bool Materialize();

    CAttribute* Next() const { return m_next; }

private:
    friend class CElement;
    friend class CAttributeParser;

    struct Snapshot {
        std::string savedValue;
        std::string secondSaved;
    };
    Snapshot& EnsureSnapshot();

    CompactString m_name;
    CompactString m_value;
    int m_id = attr::kUnnamed;
    bool m_hidden = false;
    bool m_hideable = false;
    bool m_changed = false;
    bool m_savedHidden = false;
    bool m_hasValue = false;
    bool m_inArena = false;
    std::unique_ptr<Snapshot> m_snapshot;
    CAttribute* m_next = nullptr;
};

} // namespace orvane
