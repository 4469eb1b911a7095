#include "app/text_codec.h"

#include <gtest/gtest.h>

namespace vv {
namespace {

TEST(TextCodec, Windows1252RoundTripsEveryByteAndRefusesOtherCharacters)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    const QString text = decodeWindows1252(all);
    ASSERT_EQ(text.size(), 256);
    // The euro sign, Y with diaeresis, e acute; an undefined byte keeps its number.
    EXPECT_EQ((std::vector{text.at(0x80).unicode(), text.at(0x9F).unicode(), text.at(0xE9).unicode(),
                           text.at(0x81).unicode()}),
              (std::vector<char16_t>{0x20AC, 0x0178, 0x00E9, 0x0081}));
    QByteArray out;
    ASSERT_TRUE(encodeWindows1252(text, &out));
    EXPECT_EQ(out, all);

    EXPECT_FALSE(encodeWindows1252(QString(QChar(0x0100)), &out));  // the first character beyond
}

TEST(TextCodec, LinesAreUtf8UnlessInvalid)
{
    struct Case {
        QByteArray bytes;
        bool legacy;
        QString text;
    } const cases[] = {
        {"plain", false, QStringLiteral("plain")},
        {"Z\xC3\xBCrich", false, QString::fromUtf8("Zürich")},
        {"M\xFCnchen", true, QString::fromUtf8("München")},
        {"cut \xC3", true, QString::fromUtf8("cut Ã")},              // truncated sequence
        {"overlong \xC0\xAF", true, QString::fromUtf8("overlong À¯")},
        {"\xEF\xBB\xBFmark", false, QChar(0xFEFF) + QStringLiteral("mark")},  // kept for the round trip
    };
    for (const auto& c : cases) {
        bool legacy = !c.legacy;
        EXPECT_EQ(decodeTextLine(c.bytes, &legacy), c.text) << c.bytes.toStdString();
        EXPECT_EQ(legacy, c.legacy) << c.bytes.toStdString();
    }
}

TEST(TextCodec, MessagesShowUnprintableCharactersEscaped)
{
    EXPECT_EQ(printableText(QString::fromUtf8("/home/Jürgen/a\\b €")), QString::fromUtf8("/home/Jürgen/a\\b €"));
    EXPECT_EQ(printableText(QString::fromUtf8("\x01\x1B[2J\x7F\xEF\xBF\xBD\xE2\x80\xAEx\n")),
              QStringLiteral("\\x01\\x1b[2J\\x7f\\u{fffd}\\u{202e}x\\x0a"));
}

} // namespace
} // namespace vv
