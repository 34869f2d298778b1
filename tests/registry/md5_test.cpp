#include "library/registry/md5.h"
#include "library/registry/object_digest.h"

#include <gtest/gtest.h>

#include <iostream>
#include <sstream>
#include <string>

namespace orvane {
namespace {

std::string Md5Hex(std::string_view text)
{
    MD5 md5;
    md5.Update(text);
    md5.Finalize();
    return md5.HexDigest();
}

// Collects what the digest writes to standard error.
class CErrorCapture {
public:
    CErrorCapture() : m_previous(std::cerr.rdbuf(m_text.rdbuf())) {}
    ~CErrorCapture() { std::cerr.rdbuf(m_previous); }
    std::string Text() const { return m_text.str(); }

private:
    std::ostringstream m_text;
    std::streambuf* m_previous;
};

TEST(MD5, TestSuiteOfTheAlgorithmsDefinition)
{
    EXPECT_EQ(Md5Hex(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(Md5Hex("a"), "0cc175b9c0f1b6a831c399e269772661");
    EXPECT_EQ(Md5Hex("abc"), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(Md5Hex("message digest"), "f96b697d7cb7938d525a2f31aaf161d0");
    EXPECT_EQ(Md5Hex("abcdefghijklmnopqrstuvwxyz"), "c3fcd3d76192e4007dfb496cca67e13b");
    EXPECT_EQ(Md5Hex("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"),
              "d174ab98d277d9f5a5611c2c9f419d9f");
    EXPECT_EQ(Md5Hex("1234567890123456789012345678901234567890123456789012345678901234567890"
                     "1234567890"),
              "57edf4a22be3c955ac49da2e2107b67a");
}

TEST(MD5, PiecesGiveTheDigestOfTheWhole)
{
    // Lengths around the 64-byte block and the 56-byte padding limit.
    for (std::size_t length : {55u, 56u, 63u, 64u, 65u, 119u, 120u, 128u, 1000u}) {
        std::string text;
        for (std::size_t i = 0; i < length; ++i)
            text.push_back(static_cast<char>('a' + i % 26));
        for (std::size_t piece : {1u, 7u, 63u, 64u}) {
            MD5 md5;
            for (std::size_t at = 0; at < text.size(); at += piece)
                md5.Update(std::string_view(text).substr(at, piece));
            md5.Finalize();
            EXPECT_EQ(md5.HexDigest(), Md5Hex(text)) << "length " << length << ", pieces of " << piece;
        }
    }
    EXPECT_EQ(Md5Hex(std::string(1000000, 'a')), "7707d6ae4e027c70eea2a935c2296f21");
}

TEST(MD5, BytesAboveSevenBitsCount)
{
    EXPECT_EQ(Md5Hex("\xe9\xff\x80"), "368cbff5d53e167c11547c6909c4429a");
}

TEST(MD5, RawDigestHoldsTheBytesOfTheHexDigest)
{
    MD5 md5;
    md5.Update("abc");
    md5.Finalize();
    auto raw = md5.RawDigest();
    ASSERT_TRUE(raw.has_value());
    EXPECT_EQ((*raw)[0], 0x90);
    EXPECT_EQ((*raw)[15], 0x72);
}

TEST(MD5, MisuseIsReportedAndChangesNothing)
{
    CErrorCapture capture;
    MD5 open;
    EXPECT_FALSE(open.RawDigest().has_value());
    EXPECT_EQ(open.HexDigest(), "");
    EXPECT_EQ(capture.Text(), "MD5::raw_digest:  Can't get digest if you haven't finalized the digest!\n"
                              "MD5::hex_digest:  Can't get digest if you haven't finalized the digest!\n");

    CErrorCapture late;
    MD5 done;
    done.Update("abc");
    done.Finalize();
    done.Update("more");
    done.Finalize();
    EXPECT_EQ(late.Text(), "MD5::update:  Can't update a finalized digest!\n"
                           "MD5::finalize:  Already finalized this digest!\n");
    EXPECT_EQ(done.HexDigest(), "900150983cd24fb0d6963f7d28e17f72");
}

TEST(ObjectDigest, OnlyTheFirst2000CharactersCount)
{
    std::string text;
    for (int i = 0; i < 3000; ++i)
        text.push_back(static_cast<char>('!' + i % 90));
    EXPECT_EQ(ObjectDigest(text), ObjectDigest(text.substr(0, 2000)));
    EXPECT_NE(ObjectDigest(text.substr(0, 1999)), ObjectDigest(text.substr(0, 2000)));
    EXPECT_EQ(ObjectDigest("abc"), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(ObjectDigest("").size(), 32u);
}

} // namespace
} // namespace orvane
