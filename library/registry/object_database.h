#pragma once

#include "src_document.h"
#include "src_image.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orvane {

// Lets the maps be searched with a string_view without making a string first.
struct SrcKeyHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view key) const { return std::hash<std::string_view>{}(key); }
};
template <class T>
using SrcKeyMap = std::unordered_map<std::string, T*, SrcKeyHash, std::equal_to<>>;

class CHtmlDocument;

// The object registry: what the user decided about the images and documents
// met so far, kept in "ObjectRegistry.xml" so later checks reuse it. One
// registry serves one checking session; it owns every record it holds.
//
// While the registry is not loaded, lookups find nothing; additions still
// work and are saved. Keys (file names, document names) are set before a
// record is added and not changed afterwards.
class CSrcObjectDatabase {
public:
    static constexpr std::string_view kFileName = "ObjectRegistry.xml";

    // The registry file in the per-user data folder.
    CSrcObjectDatabase();
    // The registry file at the given path.
    explicit CSrcObjectDatabase(std::string filePath);
    ~CSrcObjectDatabase();
    CSrcObjectDatabase(const CSrcObjectDatabase&) = delete;
    CSrcObjectDatabase& operator=(const CSrcObjectDatabase&) = delete;

    // The per-user data folder followed by "/ObjectRegistry.xml".
    static std::string DefaultFilePath();

    // --- A site's own registry ----------------------------------------------------
    // A site keeps its registry in ".orvane/registry.xml" at its top, found by
    // walking up from the page's folder; empty when no folder above has one.
    static constexpr std::string_view kSiteFile = ".orvane/registry.xml";
    static std::string FindSiteRegistry(std::string_view pagePath);
    // Uses the site registry above the page when there is one (true), and
    // keys documents by their path relative to the site's folder, with '/'.
    // Without one the registry stays as it is. Call before Load.
    bool UseSiteOf(std::string_view pagePath);
    // Uses the given file as a site registry whose site is the folder above
    // its ".orvane" folder.
    void UseSiteRegistry(std::string filePath);
    bool IsSiteRegistry() const { return !m_siteRoot.empty(); }
    const std::string& SiteRoot() const { return m_siteRoot; }
    // The name a document is kept under: in a site registry, a path inside
    // the site is made relative to it, whether given absolute or relative to
    // the working folder; any other name stays as given.
    std::string DocumentKey(std::string_view name) const;
    // The last load found the file left with the marks of an unfinished merge.
    bool HadMergeConflict() const { return m_mergeConflict; }
    std::string FilePath() const;
    void SetFilePath(std::string filePath);

    // --- The file ---------------------------------------------------------------
    // Replaces what is held by the file's records; 1 on success, 0 when the
    // file is missing, unreadable or not a registry (the registry is then
    // empty and not loaded).
    int Load();
    // Writes the file when anything changed; 1 when the file is up to date, 0
    // when it could not be written (the changed flag then stays set). A file
    // that was there but could not be loaded is first set aside under a new
    // name, so the save does not destroy it.
    int Save();
    bool IsLoaded() const { return m_loaded; }
    // Load for a session that writes the registry back: a file not made yet,
    // or one that cannot be read (set aside at the save), leaves the registry
    // empty but loaded, so what the session decides is found again before it
    // is written. Returns what Load returns.
    int LoadForSession();
    // Deletes every record; the registry is then not loaded.
    void Clear();

    // The process-wide changed flag (see registry_changed.h).
    static bool IsChanged();
    static void SetChanged(bool changed);

    // Records the images and image buttons of a checked page that have both a
    // source and an alternative text, with their long description addresses.
    void UpdateFromDocument(const CHtmlDocument& document);

    // --- Lookups (nothing is found while the registry is not loaded) -------------
    // The image with that file name; a name with a folder is looked up by its
    // part after the last '/', the way images are stored.
    CSrcImage* FindImage(std::string_view fileName) const;
    CSrcDocument* FindDocument(std::string_view name) const;
    // Exact, case-sensitive keys within the named document.
    CSrcTable* FindTable(std::string_view documentName, std::string_view id) const;
    CSrcApplet* FindApplet(std::string_view documentName, std::string_view id) const;
    CSrcLink* FindLink(std::string_view documentName, std::string_view address) const;
    CSrcAsciiArt* FindAsciiArt(std::string_view documentName, std::string_view id) const;

