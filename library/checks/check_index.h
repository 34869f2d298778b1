#pragma once

#include "library/html/html_document.h"

#include <memory>
#include <typeindex>
#include <unordered_map>

namespace orvane {

// What checks learn about a whole page once, kept while a check pass runs over
// it, so that checks which would walk the page for every element stay linear.
// Each kind of index is a type constructible from the document
// (T(const CHtmlDocument&)); it is built the first time a check asks for it.
class CCheckIndex final : public CDocumentIndex {
public:
    template <class T>
    std::shared_ptr<const T> Get(const CHtmlDocument& document)
    {
        const std::type_index type(typeid(T));
        if (auto it = m_indexes.find(type); it != m_indexes.end())
            return std::static_pointer_cast<const T>(it->second);
        // Built before it is filed: an index may build from others.
        auto made = std::make_shared<const T>(document);
        m_indexes.emplace(type, made);
        return made;
    }

private:
    std::unordered_map<std::type_index, std::shared_ptr<const void>> m_indexes;
};

// The index of the running check pass; a check run on its own, outside a pass,
// gets one built for this call, so it never sees a page changed since.
template <class T>
std::shared_ptr<const T> PageIndex(const CHtmlDocument& document)
{
    if (auto* index = dynamic_cast<CCheckIndex*>(document.CheckIndex()))
        return index->Get<T>(document);
    return std::make_shared<const T>(document);
}

// Keeps an index with the document for the lifetime of the scope: the page's
// elements must not change while it lives.
class CCheckIndexScope {
public:
    explicit CCheckIndexScope(CHtmlDocument& document) : m_document(document)
    {
        m_document.SetCheckIndex(std::make_unique<CCheckIndex>());
    }
    ~CCheckIndexScope() { m_document.SetCheckIndex(nullptr); }
    CCheckIndexScope(const CCheckIndexScope&) = delete;
    CCheckIndexScope& operator=(const CCheckIndexScope&) = delete;

private:
    CHtmlDocument& m_document;
};

} // namespace orvane
