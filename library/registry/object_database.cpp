#include "object_database.h"

#include "registry_changed.h"

#include "library/html/html_document.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"

#include "platform/paths.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <system_error>

namespace orvane {
namespace {

// Names a caller's mistake in debug builds; release builds stay silent.
void Trace([[maybe_unused]] std::string_view text)
{
#ifndef NDEBUG
    std::cerr << text;
#endif
}

// The value of an attribute the page really carries; empty when missing,
// empty or hidden by a repair.
std::string_view VisibleValue(const CElement& element, int id)
{
    const CAttribute* attribute = element.FindAttribute(id);
    if (!attribute || attribute->IsHidden())
        return {};
    return attribute->Value();
}

} // namespace

CSrcObjectDatabase::CSrcObjectDatabase() = default;
CSrcObjectDatabase::CSrcObjectDatabase(std::string filePath) : m_filePath(std::move(filePath)) {}
CSrcObjectDatabase::~CSrcObjectDatabase() = default;

std::string CSrcObjectDatabase::DefaultFilePath()
{
    return platform::UserDataDirectory() + "/" + std::string(kFileName);
}

std::string CSrcObjectDatabase::FilePath() const { return m_filePath.empty() ? DefaultFilePath() : m_filePath; }

void CSrcObjectDatabase::SetFilePath(std::string filePath) { m_filePath = std::move(filePath); }

namespace {

std::filesystem::path Absolute(std::string_view path)
{
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(std::filesystem::path(path), error);
    if (error)
        return std::filesystem::path(path);
    std::filesystem::path canonical = std::filesystem::weakly_canonical(absolute, error);
    return error ? absolute.lexically_normal() : canonical;
}

} // namespace

std::string CSrcObjectDatabase::FindSiteRegistry(std::string_view pagePath)
{
    if (pagePath.empty())
        return {};
    std::filesystem::path folder = Absolute(pagePath).parent_path();
    std::error_code error;
    for (;;) {
        std::filesystem::path candidate = folder / std::filesystem::path(kSiteFile);
        if (std::filesystem::is_regular_file(candidate, error) || std::filesystem::exists(candidate, error))
            return candidate.string();
        std::filesystem::path up = folder.parent_path();
        if (up.empty() || up == folder)
            return {};
        folder = std::move(up);
    }
}

bool CSrcObjectDatabase::UseSiteOf(std::string_view pagePath)
{
    std::string found = FindSiteRegistry(pagePath);
    if (found.empty())
        return false;
    UseSiteRegistry(std::move(found));
    return true;
}

void CSrcObjectDatabase::UseSiteRegistry(std::string filePath)
{
    std::filesystem::path file = Absolute(filePath);
    m_siteRoot = file.parent_path().parent_path().string();
    m_lastName.clear();
    m_lastKey.clear();
    while (m_siteRoot.size() > 1 && m_siteRoot.back() == '/')
        m_siteRoot.pop_back();
    m_filePath = file.string();
}

std::string CSrcObjectDatabase::StoredKey(std::string_view name) const
{
    // A stored relative name is relative to the site already.
    if (m_siteRoot.empty() || !std::filesystem::path(name).is_absolute())
        return std::string(name);
    return DocumentKey(name);
}

std::string CSrcObjectDatabase::DocumentKey(std::string_view name) const
{
    if (m_siteRoot.empty() || name.empty())
        return std::string(name);
    // Names as the library's hosts give them: URLs and the like stay as they are.
    if (name.find("://") != std::string_view::npos)
        return std::string(name);
    if (name == m_lastName)
        return m_lastKey;
    std::filesystem::path relative = Absolute(name).lexically_relative(std::filesystem::path(m_siteRoot));
    m_lastName = name;
    m_lastKey = relative.empty() || *relative.begin() == ".." ? std::string(name) : relative.generic_string();
    return m_lastKey;
}

bool CSrcObjectDatabase::IsChanged() { return RegistryChanged(); }
void CSrcObjectDatabase::SetChanged(bool changed) { SetRegistryChanged(changed); }

void CSrcObjectDatabase::Clear()
{
    m_imageIndex.clear();
    m_images.clear();
    m_documentIndex.clear();
    m_documents.clear();
    m_unfiled = std::make_unique<CSrcDocument>();
    m_loaded = false;
}

CSrcImage* CSrcObjectDatabase::ImageNamed(std::string_view fileName) const
{
    auto it = m_imageIndex.find(CSrcImage::ReducedFileName(fileName));
    return it == m_imageIndex.end() ? nullptr : it->second;
}

CSrcDocument* CSrcObjectDatabase::DocumentNamed(std::string_view name) const
{
    auto it = m_documentIndex.find(name);
    return it == m_documentIndex.end() ? nullptr : it->second;
}

int CSrcObjectDatabase::LoadForSession()
{
    const int loaded = Load();
    m_loaded = true;
    return loaded;
}

CSrcImage* CSrcObjectDatabase::FindImage(std::string_view fileName) const
{
    return m_loaded ? ImageNamed(fileName) : nullptr;
}

CSrcDocument* CSrcObjectDatabase::FindDocument(std::string_view name) const
{
    if (!m_loaded)
        return nullptr;
    return IsSiteRegistry() ? DocumentNamed(DocumentKey(name)) : DocumentNamed(name);
}

CSrcTable* CSrcObjectDatabase::FindTable(std::string_view documentName, std::string_view id) const
{
    const CSrcDocument* document = FindDocument(documentName);
    return document ? document->FindTable(id) : nullptr;
}

CSrcApplet* CSrcObjectDatabase::FindApplet(std::string_view documentName, std::string_view id) const
{
    const CSrcDocument* document = FindDocument(documentName);
    return document ? document->FindApplet(id) : nullptr;
}

CSrcLink* CSrcObjectDatabase::FindLink(std::string_view documentName, std::string_view address) const
{
    const CSrcDocument* document = FindDocument(documentName);
    return document ? document->FindLink(address) : nullptr;
}

CSrcAsciiArt* CSrcObjectDatabase::FindAsciiArt(std::string_view documentName, std::string_view id) const
{
    const CSrcDocument* document = FindDocument(documentName);
    return document ? document->FindAsciiArt(id) : nullptr;
}

CSrcImage* CSrcObjectDatabase::AddImage(std::unique_ptr<CSrcImage> image)
{
    if (!image)
        return nullptr;
    if (CSrcImage* known = ImageNamed(image->FileName())) {
        known->MergeFrom(*image);
        return known;
    }
    CSrcImage* stored = image.get();
    m_images.push_back(std::move(image));
    m_imageIndex.emplace(stored->FileName(), stored);
    MarkRegistryChanged();
    return stored;
}

int CSrcObjectDatabase::AddDocument(std::unique_ptr<CSrcDocument> document)
{
    if (!document)
        return 0;
    // A record kept under the absolute path of a page of the site is the
    // page's record wherever the site is checked out.
    if (IsSiteRegistry()) {
        if (std::string key = StoredKey(document->Name()); key != document->Name())
            document->SetName(std::move(key));
    }
    if (DocumentNamed(document->Name()))
        return 0;
    CSrcDocument* stored = document.get();
    m_documents.push_back(std::move(document));
    m_documentIndex.emplace(stored->Name(), stored);
    MarkRegistryChanged();
    return 1;
}

CSrcDocument* CSrcObjectDatabase::DocumentForAdding(std::string_view name, std::string_view operation)
{
    if (name.empty()) {
        Trace("Document name is empty in CSrcObjectDatabase::" + std::string(operation) + "!\n");
        return nullptr;
    }
    const std::string key = DocumentKey(name);
    if (CSrcDocument* known = DocumentNamed(key))
        return known;
    auto created = std::make_unique<CSrcDocument>(key);
    CSrcDocument* document = created.get();
    AddDocument(std::move(created));
    return document;
}

CSrcTable* CSrcObjectDatabase::AddTable(std::unique_ptr<CSrcTable> table, std::string_view documentName)
{
    if (!table)
        return nullptr;
    CSrcDocument* document = DocumentForAdding(documentName, "AddTable");
    return document ? document->AddTable(std::move(table)) : m_unfiled->Append(std::move(table));
}

CSrcApplet* CSrcObjectDatabase::AddApplet(std::unique_ptr<CSrcApplet> applet, std::string_view documentName)
{
    if (!applet)
        return nullptr;
    CSrcDocument* document = DocumentForAdding(documentName, "AddApplet");
    return document ? document->AddApplet(std::move(applet)) : m_unfiled->Append(std::move(applet));
}

CSrcLink* CSrcObjectDatabase::AddLink(std::unique_ptr<CSrcLink> link, std::string_view documentName)
{
    if (!link)
        return nullptr;
    CSrcDocument* document = DocumentForAdding(documentName, "AddLink");
    return document ? document->AddLink(std::move(link)) : m_unfiled->Append(std::move(link));
}

CSrcAsciiArt* CSrcObjectDatabase::AddAsciiArt(std::unique_ptr<CSrcAsciiArt> art, std::string_view documentName)
{
    if (!art)
        return nullptr;
    CSrcDocument* document = DocumentForAdding(documentName, "AddAsciiArt");
    return document ? document->AddAsciiArt(std::move(art)) : m_unfiled->Append(std::move(art));
}

CSrcImageMap* CSrcObjectDatabase::AddImageMap(std::unique_ptr<CSrcImageMap> map, std::string_view documentName)
{
    if (!map)
        return nullptr;
    CSrcDocument* document = DocumentForAdding(documentName, "AddImageMap");
    return document ? document->AddImageMap(std::move(map)) : m_unfiled->Append(std::move(map));
}

bool CSrcObjectDatabase::RemoveDocument(std::string_view name) { return TakeDocument(name) != nullptr; }

std::unique_ptr<CSrcDocument> CSrcObjectDatabase::TakeDocument(std::string_view name)
{
    CSrcDocument* document = DocumentNamed(name);
    if (!document && IsSiteRegistry())
        document = DocumentNamed(DocumentKey(name));
    if (!document)
        return nullptr;
    m_documentIndex.erase(m_documentIndex.find(document->Name()));
    auto held = std::find_if(m_documents.begin(), m_documents.end(),
                             [&](const auto& record) { return record.get() == document; });
    std::unique_ptr<CSrcDocument> taken = std::move(*held);
    m_documents.erase(held);
    MarkRegistryChanged();
    return taken;
}

std::vector<CSrcObjectDatabase::JudgementConflict> CSrcObjectDatabase::MergeFrom(CSrcObjectDatabase&& other)
{
    std::vector<JudgementConflict> conflicts;
    for (auto& image : other.m_images)
        AddImage(std::move(image));
    for (auto& document : other.m_documents) {
        CSrcDocument* known = DocumentNamed(StoredKey(document->Name()));
        if (!known) {
            AddDocument(std::move(document));
            continue;
        }
        for (auto& [kept, dropped] : known->MergeFrom(std::move(*document)))
            conflicts.push_back({known->Name(), std::move(kept), std::move(dropped)});
    }
    other.Clear();
    m_loaded = true;
    return conflicts;
}

void CSrcObjectDatabase::UpdateFromDocument(const CHtmlDocument& document)
{
    for (const CElement* element : document.Elements()) {
        // An image button's picture is an image file as well: its text is
        // offered wherever the file stands next.
        const bool imageButton =
            element->Kind() == tag::kInput && EqualsIgnoreCase(VisibleValue(*element, attr::kType), "image");
        if (element->Kind() != tag::kImg && !imageButton)
            continue;
        std::string_view src = VisibleValue(*element, attr::kSrc);
        std::string_view alt = VisibleValue(*element, attr::kAlt);
        if (src.empty() || alt.empty())
            continue;
        // Kept as the user reads them, so a text from a page in one encoding
        // is found and proposed again on a page in another.
        auto image = std::make_unique<CSrcImage>(document.UserText(src));
        image->AddAltText(document.UserText(alt));
        if (std::string_view longDesc = VisibleValue(*element, attr::kLongdesc); !longDesc.empty())
            image->AddLongDesc(std::make_unique<CSrcLongDesc>(document.UserText(longDesc)));
        AddImage(std::move(image));
    }
}

} // namespace orvane
