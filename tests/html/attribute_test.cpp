#include "library/html/attribute.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

std::unique_ptr<CAttribute> Make(std::string_view name, std::string_view value)
{
    auto a = std::make_unique<CAttribute>();
    a->NameByText(name, false);
    a->SetValue(value);
    return a;
}

TEST(AttributeNaming, ByTextLooksUpTheTableIgnoringCase)
{
    CAttribute a;
    a.NameByText("HREF", false);
    EXPECT_EQ(a.Id(), 15);
    EXPECT_EQ(a.Name(), "HREF");
    a.NameByText("HREF", true);
    EXPECT_EQ(a.Id(), 0);
    a.NameByText("data-x", false);
    EXPECT_EQ(a.Id(), 0);
}

TEST(AttributeNaming, ByIdTakesTheFirstTableName)
{
    CAttribute a;
    a.NameById(12);
    EXPECT_EQ(a.Name(), "lang");
    a.NameByText("keep", false);
    a.NameById(999);
    EXPECT_EQ(a.Id(), 999);
    EXPECT_EQ(a.Name(), "keep");
}

TEST(NumericValue, DecimalStopsAtTheFirstNonDigit)
{
    auto value = [](std::string_view text) {
        CAttribute a;
        a.SetValue(text);
        return a.NumericValue();
    };
    EXPECT_EQ(value(""), 0);
    EXPECT_EQ(value("50%"), 50);
    EXPECT_EQ(value("  -12px"), -12);
    EXPECT_EQ(value("+7"), 7);
    EXPECT_EQ(value("abc"), 0);
    EXPECT_EQ(value("#1A2B3C"), 1715004);
    EXPECT_EQ(value("#fff"), 4095);
    EXPECT_EQ(value("#FFFFFF"), 16777215);
    EXPECT_EQ(value("# 10zz"), 16);
    EXPECT_GT(value("99999999999999999999999"), 0);  // absurd values saturate, never overflow
}

TEST(NumericValue, SettingAnEqualNumberLeavesTheAttributeUnchanged)
{
    CAttribute a;
    a.NameByText("width", false);
    a.SetValue("10");
    a.SetNumericValue(10);
    EXPECT_FALSE(a.IsChanged());
    a.SetNumericValue(20);
    EXPECT_TRUE(a.IsChanged());
    EXPECT_EQ(a.Value(), "20");
}

TEST(ColourValue, NamesAndSixDigitHexOnly)
{
    auto colour = [](std::string_view text, Rgb& rgb) {
        CAttribute a;
        a.SetValue(text);
        return a.ColourValue(rgb);
    };
    Rgb rgb;
    ASSERT_TRUE(colour("Red", rgb));
    EXPECT_EQ(rgb, (Rgb{255, 0, 0}));
    ASSERT_TRUE(colour("RED", rgb));
    ASSERT_TRUE(colour("#00ff00", rgb));
    EXPECT_EQ(rgb, (Rgb{0, 255, 0}));
    ASSERT_TRUE(colour("maroon", rgb));
    EXPECT_EQ(rgb, (Rgb{192, 0, 0}));
    ASSERT_TRUE(colour("grey", rgb));
    EXPECT_FALSE(colour("gray", rgb));
    EXPECT_FALSE(colour("#0f0", rgb));
    EXPECT_FALSE(colour("#1234567", rgb));
    EXPECT_FALSE(colour("#12345G", rgb));
    EXPECT_FALSE(colour("00ff00", rgb));
    EXPECT_FALSE(colour("", rgb));
}

// alt="" says an image is decorative, a bare alt that its text is missing:
// a tag rebuilt for another attribute must not turn the one into the other.
TEST(AttributeText, AnEmptyValueStaysGivenAndABareNameStaysBare)
{
    EXPECT_EQ(Make("alt", "")->AttributeText(), "alt=\"\"");
    CAttribute bare;
    bare.NameByText("checked", false);
    EXPECT_EQ(bare.AttributeText(), "checked");
    EXPECT_EQ(Make("alt", "x y")->AttributeText(), "alt=\"x y\"");
}

TEST(AttributeFlags, OnlyHideableAttributesCanBeHidden)
{
    CAttribute a;
    a.Hide(true);
    EXPECT_FALSE(a.IsHidden());
    a.SetHideable(true);
    a.Hide(true);
    EXPECT_TRUE(a.IsHidden());
    a.Hide(false);
    EXPECT_FALSE(a.IsHidden());
}

TEST(AttributeFlags, BlankMeansNotEmptyAndOnlyBlanks)
{
    EXPECT_TRUE(Make("alt", "   ")->IsBlank());
    EXPECT_FALSE(Make("alt", "")->IsBlank());
    EXPECT_FALSE(Make("alt", " x ")->IsBlank());
}

TEST(AttributeSnapshot, SaveAndRestoreValueAndHiddenFlag)
{
    CAttribute a;
    a.SetHideable(true);
    a.SetValue("before");
    a.Save();
    a.SetValue("after");
    a.Hide(true);
    a.Restore();
    EXPECT_EQ(a.Value(), "before");
    EXPECT_FALSE(a.IsHidden());
}

// Undone, a bare alt must write as it was read even when another repair has
// the tag rebuilt from its attributes: alt="" would call the image decorative.
TEST(AttributeSnapshot, RestoreGivesBackABareNameBare)
{
    CAttribute bare;
    bare.NameByText("alt", false);
    bare.Save();
    bare.SetValue("A ferry");
    bare.Restore();
    EXPECT_EQ(bare.AttributeText(), "alt");

    CAttribute copy;
    bare.SetValue("A ferry");
    copy.CopyFrom(bare);
    copy.Restore();
    EXPECT_EQ(copy.AttributeText(), "alt");

    CAttribute empty;
    empty.NameByText("alt", false);
    empty.SetValue("");
    empty.Save();
    empty.SetValue("A ferry");
    empty.Restore();
    EXPECT_EQ(empty.AttributeText(), "alt=\"\"");
}

TEST(AttributeSnapshot, CopyTakesNameValueAndSnapshot)
{
    CAttribute source;
    source.NameByText("ALT", false);
    source.SetValue("one");
    source.Save();
    source.SetValue("two");
    CAttribute copy;
    copy.CopyFrom(source);
    EXPECT_EQ(copy.Id(), 3);
    EXPECT_EQ(copy.Name(), "ALT");
    EXPECT_EQ(copy.Value(), "two");
    EXPECT_EQ(copy.SavedValue(), "one");
}

} // namespace
} // namespace orvane
