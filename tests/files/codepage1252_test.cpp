#include "files/codepage1252.h"

#include <gtest/gtest.h>

namespace {

TEST(CodePage1252, EveryByteDecodesAndEncodesBack)
{
    QByteArray all;
    for (int byte = 0; byte < 256; ++byte)
        all.append(static_cast<char>(byte));
    const QString text = TCodePage1252::Decode(all);
    ASSERT_EQ(text.size(), 256);
    qsizetype lost = -1;
    EXPECT_EQ(TCodePage1252::Encode(text, &lost), all);
    EXPECT_EQ(lost, 0);
}

struct TCharacterCase
{
    const char16_t *text;
    const char *bytes;
    qsizetype lost;
};

class CodePage1252Encode : public ::testing::TestWithParam<TCharacterCase>
{
};

TEST_P(CodePage1252Encode, WritesTheCodePageByte)
{
    const TCharacterCase &c = GetParam();
    qsizetype lost = -1;
    EXPECT_EQ(TCodePage1252::Encode(QStringView(c.text), &lost), QByteArray(c.bytes));
    EXPECT_EQ(lost, c.lost);
}

INSTANTIATE_TEST_SUITE_P(
    Characters, CodePage1252Encode,
    ::testing::Values(TCharacterCase{u"Mesure", "Mesure", 0},
                      // Latin-1 letters keep their code.
                      TCharacterCase{u"Bohrung \u00e9\u00e4\u00df\u00ff", "Bohrung \xe9\xe4\xdf\xff", 0},
                      // 0x80 to 0x9F hold the letters and signs where 1252 differs from Latin-1.
                      TCharacterCase{u"\u20ac\u0152\u0178\u2122\u2013", "\x80\x8c\x9f\x99\x96", 0},
                      // The undefined bytes round-trip through the control characters of their code.
                      TCharacterCase{u"\u0081\u009d", "\x81\x9d", 0},
                      // U+0080 has no byte: 0x80 is the euro sign.
                      TCharacterCase{u"a\u0080b", "a?b", 1}, TCharacterCase{u"\u03a9 \u4e2d", "? ?", 2},
                      // A character outside the basic plane is one character, written as one "?".
                      TCharacterCase{u"x\U0001F600y", "x?y", 1}));

} // namespace