    // --- Additions ---------------------------------------------------------------
    // A known image takes over what the new record adds, and is returned;
    // otherwise the new one is stored and returned.
    CSrcImage* AddImage(std::unique_ptr<CSrcImage> image);
    // 1 when stored; 0 when a document of that name is known (the new one is
    // dropped, nothing is merged).
    int AddDocument(std::unique_ptr<CSrcDocument> document);
    // The document's entry, made when missing (also while nothing is
    // loaded, as the first session makes the file); null for an empty name.
    CSrcDocument* DocumentFor(std::string_view name) { return DocumentForAdding(name, "DocumentFor"); }
    // Stores the record in the named document, which is created when missing,
    // and returns the record now standing for that key (a known one wins).
    // Without a document name the record is returned as it is: the registry
    // keeps it alive for the session but it is neither found nor saved.
    CSrcTable* AddTable(std::unique_ptr<CSrcTable> table, std::string_view documentName);
    CSrcApplet* AddApplet(std::unique_ptr<CSrcApplet> applet, std::string_view documentName);
    CSrcLink* AddLink(std::unique_ptr<CSrcLink> link, std::string_view documentName);
    CSrcAsciiArt* AddAsciiArt(std::unique_ptr<CSrcAsciiArt> art, std::string_view documentName);
    CSrcImageMap* AddImageMap(std::unique_ptr<CSrcImageMap> map, std::string_view documentName);

    // Forgets everything remembered of the document; false when none is known.
    bool RemoveDocument(std::string_view name);
    // The document's entry taken out of the registry, to be kept elsewhere;
    // null when none is known.
    std::unique_ptr<CSrcDocument> TakeDocument(std::string_view name);
    // Takes over the other registry's records (see CSrcDocument::MergeFrom);
    // the judgements both held with different verdicts, by document name,
    // as {kept, dropped}.
    struct JudgementConflict {
        std::string document;
        CSrcJudgement kept;
        CSrcJudgement dropped;
    };
    std::vector<JudgementConflict> MergeFrom(CSrcObjectDatabase&& other);

    // --- Walking, in the order the records were stored ---------------------------
    const std::vector<std::unique_ptr<CSrcImage>>& Images() const { return m_images; }
    const std::vector<std::unique_ptr<CSrcDocument>>& Documents() const { return m_documents; }

private:
    CSrcImage* ImageNamed(std::string_view fileName) const;
    // The key of a name as a registry file keeps it: relative names are the
    // site's already; absolute ones inside the site become relative.
    std::string StoredKey(std::string_view name) const;
    CSrcDocument* DocumentNamed(std::string_view name) const;
    // The named document, created when missing; null for an empty name.
    CSrcDocument* DocumentForAdding(std::string_view name, std::string_view operation);
    bool SetAsideUnreadableFile();

    std::string m_filePath;  // empty: the default path, found when first needed
    std::string m_siteRoot;  // absolute, without a trailing '/'; empty: not a site registry
    bool m_mergeConflict = false;
    // Every table of a page asks for the page's record by the page's name:
    // the last name's key is kept, so a page's path is resolved once.
    mutable std::string m_lastName;
    mutable std::string m_lastKey;
    bool m_loaded = false;
    // The file was there at the last load but could not be read.
    bool m_fileUnreadable = false;
    std::vector<std::unique_ptr<CSrcImage>> m_images;
    SrcKeyMap<CSrcImage> m_imageIndex;
    std::vector<std::unique_ptr<CSrcDocument>> m_documents;
    SrcKeyMap<CSrcDocument> m_documentIndex;
    // Records added without a document name.
    std::unique_ptr<CSrcDocument> m_unfiled = std::make_unique<CSrcDocument>();
};

} // namespace orvane
