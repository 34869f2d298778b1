// Splicing the converted map into the page, and taking it back out.
#include "library/ui/pages/text_alternatives/image_map_converter.h"

#include "library/ui/quoted_value.h"

#include "library/html/attribute_table.h"
#include "library/html/html_document.h"
#include "library/html/image_map.h"
#include "library/html/tag_table.h"

#include <new>

namespace orvane {
namespace {

// The page's model of the map that starts at the element, so the checks and
// the follow-up pages of the image find its areas; null when it has none.
CImageMap* AddMapModel(CHtmlDocument& document, CElement& map, CElement& image)
{
    CElement* reading = document.ReadingPosition();
    CImageMap* added = nullptr;
    try {
        auto model = std::make_unique<CImageMap>();
        document.SetReadingPosition(&map);
        if (model->ReadFromDocument(document)) {
            model->LinkImage(image, document);
            added = model.get();
            document.AddImageMap(std::move(model));
        }
    } catch (const std::bad_alloc&) {
        added = nullptr;
    }
    if (reading)
        document.SetReadingPosition(reading);
    else
        document.SetReadingIndex(document.Size());
    return added;
}

} // namespace

int ImageMapConverter::SpliceIntoDocument(CHtmlDocument& document, CElement& image)
{
    if (!m_built || m_mapName.empty())
        return Fail(MapFailure::NotBuilt);
    if (!HasUsableArea())
        return Fail(MapFailure::NoAreas);
    if (!document.Find(&image))
        return Fail(MapFailure::ImageNotInPage);
    try {
        // The markup is taken in as the page's own would be, by elements of
        // the page's families; their places are none of the page's source.
        CHtmlDocument fragment(document.Factory());
        fragment.Start(1, false);
        ResetWriter();
        std::string piece;
        while (NextMarkupLine(piece)) {
            if (!fragment.AddLine(piece))
                return Fail(MapFailure::CannotInsert);
        }
        fragment.Finish();
        std::vector<CElement*> elements = fragment.Elements();
        // As the map's name stands in its markup, so the two compare equal.
        const std::string usemap = "#" + QuotedValue(m_mapName);
        // Nothing below this asks for memory it cannot do without: the page
        // has taken the map in, and the splice must be known to be undone.
        if (!document.TakeInAfter(&image, fragment))
            return Fail(MapFailure::CannotInsert);

        WithdrawSplice();
        m_splicedInto = &document;
        m_splicedElements = std::move(elements);
        m_image = &image;
        m_imageWasModified = image.IsModified();
        // The ismap attribute becomes the usemap in place; an image that has
        // both is pointed at the new map by its usemap, and its ismap is left
        // out, so it never carries two usemap attributes.
        CAttribute* ismap = image.FindAttribute(attr::kIsmap);
        CAttribute* usesMap = image.FindAttribute(attr::kUsemap);
        CAttribute* attribute = usesMap ? usesMap : ismap;
        if (ismap && usesMap) {
            m_hiddenIsmap = ismap;
            m_ismapWasHideable = ismap->IsHideable();
            ismap->SetHideable(true);
            ismap->Hide(true);
        }
        if (attribute) {
            m_renamed = attribute;
            m_renamedBefore.CopyFrom(*attribute);
            m_renamedWasChanged = attribute->IsChanged();
            attribute->NameById(attr::kUsemap);
            attribute->SetValue(usemap);
            attribute->SetChanged(true);
            image.SetModified(true);
        }
        for (CElement* e : m_splicedElements) {
            if (e->Kind() == tag::kMap) {
                m_splicedMap = AddMapModel(document, *e, image);
                break;
            }
        }
    } catch (const std::bad_alloc&) {
        return Fail(MapFailure::CannotInsert);
    }
    m_failure = MapFailure::None;
    return 1;
}

int ImageMapConverter::UndoSplice()
{
    if (!m_splicedInto)
        return 0;
    WithdrawSplice();
    return 1;
}

void ImageMapConverter::WithdrawSplice()
{
    if (!m_splicedInto)
        return;
    for (CElement* e : m_splicedElements)
        e->SetDeleted(true);
    if (m_splicedMap)
        m_splicedInto->RemoveImageMap(m_splicedMap);
    if (m_renamed) {
        m_renamed->CopyFrom(m_renamedBefore);
        m_renamed->SetChanged(m_renamedWasChanged);
    }
    if (m_hiddenIsmap) {
        m_hiddenIsmap->Hide(false);
        m_hiddenIsmap->SetHideable(m_ismapWasHideable);
    }
    if (m_image)
        m_image->SetModified(m_imageWasModified);
    m_splicedInto = nullptr;
    m_splicedElements.clear();
    m_splicedMap = nullptr;
    m_image = nullptr;
    m_renamed = nullptr;
    m_hiddenIsmap = nullptr;
}

} // namespace orvane
