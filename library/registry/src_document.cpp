#include "src_document.h"

#include "registry_changed.h"

#include <algorithm>
#include <type_traits>

namespace orvane {
namespace {

template <class T, class Key>
T* FindIn(const CSrcDocument::List<T>& list, std::string_view key, Key keyOf)
{
    for (const auto& record : list) {
        if (keyOf(*record) == key)
            return record.get();
    }
    return nullptr;
}

const std::string& TableKey(const CSrcTable& table) { return table.Id(); }
const std::string& AppletKey(const CSrcApplet& applet) { return applet.Id(); }
const std::string& LinkKey(const CSrcLink& link) { return link.Address(); }
const std::string& ArtKey(const CSrcAsciiArt& art) { return art.Id(); }
const std::string& ImageKey(const CSrcImage& image) { return image.FileName(); }

// Check names hold no line breaks, so the pair cannot be confused.
std::string JudgementIndexKey(std::string_view check, std::string_view key)
{
    std::string index(check);
    index += '\n';
    index += key;
    return index;
}

} // namespace

template <> CSrcDocument::List<CSrcTable>& CSrcDocument::ListOf<CSrcTable>() { return m_tables; }
template <> CSrcDocument::List<CSrcImage>& CSrcDocument::ListOf<CSrcImage>() { return m_images; }
template <> CSrcDocument::List<CSrcImageMap>& CSrcDocument::ListOf<CSrcImageMap>() { return m_imageMaps; }
template <> CSrcDocument::List<CSrcAsciiArt>& CSrcDocument::ListOf<CSrcAsciiArt>() { return m_asciiArts; }
template <> CSrcDocument::List<CSrcApplet>& CSrcDocument::ListOf<CSrcApplet>() { return m_applets; }
template <> CSrcDocument::List<CSrcLink>& CSrcDocument::ListOf<CSrcLink>() { return m_links; }

template <class T>
T* CSrcDocument::Append(std::unique_ptr<T> record)
{
    List<T>& list = ListOf<T>();
    list.push_back(std::move(record));
    T* added = list.back().get();
    if constexpr (std::is_same_v<T, CSrcTable>) {
        if (!added->Id().empty())
            m_tablesById.try_emplace(added->Id(), added);  // the first of an id wins
    }
    return added;
}

template CSrcTable* CSrcDocument::Append(std::unique_ptr<CSrcTable>);
template CSrcImage* CSrcDocument::Append(std::unique_ptr<CSrcImage>);
template CSrcImageMap* CSrcDocument::Append(std::unique_ptr<CSrcImageMap>);
template CSrcAsciiArt* CSrcDocument::Append(std::unique_ptr<CSrcAsciiArt>);
template CSrcApplet* CSrcDocument::Append(std::unique_ptr<CSrcApplet>);
template CSrcLink* CSrcDocument::Append(std::unique_ptr<CSrcLink>);

void CSrcDocument::SetName(std::string name)
{
    m_name = std::move(name);
    MarkRegistryChanged();
}

void CSrcDocument::SetTitle(std::string title)
{
    m_title = std::move(title);
    MarkRegistryChanged();
}

void CSrcDocument::SetFramesNeedDescription(bool need)
{
    m_framesNeedDescription = need;
    MarkRegistryChanged();
}

CSrcTable* CSrcDocument::FindTable(std::string_view id) const
{
    if (id.empty())
        return FindIn(m_tables, id, TableKey);
    auto found = m_tablesById.find(std::string(id));
    return found == m_tablesById.end() ? nullptr : found->second;
}
CSrcApplet* CSrcDocument::FindApplet(std::string_view id) const { return FindIn(m_applets, id, AppletKey); }
CSrcLink* CSrcDocument::FindLink(std::string_view address) const { return FindIn(m_links, address, LinkKey); }
CSrcAsciiArt* CSrcDocument::FindAsciiArt(std::string_view id) const { return FindIn(m_asciiArts, id, ArtKey); }

CSrcImage* CSrcDocument::FindImage(std::string_view fileName) const
{
    return FindIn(m_images, CSrcImage::ReducedFileName(fileName), ImageKey);
}

CSrcTable* CSrcDocument::AddTable(std::unique_ptr<CSrcTable> table)
{
    if (!table)
        return nullptr;
    if (!table->Id().empty()) {
        if (CSrcTable* known = FindTable(table->Id()))
            return known;
    }
    MarkRegistryChanged();
    return Append(std::move(table));
}

CSrcApplet* CSrcDocument::AddApplet(std::unique_ptr<CSrcApplet> applet)
{
    if (!applet)
        return nullptr;
    if (CSrcApplet* known = FindApplet(applet->Id()))
        return known;
    MarkRegistryChanged();
    return Append(std::move(applet));
}

CSrcLink* CSrcDocument::AddLink(std::unique_ptr<CSrcLink> link)
{
    if (!link)
        return nullptr;
    if (CSrcLink* known = FindLink(link->Address()))
        return known;
    MarkRegistryChanged();
    return Append(std::move(link));
}

CSrcAsciiArt* CSrcDocument::AddAsciiArt(std::unique_ptr<CSrcAsciiArt> art)
{
    if (!art)
        return nullptr;
    if (CSrcAsciiArt* known = FindAsciiArt(art->Id()))
        return known;
    MarkRegistryChanged();
    return Append(std::move(art));
}

CSrcImage* CSrcDocument::AddImage(std::unique_ptr<CSrcImage> image)
{
    if (!image)
        return nullptr;
    if (CSrcImage* known = FindImage(image->FileName())) {
        known->MergeFrom(*image);
        return known;
    }
    MarkRegistryChanged();
    return Append(std::move(image));
}

CSrcImageMap* CSrcDocument::AddImageMap(std::unique_ptr<CSrcImageMap> map)
{
    if (!map)
        return nullptr;
    MarkRegistryChanged();
    return Append(std::move(map));
}

const CSrcJudgement* CSrcDocument::FindJudgement(std::string_view check, std::string_view key) const
{
    if (m_judgements.empty())
        return nullptr;
    auto found = m_judgements.find(JudgementIndexKey(check, key));
    return found == m_judgements.end() ? nullptr : &found->second;
}

void CSrcDocument::RecordJudgement(CSrcJudgement judgement)
{
    std::string index = JudgementIndexKey(judgement.check, judgement.key);
    m_judgements.insert_or_assign(std::move(index), std::move(judgement));
    MarkRegistryChanged();
}

bool CSrcDocument::ForgetJudgement(std::string_view check, std::string_view key)
{
    if (m_judgements.erase(JudgementIndexKey(check, key)) == 0)
        return false;
    MarkRegistryChanged();
    return true;
}

int CSrcDocument::ForgetJudgements(std::string_view check)
{
    const std::size_t before = m_judgements.size();
    std::erase_if(m_judgements, [&](const auto& entry) { return check.empty() || entry.second.check == check; });
    const int forgotten = static_cast<int>(before - m_judgements.size());
    if (forgotten > 0)
        MarkRegistryChanged();
    return forgotten;
}

std::vector<const CSrcJudgement*> CSrcDocument::Judgements() const
{
    std::vector<const CSrcJudgement*> sorted;
    sorted.reserve(m_judgements.size());
    for (const auto& entry : m_judgements)
        sorted.push_back(&entry.second);
    std::sort(sorted.begin(), sorted.end(), [](const CSrcJudgement* a, const CSrcJudgement* b) {
        return a->key != b->key ? a->key < b->key : a->check < b->check;
    });
    return sorted;
}

std::vector<std::pair<CSrcJudgement, CSrcJudgement>> CSrcDocument::MergeFrom(CSrcDocument&& other)
{
    if (m_title.empty())
        m_title = other.m_title;
    m_framesNeedDescription = m_framesNeedDescription && other.m_framesNeedDescription;
    for (auto& table : other.m_tables)
        AddTable(std::move(table));
    for (auto& image : other.m_images)
        AddImage(std::move(image));
    for (auto& map : other.m_imageMaps)
        AddImageMap(std::move(map));
    for (auto& art : other.m_asciiArts)
        AddAsciiArt(std::move(art));
    for (auto& applet : other.m_applets)
        AddApplet(std::move(applet));
    for (auto& link : other.m_links)
        AddLink(std::move(link));
    std::vector<std::pair<CSrcJudgement, CSrcJudgement>> conflicts;
    for (auto& [index, judgement] : other.m_judgements) {
        auto known = m_judgements.find(index);
        if (known == m_judgements.end()) {
            m_judgements.emplace(index, std::move(judgement));
            continue;
        }
        if (known->second.verdict == judgement.verdict) {
            if (judgement.date > known->second.date)
                known->second = std::move(judgement);
            continue;
        }
        // Dates are written YYYY-MM-DD, so the later one is the larger text.
        if (judgement.date > known->second.date) {
            conflicts.emplace_back(judgement, known->second);
            known->second = std::move(judgement);
        } else {
            conflicts.emplace_back(known->second, judgement);
        }
    }
    other.m_tables.clear();
    other.m_tablesById.clear();
    other.m_judgements.clear();
    MarkRegistryChanged();
    return conflicts;
}

} // namespace orvane
