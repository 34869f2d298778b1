#include "library/a11y/accessibility_tree.h"
#include "library/html/html_document.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace orvane::a11y {
namespace {

class TreeOfPage : public ::testing::Test {
protected:
    const AccessibilityTree& Build(const std::string& page)
    {
        m_document.Start(1, false);
        std::istringstream in(page);
        EXPECT_EQ(m_document.Load(in), 1);
        m_tree = std::make_unique<AccessibilityTree>(m_document);
        return *m_tree;
    }
    int ById(const char* id) const { return m_tree->ElementWithId(id); }
    Node NodeById(const char* id) const { return m_tree->At(ById(id)); }

    CHtmlDocument m_document;
    std::unique_ptr<AccessibilityTree> m_tree;
};

TEST_F(TreeOfPage, RolesFollowHtmlAamAndTheFirstValidRoleToken)
{
    Build("<html><body><a id=a href=x>x</a><a id=b>y</a><img id=c src=i alt=''>"
          "<div id=d role='foo button link'></div><input id=e type=checkbox><select id=f multiple></select>"
          "<table><tr><th id=g>h</th><td>1</td></tr></table></body></html>");
    EXPECT_EQ(NodeById("a").role, "link");
    EXPECT_EQ(NodeById("b").role, "");
    EXPECT_EQ(NodeById("c").role, "presentation");
    EXPECT_EQ(NodeById("d").role, "button");
    EXPECT_TRUE(NodeById("d").explicitRole);
    EXPECT_EQ(NodeById("e").role, "checkbox");
    EXPECT_EQ(NodeById("f").role, "listbox");
    EXPECT_EQ(NodeById("g").role, "rowheader");
}

TEST_F(TreeOfPage, APresentationalRoleGivesWayToFocusAndGlobalStates)
{
    Build("<html><body><h1 id=a role=presentation>x</h1><h1 id=b role=none tabindex=0>x</h1>"
          "<h1 id=c role=presentation aria-describedby=a>x</h1><ul role=none><li id=d>i</li></ul></body></html>");
    EXPECT_TRUE(NodeById("a").presentational);
    EXPECT_EQ(NodeById("b").role, "heading");
    EXPECT_EQ(NodeById("c").role, "heading");
    EXPECT_TRUE(NodeById("d").presentational);
}

TEST_F(TreeOfPage, HiddenByAttributeStyleAndStyleSheet)
{
    Build("<html><head><style>.gone{display:none} #v {visibility:hidden} p > span.x { display: none !important }"
          "</style></head><body><div id=a hidden><b id=b>x</b></div><div id=c aria-hidden=true>y</div>"
          "<div class=gone><i id=d>z</i></div><div id=v><b id=e style='visibility:visible'>w</b></div>"
          "<p><span id=f class=x style='display:block'>q</span></p><div id=g hidden style='display:block'>s</div>"
          "</body></html>");
    EXPECT_FALSE(NodeById("b").rendered);
    EXPECT_FALSE(NodeById("c").included);
    EXPECT_TRUE(NodeById("c").visible);
    EXPECT_FALSE(NodeById("d").included);
    EXPECT_FALSE(NodeById("v").visible);
    EXPECT_TRUE(NodeById("e").visible);
    EXPECT_FALSE(NodeById("f").rendered);  // !important in the sheet beats the style attribute
    EXPECT_TRUE(NodeById("g").rendered);   // author CSS overrides the hidden attribute
}

TEST_F(TreeOfPage, LocalStyleSheetsBesideThePageHideLikeStyleElements)
{
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / ("orvane-sheets-" + std::to_string(::getpid()));
    fs::create_directories(folder / "css");
    std::ofstream(folder / "css" / "site sheet.css") << ".gone { display: none } #b { visibility: hidden }";
    std::ofstream(folder / "alt.css") << "#c { display: none }";
    const std::string page =
        "<html><head><link rel='Stylesheet' href='css/site%20sheet.css?v=2#top'>"
        "<link rel='alternate stylesheet' href='alt.css'><link rel=stylesheet href='/alt.css'>"
        "<link rel=stylesheet href='file:alt.css'><link rel=stylesheet href='missing.css'></head>"
        "<body><div class=gone><p id=a>x</p></div><p id=b>y</p><p id=c>z</p></body></html>";
    const std::string path = (folder / "page.html").string();
    std::ofstream(path) << page;

    m_document.Start(1, false);
    std::ifstream in(path);
    ASSERT_EQ(m_document.Load(in), 1);
    m_document.SetName(path);
    m_document.SetOriginFlag(1);
    m_tree = std::make_unique<AccessibilityTree>(m_document);
    EXPECT_FALSE(NodeById("a").included);
    EXPECT_FALSE(NodeById("a").rendered);
    EXPECT_FALSE(NodeById("b").included);
    EXPECT_TRUE(NodeById("b").rendered);
    EXPECT_TRUE(NodeById("c").included);  // alternate, root-relative and file: sheets are not read

    // The same page given as text has no folder, and so no sheets, whatever its name.
    m_document.SetOriginFlag(0);
    Build(page);
    EXPECT_TRUE(NodeById("a").included);
    EXPECT_TRUE(NodeById("b").included);
    fs::remove_all(folder);
}

TEST_F(TreeOfPage, FocusAndSequentialOrder)
{
    Build("<html><body><a id=a href=x>x</a><a id=b>x</a><button id=c disabled>b</button>"
          "<div id=d tabindex=-1></div><span id=e tabindex=0></span><fieldset disabled><input id=f></fieldset>"
          "<details><summary id=g>s</summary></details></body></html>");
    EXPECT_TRUE(NodeById("a").inTabOrder);
    EXPECT_FALSE(NodeById("b").focusable);
    EXPECT_FALSE(NodeById("c").focusable);
    EXPECT_TRUE(NodeById("d").focusable);
    EXPECT_FALSE(NodeById("d").inTabOrder);
    EXPECT_TRUE(NodeById("e").inTabOrder);
    EXPECT_FALSE(NodeById("f").focusable);
    EXPECT_TRUE(NodeById("g").inTabOrder);
}

TEST_F(TreeOfPage, NamesByAccname)
{
    Build("<html><body><span id=l1>First</span><span id=l2>Second <span aria-hidden=true>no</span></span>"
          "<button id=a aria-labelledby='l1 l2' aria-label=x>y</button>"
          "<button id=b aria-label='  '>Con<b>tent</b></button>"
          "<label for=c>Street <input id=in2 value=v></label><input id=c>"
          "<label>Town <select id=d><option>Hamburg<option selected>Kiel</select></label>"
          "<img id=e src=i alt='A cat' title=t><input id=f type=image src=i>"
          "<a id=g href=x><img src=i alt=Home> page</a><div id=h role=link title=Tip></div>"
          "<input id=i type=submit><svg id=j role=img><title>Chart</title></svg>"
          "<a id=k href=# aria-labelledby=k2>x</a><span id=k2 aria-labelledby=k>Loop</span>"
          "</body></html>");
    EXPECT_EQ(m_tree->Name(ById("a")), "First Second");
    EXPECT_EQ(m_tree->Name(ById("b")), "Content");
    EXPECT_EQ(m_tree->Name(ById("c")), "Street v");
    EXPECT_EQ(m_tree->Name(ById("d")), "Town");
    EXPECT_EQ(m_tree->Name(ById("e")), "A cat");
    EXPECT_EQ(m_tree->Name(ById("f")), "");
    EXPECT_EQ(m_tree->Name(ById("g")), "Home page");
    EXPECT_EQ(m_tree->Name(ById("h")), "Tip");
    EXPECT_EQ(m_tree->Name(ById("i")), "Submit");
    EXPECT_EQ(m_tree->Name(ById("j")), "Chart");
    EXPECT_EQ(m_tree->Name(ById("k")), "Loop");
}

TEST_F(TreeOfPage, LanguageIsInheritedAndTagsCutByQuotedMarkupAreReadWhole)
{
    Build("<html lang=de><body><p id=a>x<span id=b lang=en-GB>y</span></p>"
          "<iframe id=c title=\"t > u\" srcdoc=\"<a href='/'>Home</a>\"></iframe><p id=d>after</p></body></html>");
    EXPECT_EQ(NodeById("a").language, "de");
    EXPECT_EQ(NodeById("b").language, "en-GB");
    ASSERT_NE(ById("c"), Node::kNone);
    EXPECT_EQ(*m_tree->Attribute(ById("c"), "srcdoc"), "<a href='/'>Home</a>");
    EXPECT_EQ(m_tree->IdCount("d"), 1);
}

TEST_F(TreeOfPage, AttributesAndTextsReadAsAScriptReadsThem)
{
    Build("<html><head><meta charset=windows-1252></head><body>"
          "<p id=a TITLE=\"Fish &amp; Chips\" data-x=plain>Caf\xE9 &lt;b&gt;</p>"
          "<script id=s>if (a &amp;&amp; b) x();</script><textarea id=t>one &amp; two</textarea>"
          "<div id=dup class=first CLASS=second></div><span id=dup></span></body></html>");
    const int a = ById("a");
    ASSERT_NE(a, Node::kNone);
    ASSERT_NE(m_tree->Attribute(a, "Title"), nullptr);
    EXPECT_EQ(*m_tree->Attribute(a, "Title"), "Fish & Chips");
    EXPECT_EQ(m_tree->Attributes(a)[1].name, "title");  // after the id
    EXPECT_EQ(*m_tree->Attribute(a, "data-x"), "plain");
    EXPECT_EQ(m_tree->At(m_tree->At(a).firstChild).text, "Caf\xC3\xA9 <b>");
    EXPECT_EQ(NodeById("s").text, "if (a &amp;&amp; b) x();");  // a script's text is not markup
    EXPECT_EQ(NodeById("t").text, "one & two");
    const int dup = ById("dup");
    EXPECT_EQ(m_tree->Tag(dup), "div");
    EXPECT_EQ(m_tree->IdCount("dup"), 2);
    EXPECT_EQ(*m_tree->Attribute(dup, "class"), "first");
    EXPECT_EQ(m_tree->DuplicateAttributes(dup), std::vector<std::string>{"class"});
}

TEST_F(TreeOfPage, TheAttributesEveryElementIsAskedForCountInAnyLetterCaseAndOnlyByTheirWholeName)
{
    Build("<html><body><div id=a ROLE=Button TabIndex=-1 Aria-Hidden=TRUE XML:LANG=fr Lang=de>a</div>"
          "<div id=b rows=button tabindez=0 aria-hiddel=true hiddem langs=de xml:lanG=fr>b</div>"
          "<div id=c ContentEditable=''>c</div><p id=d HIDDEN>d</p>"
          "<span id=e style='position:absolute; left:-9999px'>e</span><span id=f style='visibility:collapse'>f</span>"
          "<span id=g style='position:absolute; left:-9999px'>g</span></body></html>");
    const Node a = NodeById("a");
    EXPECT_EQ(a.role, "button");
    EXPECT_TRUE(a.explicitRole);
    EXPECT_TRUE(a.focusable);
    EXPECT_FALSE(a.inTabOrder);
    EXPECT_TRUE(a.ariaHidden);
    EXPECT_EQ(a.language, "de");  // lang wins over xml:lang wherever written
    ASSERT_NE(m_tree->Attribute(ById("a"), "ARIA-hidden"), nullptr);
    EXPECT_EQ(*m_tree->Attribute(ById("a"), "ARIA-hidden"), "TRUE");
    const Node b = NodeById("b");  // names one letter off, of the same length or first letter
    EXPECT_EQ(b.role, "");
    EXPECT_FALSE(b.focusable);
    EXPECT_FALSE(b.ariaHidden);
    EXPECT_TRUE(b.rendered);
    EXPECT_EQ(b.language, "fr");
    EXPECT_EQ(m_tree->Attribute(ById("b"), "row"), nullptr);
    EXPECT_EQ(m_tree->Attribute(ById("b"), ""), nullptr);
    EXPECT_TRUE(NodeById("c").inTabOrder);
    EXPECT_FALSE(NodeById("d").rendered);
    EXPECT_TRUE(NodeById("e").offScreen);
    EXPECT_FALSE(NodeById("e").visible);
    EXPECT_TRUE(NodeById("e").included);
    EXPECT_TRUE(NodeById("g").offScreen);  // the same style, asked again
    EXPECT_TRUE(NodeById("f").rendered);
    EXPECT_FALSE(NodeById("f").included);
}

TEST_F(TreeOfPage, ASubtreeEndsWhereTheNextSiblingOfItOrAnAncestorBegins)
{
    Build("<html><body><div id=a><p id=b><i>x</i></p><p id=c>y</p></div><div id=d><b>z</b></div></body></html>");
    EXPECT_EQ(m_tree->SubtreeEnd(ById("b")), ById("c"));
    EXPECT_EQ(m_tree->SubtreeEnd(ById("a")), ById("d"));
    EXPECT_EQ(m_tree->SubtreeEnd(ById("c")), ById("d"));
    EXPECT_EQ(m_tree->SubtreeEnd(ById("d")), static_cast<int>(m_tree->Size()));
    EXPECT_EQ(m_tree->SubtreeEnd(m_tree->Root()), static_cast<int>(m_tree->Size()));
    EXPECT_EQ(m_tree->ChildList(ById("a")), (std::vector<int>{ById("b"), ById("c")}));
}

TEST_F(TreeOfPage, ADisabledFieldsetDisablesTheControlsOfEveryFieldsetInside)
{
    Build("<html><body><fieldset disabled><div><fieldset><select id=a></select></fieldset></div></fieldset>"
          "<fieldset><input id=b></fieldset><fieldset disabled></fieldset><button id=c>c</button></body></html>");
    EXPECT_TRUE(NodeById("a").disabled);
    EXPECT_FALSE(NodeById("a").focusable);
    EXPECT_FALSE(NodeById("b").disabled);
    EXPECT_TRUE(NodeById("b").inTabOrder);
    EXPECT_FALSE(NodeById("c").disabled);  // after a disabled fieldset, not inside it
}

TEST_F(TreeOfPage, OfRepeatedStyleRulesTheLastOneWins)
{
    Build("<html><head><style>.x{display:none} .y{color:red}</style><style>.x{display:block}</style>"
          "<style>.x{display:none} .y{color:red}</style><style>.z{color:red; display:none}</style></head>"
          "<body><p id=a class=x>a</p><p id=b class=y>b</p><p id=c class=z>c</p></body></html>");
    EXPECT_FALSE(NodeById("a").rendered);
    EXPECT_TRUE(NodeById("b").rendered);
    EXPECT_FALSE(NodeById("c").rendered);
}

TEST_F(TreeOfPage, EveryRoleKeepsItsName)
{
    Build("<html id=h><body><search id=a></search><blockquote id=b></blockquote><svg id=c></svg>"
          "<output id=d></output><aside id=e></aside><section id=f aria-label=s></section><header id=g></header>"
          "<time id=i></time><del id=j></del><dfn id=k></dfn><p id=l role=doc-foo></p></body></html>");
    EXPECT_EQ(NodeById("h").implicitRole, "document");
    EXPECT_EQ(NodeById("a").role, "search");
    EXPECT_EQ(NodeById("b").role, "blockquote");
    EXPECT_EQ(NodeById("c").role, "graphics-document");
    EXPECT_EQ(NodeById("d").role, "status");
    EXPECT_EQ(NodeById("e").role, "complementary");
    EXPECT_EQ(NodeById("f").role, "region");
    EXPECT_EQ(NodeById("g").role, "banner");
    EXPECT_EQ(NodeById("i").role, "time");
    EXPECT_EQ(NodeById("j").role, "deletion");
    EXPECT_EQ(NodeById("k").role, "term");
    EXPECT_EQ(NodeById("l").role, "paragraph");
    EXPECT_EQ(m_tree->Role(ById("l")), "paragraph");
    EXPECT_FALSE(NodeById("l").explicitRole);
    for (const AriaRole& role : AriaRoles()) {
        EXPECT_EQ(kRoleNames[RoleIndex(role.name)], role.name);
        EXPECT_EQ(&AriaRoles()[RoleIndex(role.name) - 1u], &role);  // the definition is found from the index
    }
}

TEST_F(TreeOfPage, ATagNamedWithAHashIsNoElement)
{
    Build("<html><body><p id=a><#x id=b>t</#x><#text id=c></p></body></html>");
    const int a = ById("a");
    ASSERT_NE(a, Node::kNone);
    const std::vector<int> children = m_tree->ChildList(a);
    ASSERT_FALSE(children.empty());
    EXPECT_EQ(m_tree->Tag(children.front()), "#x");
    EXPECT_FALSE(m_tree->IsElement(children.front()));
    EXPECT_FALSE(m_tree->At(children.front()).IsElement());
    EXPECT_EQ(ById("b"), Node::kNone);  // ids are of elements
    EXPECT_EQ(ById("c"), Node::kNone);
    for (int i = 0; i < static_cast<int>(m_tree->Size()); ++i)
        EXPECT_EQ(m_tree->IsText(i), m_tree->At(i).IsText()) << i;
}

TEST_F(TreeOfPage, ATextHasWhatItsParentGivesIt)
{
    Build("<html lang=cy><body><div id=h aria-hidden=true>a</div><fieldset id=f disabled>b</fieldset>"
          "<div id=v style='visibility:hidden'>c</div><div id=o style='position:absolute; top:-999px'>d</div>"
          "<button id=p>e</button><template id=t>f</template><p id=n>g</p></body></html>");
    auto text = [&](const char* id) { return m_tree->At(m_tree->At(ById(id)).firstChild); };
    EXPECT_TRUE(text("h").ariaHidden);
    EXPECT_FALSE(text("h").included);
    EXPECT_TRUE(text("h").visible);
    EXPECT_TRUE(text("f").inDisabledFieldset);
    EXPECT_TRUE(text("v").rendered);
    EXPECT_FALSE(text("v").visible);
    EXPECT_FALSE(text("v").included);
    EXPECT_TRUE(text("o").offScreen);
    EXPECT_FALSE(text("o").visible);
    EXPECT_TRUE(text("o").included);
    EXPECT_TRUE(text("p").underPresentationalChildren);
    EXPECT_FALSE(text("t").rendered);
    const Node plain = text("n");
    EXPECT_TRUE(plain.IsText());
    EXPECT_EQ(plain.language, "cy");
    EXPECT_EQ(&plain.Style(), &m_tree->Style(ById("n")));
    EXPECT_TRUE(plain.visible && plain.included && !plain.ariaHidden && !plain.inDisabledFieldset &&
                !plain.underPresentationalChildren && !plain.focusable);
}

TEST_F(TreeOfPage, TagsTheHtmlModuleGivesOneKindCloseByTheirOwnName)
{
    // ul, ol and dl share a kind; letter case and a tab after the name aside.
    Build("<html><body><UL id=a><li>x</Ul><ol id=b><li>y</ol\t><dl id=c><dt>z</UL></dl>"
          "<p id=d title=\"a\"'b>c'>after</p></body></html>");
    for (const char* id : {"a", "b", "c", "d"})
        ASSERT_NE(ById(id), Node::kNone) << id;
    const int body = m_tree->Parent(ById("a"));
    EXPECT_EQ(m_tree->Tag(ById("a")), "ul");
    EXPECT_EQ(m_tree->Parent(ById("b")), body);
    EXPECT_EQ(m_tree->Parent(ById("c")), body);
    EXPECT_EQ(m_tree->Parent(ById("d")), body);  // the stray </UL> closes nothing
    ASSERT_NE(m_tree->Attribute(ById("d"), "title"), nullptr);
    for (int child : m_tree->Children(ById("d")))  // the quote after the value opens one more: read whole
        EXPECT_EQ(m_tree->Text(child).find("c'"), std::string_view::npos);
}

TEST_F(TreeOfPage, ATextIsDecodedWhenFirstReadAndKeptSo)
{
    Build("<html><head><meta charset=windows-1252><title>Fish &amp; Chips</title></head><body>"
          "<a id=a href=x>Caf\xE9 &lt;1&gt;</a><p id=p>na\xEFve</p></body></html>");
    ASSERT_TRUE(m_tree->Title());
    EXPECT_EQ(*m_tree->Title(), "Fish & Chips");
    EXPECT_EQ(m_tree->Name(ById("a")), "Caf\xC3\xA9 <1>");  // read through the name first
    const int text = m_tree->Record(ById("p")).firstChild;
    const std::string_view first = m_tree->Text(text);
    EXPECT_EQ(first, "na\xC3\xAFve");
    EXPECT_EQ(m_tree->Text(text).data(), first.data());  // decoded once
    EXPECT_EQ(m_tree->At(text).text, first);
}

TEST(CollapseBlanks, OneSpaceBetweenWordsNoneAtEitherEnd)
{
    EXPECT_EQ(CollapseBlanks(" \t a\r\n\f b  c\n"), "a b c");
    EXPECT_EQ(CollapseBlanks("\xC2\xA0x\vy"), "\xC2\xA0x\vy");  // only ASCII white space is blank
    EXPECT_EQ(CollapseBlanks(" \n "), "");
    EXPECT_EQ(CollapseBlanks(""), "");
}

TEST_F(TreeOfPage, DeepNestingAndCyclicReferencesStayLinear)
{
    std::string page = "<html><body>";
    for (int i = 0; i < 20000; ++i)
        page += "<div aria-owns=o" + std::to_string(i + 1) + " id=o" + std::to_string(i) + ">";
    page += "<button id=z aria-labelledby='z o0'>deep</button></body></html>";
    const AccessibilityTree& tree = Build(page);
    EXPECT_EQ(tree.Name(ById("z")), "deep");
}

} // namespace
} // namespace orvane::a11y
