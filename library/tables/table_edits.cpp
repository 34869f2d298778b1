// The caption and summary changes of the repair pages, and their undoing.

#include "table_record.h"

#include "table_tags.h"

#include "library/html/attribute.h"
#include "library/html/element.h"
#include "library/html/html_document.h"
#include "library/html/tag_table.h"
#include "library/registry/src_table.h"

#include <new>

namespace orvane {

// A caption change while it stands, and the caption elements the record made
// for it. Made elements cannot leave the page again; undoing marks them
// deleted, and a later change brings them back.
struct CTableRecord::CaptionChange {
    bool active = false;
    CElement* text = nullptr;  // the text run that carries the new caption
    std::string savedText;
    bool savedModified = false;
    bool usesMade = false;
    std::vector<CElement*> hidden;  // further caption texts, deleted while the change stands
    CElement* madeText = nullptr;
    std::vector<CElement*> made;
};

struct CTableRecord::SummaryChange {
    bool active = false;
    bool savedChanged = false;
    bool savedModified = false;
};

CTableRecord::CTableRecord() = default;
CTableRecord::~CTableRecord() = default;

std::string CTableRecord::CaptionText() const
{
    std::string text;
    for (const CElement* e : m_caption) {
        if (e->Kind() == kind::kText && !e->IsDeleted())
            text.append(e->Text());
    }
    return text;
}

CElement* CTableRecord::InsertMade(const CElement& after, int elementKind, std::string_view text)
{
    ElementPtr element(new CElement());
    element->SetKind(elementKind);
    if (!element->SetText(text))
        return nullptr;
    element->SetModified(true);
    CElement* raw = element.get();
    return m_document->InsertAfter(&after, std::move(element)) ? raw : nullptr;
}

int CTableRecord::SetCaption(std::string_view typed)
{
    if (!m_built)
        return 0;
    try {
        // A caption typed with < or & is text, not markup, in the page's encoding.
        const std::string bytes = m_document->PageBytes(typed, TextPlace::ElementText);
        const std::string_view text = bytes;
        if (!m_captionChange)
            m_captionChange = std::make_unique<CaptionChange>();
        CaptionChange& change = *m_captionChange;
        if (change.active)
            return change.text->SetText(text) ? 1 : 0;

        CElement* captionStart = nullptr;
        CElement* firstText = nullptr;
        std::vector<CElement*> further;
        for (CElement* e : m_caption) {
            if (e->IsDeleted())
                continue;
            if (e->Kind() == table_tag::kCaption && !captionStart)
                captionStart = e;
            else if (e->Kind() == kind::kText && !firstText)
                firstText = e;
            else if (e->Kind() == kind::kText)
                further.push_back(e);
        }

        if (firstText) {
            std::string saved = firstText->GetText();
            bool savedModified = firstText->IsModified();
            if (!firstText->SetText(text))
                return 0;
            firstText->SetModified(true);
            change.savedText = std::move(saved);
            change.savedModified = savedModified;
            change.text = firstText;
            change.usesMade = false;
            for (CElement* e : further)
                e->SetDeleted(true);
            change.hidden = std::move(further);
        } else {
            if (!change.madeText) {
                std::vector<CElement*> made;
                CElement* madeText = nullptr;
                if (captionStart) {
                    madeText = InsertMade(*captionStart, kind::kText, text);
                    if (madeText)
                        made.push_back(madeText);
                } else if (CElement* start = InsertMade(*m_table, table_tag::kCaption, "<caption>")) {
                    made.push_back(start);
                    madeText = InsertMade(*start, kind::kText, text);
                    if (madeText) {
                        made.push_back(madeText);
                        CElement* end = InsertMade(*madeText, table_tag::kCaption + kind::kEndOffset, "</caption>");
                        if (end) {
                            made.push_back(end);
                            start->SetPartner(end);
                            end->SetPartner(start);
                        } else {
                            madeText = nullptr;
                        }
                    }
                }
                if (!madeText) {
                    for (CElement* e : made)
                        e->SetDeleted(true);
                    return 0;
                }
                m_caption.insert(m_caption.end(), made.begin(), made.end());
                change.madeText = madeText;
                change.made = std::move(made);
            } else if (!change.madeText->SetText(text)) {
                return 0;
            }
            for (CElement* e : change.made)
                e->SetDeleted(false);
            change.text = change.madeText;
            change.usesMade = true;
        }
        change.active = true;
        return 1;
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

void CTableRecord::UndoCaption()
{
    if (!m_captionChange || !m_captionChange->active)
        return;
    CaptionChange& change = *m_captionChange;
    if (change.usesMade) {
        for (CElement* e : change.made)
            e->SetDeleted(true);
    } else {
        change.text->SetText(change.savedText);
        change.text->SetModified(change.savedModified);
    }
    for (CElement* e : change.hidden)
        e->SetDeleted(false);
    change.hidden.clear();
    change.active = false;
}

std::string CTableRecord::SummaryValue() const
{
    if (!m_summary || m_summary->IsHidden())
        return {};
    return m_summary->GetValue();
}

int CTableRecord::SetSummary(std::string_view text)
{
    if (!m_built)
        return 0;
    try {
        std::string value;
        for (char c : m_document->PageBytes(text, TextPlace::AttributeValue)) {
            if (c == '"')
                value += "&quot;";
            else
                value += c;
        }
        if (!m_summaryChange)
            m_summaryChange = std::make_unique<SummaryChange>();
        if (!m_summary) {
            auto made = std::make_unique<CAttribute>();
            made->NameById(attr::kSummary);
            made->SetHideable(true);
            made->Hide(true);
            m_summary = made.get();
            m_table->InsertAttribute(std::move(made));
        }
        SummaryChange& change = *m_summaryChange;
        if (!change.active) {
            m_summary->Save();
            change.savedChanged = m_summary->IsChanged();
            change.savedModified = m_table->IsModified();
            change.active = true;
        }
        if (!m_summary->SetValue(value))
            return 0;
        m_summary->Hide(false);
        m_summary->SetChanged(true);
        m_table->SetModified(true);
        FollowRegistryKey();
        return 1;
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

void CTableRecord::UndoSummary()
{
    if (!m_summaryChange || !m_summaryChange->active)
        return;
    SummaryChange& change = *m_summaryChange;
    m_summary->Restore();
    m_summary->SetChanged(change.savedChanged);
    m_table->SetModified(change.savedModified);
    change.active = false;
    FollowRegistryKey();
}

// The summary is what the registry knows the table by: when it changes, the
// table's entry takes the new key, or the next session would find the table
// unknown and ask again what was already answered.
void CTableRecord::FollowRegistryKey()
{
    if (!m_registryRecord)
        return;
    std::string key = RegistryKey();
    if (key == m_id)
        return;
    m_registryRecord->SetId(key);
    m_id = std::move(key);
}

} // namespace orvane
