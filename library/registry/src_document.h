#pragma once

#include "src_applet.h"
#include "src_ascii_art.h"
#include "src_image.h"
#include "src_image_map.h"
#include "src_judgement.h"
#include "src_link.h"
#include "src_table.h"

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orvane {

// What is known about one document: its title, whether its frames need
// descriptions, and the judged objects on it. Tables, applets, links and
// ASCII art are known by their keys (the first record of a key wins); image
// maps are kept as they come.
class CSrcDocument {
public:
    template <class T>
    using List = std::vector<std::unique_ptr<T>>;

    CSrcDocument() = default;
    explicit CSrcDocument(std::string name) : m_name(std::move(name)) {}
    CSrcDocument(const CSrcDocument&) = delete;
    CSrcDocument& operator=(const CSrcDocument&) = delete;

    const std::string& Name() const { return m_name; }
    void SetName(std::string name);
    const std::string& Title() const { return m_title; }
    void SetTitle(std::string title);
    // Set until the user decides otherwise, as a page no one has judged needs them.
    bool FramesNeedDescription() const { return m_framesNeedDescription; }
    void SetFramesNeedDescription(bool need);

    const List<CSrcTable>& Tables() const { return m_tables; }
    const List<CSrcImage>& Images() const { return m_images; }
    const List<CSrcImageMap>& ImageMaps() const { return m_imageMaps; }
    const List<CSrcAsciiArt>& AsciiArts() const { return m_asciiArts; }
    const List<CSrcApplet>& Applets() const { return m_applets; }
    const List<CSrcLink>& Links() const { return m_links; }

    // The first record whose key is exactly the one given; null when none.
    // Tables are found by an index of their ids, so a table's id is not to
    // change once the table is in a document.
    CSrcTable* FindTable(std::string_view id) const;
    CSrcApplet* FindApplet(std::string_view id) const;
    CSrcLink* FindLink(std::string_view address) const;
    CSrcAsciiArt* FindAsciiArt(std::string_view id) const;
    CSrcImage* FindImage(std::string_view fileName) const;

    // Adding a record whose key is known already drops the new record and
    // returns the known one; otherwise the record is appended and returned.
    // Tables without an id are always appended.
    CSrcTable* AddTable(std::unique_ptr<CSrcTable> table);
    CSrcApplet* AddApplet(std::unique_ptr<CSrcApplet> applet);
    CSrcLink* AddLink(std::unique_ptr<CSrcLink> link);
    CSrcAsciiArt* AddAsciiArt(std::unique_ptr<CSrcAsciiArt> art);
    // An image already known takes over what the new record adds.
    CSrcImage* AddImage(std::unique_ptr<CSrcImage> image);
    CSrcImageMap* AddImageMap(std::unique_ptr<CSrcImageMap> map);

    // --- Judgements: one per check and key; a later one replaces an earlier.
    // Found by a hash of check and key, so looking up every problem of a
    // large page stays linear in the page.
    const CSrcJudgement* FindJudgement(std::string_view check, std::string_view key) const;
    void RecordJudgement(CSrcJudgement judgement);
    // True when there was one to forget.
    bool ForgetJudgement(std::string_view check, std::string_view key);
    // Forgets those of the check, or all of them for an empty check; how many went.
    int ForgetJudgements(std::string_view check);
    bool HasJudgements() const { return !m_judgements.empty(); }
    std::size_t JudgementCount() const { return m_judgements.size(); }
    // In a stable order, by key and then by check, so a registry written
    // again after a change differs only where the change is.
    std::vector<const CSrcJudgement*> Judgements() const;
    // Each of them in no order: for readers to whom order means nothing,
    // without the sorting.
    template <class Visit>
    void ForEachJudgement(Visit&& visit) const
    {
        for (const auto& entry : m_judgements)
            visit(entry.second);
    }

    // Takes over the other document's records: a key known here keeps this
    // document's record, except a judgement, where the later date wins.
    // Returns the judgements both had with different verdicts, as
    // {kept, dropped}.
    std::vector<std::pair<CSrcJudgement, CSrcJudgement>> MergeFrom(CSrcDocument&& other);

    // Appends whatever the key and leaves the changed flag alone: for records
    // that belong to no document.
    template <class T>
    T* Append(std::unique_ptr<T> record);

private:
    template <class T>
    List<T>& ListOf();

    std::string m_name;
    std::string m_title;
    List<CSrcTable> m_tables;
    // A page may hold tens of thousands of tables, each looked up once as
    // it is read: a search through the list would make that quadratic.
    std::unordered_map<std::string, CSrcTable*> m_tablesById;
    List<CSrcImage> m_images;
    List<CSrcImageMap> m_imageMaps;
    List<CSrcAsciiArt> m_asciiArts;
    List<CSrcApplet> m_applets;
    List<CSrcLink> m_links;
    bool m_framesNeedDescription = true;
    std::unordered_map<std::string, CSrcJudgement> m_judgements;  // by JudgementIndexKey
};

} // namespace orvane
