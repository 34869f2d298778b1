#include "family_factory.h"

#include "element_anchor.h"
#include "element_applet.h"
#include "element_area.h"
#include "element_blink.h"
#include "element_body.h"
#include "element_document.h"
#include "element_font.h"
#include "element_frame.h"
#include "element_frameset.h"
#include "element_header.h"
#include "element_html.h"
#include "element_img.h"
#include "element_input.h"
#include "element_label.h"
#include "element_list.h"
#include "element_map.h"
#include "element_meta.h"
#include "element_object.h"
#include "element_paragraph.h"
#include "element_pre.h"
#include "element_script.h"
#include "element_select.h"
#include "element_style.h"
#include "element_table.h"
#include "element_td.h"
#include "element_textarea.h"
#include "element_th.h"
#include "element_xmp.h"
#include "library/html/tag_table.h"

namespace orvane {

const CFamilyElementFactory& CFamilyElementFactory::Instance()
{
    static const CFamilyElementFactory factory;
    return factory;
}

CElement* CFamilyElementFactory::Create(int kind, CElementArena* arena) const
{
    switch (kind) {
    case tag::kApplet: return MakeElement<CElementApplet>(arena);
    case tag::kArea: return MakeElement<CElementArea>(arena);
    case tag::kA: return MakeElement<CElementAnchor>(arena);
    case tag::kBody: return MakeElement<CElementBody>(arena);
    case tag::kBlink: return MakeElement<CElementBlink>(arena);
    case tag::kList: return MakeElement<CElementList>(arena);
    case tag::kFont: return MakeElement<CElementFont>(arena);
    case tag::kFrame: return MakeElement<CElementFrame>(arena);
    case tag::kFrameset: return MakeElement<CElementFrameset>(arena);
    case 33: case 34: case 35: case 36: case 37: case 38: return MakeElement<CElementHeader>(arena);
    case tag::kHtml: return MakeElement<CElementHtml>(arena);
    case tag::kImg: return MakeElement<CElementImg>(arena);
    case tag::kInput: return MakeElement<CElementInput>(arena);
    case tag::kLabel: return MakeElement<CElementLabel>(arena);
    case tag::kMap: return MakeElement<CElementMap>(arena);
    case tag::kMeta: return MakeElement<CElementMeta>(arena);
    case tag::kObject: return MakeElement<CElementObject>(arena);
    case 64: return MakeElement<CElementParagraph>(arena);
    case tag::kPre: return MakeElement<CElementPre>(arena);
    case tag::kScript: return MakeElement<CElementScript>(arena);
    case tag::kSelect: return MakeElement<CElementSelect>(arena);
    case tag::kStyle: return MakeElement<CElementStyle>(arena);
    case tag::kTable: return MakeElement<CElementTable>(arena);
    case tag::kTd: return MakeElement<CElementTd>(arena);
    case tag::kTextarea: return MakeElement<CElementTextarea>(arena);
    case tag::kTh: return MakeElement<CElementTh>(arena);
    case tag::kXmp: return MakeElement<CElementXmp>(arena);
    case kind::kDocument: return MakeElement<CElementDocument>(arena);
    default: return MakeElement<CElement>(arena);
    }
}

} // namespace orvane
