#include "library/ui/pages/frames/page_frame_long_desc.h"

#include "library/ui/validator_sheet.h"

#include "library/checks/element_frame.h"
#include "library/html/attribute.h"
#include "library/html/attribute_table.h"
#include "library/html/html_document.h"
#include "library/html/text_util.h"
#include "library/registry/object_database.h"
#include "library/registry/src_document.h"
#include "platform/services.h"

#include <memory>

namespace orvane {

namespace {
constexpr int kInstruction = 138;
constexpr char kHelpTopic[] = "1-1-8.html";
constexpr int kNamedFrame = 980;
constexpr int kUnnamedFrame = 981;
constexpr int kFramesIntro = 982;
constexpr int kFileTitle = 983;
constexpr int kNoSource = 984;
constexpr int kNamedProposal = 1002;
constexpr int kUnnamedProposal = 1003;

std::string_view Shown(const CElement& element, int id)
{
    const CAttribute* attribute = element.FindAttribute(id);
    return attribute && !attribute->IsHidden() ? Trim(attribute->Value()) : std::string_view();
}

// The document's file name without its extension.
std::string Stem(std::string name)
{
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0)
        name.erase(dot);
    return name;
}
} // namespace

CPageFrameLongDesc::CPageFrameLongDesc(CAttribute& longdesc, const CHtmlDocument& document)
    : CPageDescriptionBase(kTemplate), m_longdesc(longdesc), m_document(document)
{
    OfferAlternativeAnswer(false);
}

std::vector<CPageFrameLongDesc::Frame> CPageFrameLongDesc::FramesOf(const CHtmlDocument& document)
{
    std::vector<Frame> frames;
    for (const CElement* element : document.Elements()) {
        const auto* frame = dynamic_cast<const CElementFrame*>(element);
        if (!frame || frame->IsDeleted())
            continue;
        std::string_view named = Shown(*frame, attr::kTitle);
        if (named.empty())
            named = Shown(*frame, attr::kName);
        std::string_view source = Shown(*frame, attr::kSrc);
        frames.push_back({std::to_string(frame->FrameNumber()), std::string(named),
                          source.empty() ? platform::Strings().Get(kNoSource) : std::string(source)});
    }
    return frames;
}

void CPageFrameLongDesc::Initialise()
{
    const std::vector<Frame> frames = FramesOf(m_document);
    // The frames listed, for the user to say what each shows and how they
    // work together; the file is named after the page.
    if (!m_opened) {
        std::string proposal = platform::Strings().Format(kFramesIntro, {std::to_string(frames.size())});
        for (const Frame& frame : frames) {
            proposal += "\n";
            proposal += frame.named.empty() ? platform::Strings().Format(kUnnamedProposal, {frame.number, frame.source})
                                            : platform::Strings().Format(kNamedProposal, {frame.named, frame.source});
        }
        ProposeNewFile(Stem(m_document.FileName()) + "-frames.html", proposal);
    }
    m_opened = true;
    SetHelpTopic(kHelpTopic);
    SetInstruction(kInstruction);
    InitialiseDescription();
    std::string list;
    for (const Frame& frame : frames) {
        if (!list.empty())
            list += "\n";
        list += frame.named.empty() ? platform::Strings().Format(kUnnamedFrame, {frame.number, frame.source})
                                    : platform::Strings().Format(kNamedFrame, {frame.number, frame.named, frame.source});
    }
    Window()->SetText(kFrames, list);
}

std::string CPageFrameLongDesc::DescriptionTitle(std::string_view language) const
{
    return FileTitle(language, kFileTitle, {m_document.FileName()});
}

bool CPageFrameLongDesc::ApplyDescription(const std::string& address, int)
{
    ForgetRegistryChange();
    m_longdesc.SetFromText(address, Encoding());
    return true;
}

bool CPageFrameLongDesc::ApplyNotNeeded()
{
    ForgetRegistryChange();
    m_longdesc.Revert();
    // Remembered by the document: its next check does not ask again.
    CSrcObjectDatabase* registry = Sheet() ? Sheet()->ObjectRegistry() : nullptr;
    if (!registry)
        return true;
    // Also before the registry was first saved, when it finds nothing yet.
    auto named = [&]() -> CSrcDocument* {
        for (const auto& document : registry->Documents()) {
            if (document->Name() == m_document.Name())
                return document.get();
        }
        return nullptr;
    };
    CSrcDocument* known = named();
    if (!known && registry->AddDocument(std::make_unique<CSrcDocument>(m_document.Name())))
        known = named();
    if (known) {
        m_changedDocument = known;
        m_neededBefore = known->FramesNeedDescription();
        known->SetFramesNeedDescription(false);
    }
    return true;
}

void CPageFrameLongDesc::ForgetRegistryChange()
{
    if (m_changedDocument)
        m_changedDocument->SetFramesNeedDescription(m_neededBefore);
    m_changedDocument = nullptr;
}

void CPageFrameLongDesc::Undo()
{
    SetStatus(pagestatus::kNotRepaired);
    m_longdesc.Revert();
    ForgetRegistryChange();
}

} // namespace orvane
