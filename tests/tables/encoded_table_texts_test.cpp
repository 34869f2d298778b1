#include "table_page.h"

namespace orvane::test {
namespace {

constexpr char kLatin1Prices[] =
    "<meta charset=\"iso-8859-1\"><table><tr><th>Gr\xF6\xDF" "e</th></tr><tr><td>1</td></tr></table>";

// A caption or summary typed with markup characters and letters beyond ASCII
// is text: escaped, and in the page's own encoding.
TEST(EncodedTableTexts, TypedCaptionAndSummaryAreEscapedAndInThePagesEncoding)
{
    CTablePage page(kLatin1Prices);
    ASSERT_EQ(page.Table().SetCaption("Gr\xC3\xB6\xC3\x9F" "en & Preise <2026> \xE2\x82\xAC"), 1);
    ASSERT_EQ(page.Table().SetSummary("Preise f\xC3\xBCr \"alle\" & \xC5\x81\xC3\xB3" "d\xC5\xBA"), 1);
    EXPECT_EQ(page.Written(),
              "<meta charset=\"iso-8859-1\"><table summary=\"Preise f\xFCr &quot;alle&quot; &amp; &#321;\xF3" "d&#378;\">"
              "<caption>Gr\xF6\xDF" "en &amp; Preise &lt;2026&gt; &#8364;</caption>"
              "<tr><th>Gr\xF6\xDF" "e</th></tr><tr><td>1</td></tr></table>");
}

} // namespace
} // namespace orvane::test
