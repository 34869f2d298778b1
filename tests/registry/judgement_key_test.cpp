// A judgement's key names its form: the fast digest this release writes, the
// MD5 digest of registries of earlier releases, or the page as a whole.
#include "library/registry/judgement_key.h"
#include "library/registry/md5.h"
#include "library/registry/object_digest.h"
#include "platform/hash128.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(JudgementKey, TheFastDigestIsXxh3Of128BitsAndNeverChangesUnderARegistrysRecords)
{
    // Records hold these values: a digest that changed would leave every
    // judgement of every site open again.
    EXPECT_EQ(FastJudgementKey(platform::HashBytes128("")), "xxh128:99aa06d3014798d86001c324468d497f");
    const std::string text = "<p class=\"note\">\nThe ferry leaves at nine.";
    EXPECT_EQ(platform::HashBytes128(text), platform::HashBytes128(std::string(text)));
    EXPECT_NE(platform::HashBytes128(text), platform::HashBytes128(text.substr(0, text.size() - 1)));
    EXPECT_NE(platform::HashBytes128("ab").high, platform::HashBytes128("ba").high);
}

TEST(JudgementKey, EachFormIsToldByItsPrefixAndSpellsItsDigest)
{
    platform::Hash128 digest;
    const platform::Hash128 fast = platform::HashBytes128("The ferry leaves at nine.");
    const std::string fastKey = FastJudgementKey(fast);
    EXPECT_EQ(fastKey.size(), 7u + 32u);
    EXPECT_EQ(FormOfJudgementKey(fastKey, &digest), JudgementKeyForm::Fast);
    EXPECT_EQ(digest, fast);

    // An earlier release's key is ObjectDigest's text, digit for digit.
    MD5 md5;
    md5.Update("The ferry leaves at nine.");
    md5.Finalize();
    const platform::Hash128 number = Md5AsHash128(*md5.RawDigest());
    EXPECT_EQ(Md5JudgementKey(number), ObjectDigest("The ferry leaves at nine."));
    EXPECT_EQ(FormOfJudgementKey(ObjectDigest("The ferry leaves at nine."), &digest), JudgementKeyForm::Md5);
    EXPECT_EQ(digest, number);

    EXPECT_EQ(FormOfJudgementKey("page"), JudgementKeyForm::WholePage);
    // Keys no element has: edited by hand, or of another kind.
    for (std::string_view other : {"", "pages", "ffff", "xxh128:", "xxh128:99aa06d3014798d86001c324468d497",
                                   "99AA06D3014798D86001C324468D497F", "xxh128:99aa06d3014798d86001c324468d497g",
                                   "md5:99aa06d3014798d86001c324468d497f"})
        EXPECT_EQ(FormOfJudgementKey(other, &digest), JudgementKeyForm::Other) << other;
}

} // namespace
} // namespace orvane
