// Numbers and their texts, the code pages of text lines, and captions that
// fit their controls.

#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

#include "app/look.h"
#include "app/numbers.h"
#include "app/text_codec.h"

namespace vv {
namespace {

TEST(Numbers, RoundHalfToEvenPinsInsteadOfWrapping)
{
    constexpr auto max64 = std::numeric_limits<std::int64_t>::max(), min64 = std::numeric_limits<std::int64_t>::min();
    const std::pair<double, std::int64_t> cases[] = {
        {0.5, 0}, {1.5, 2}, {2.5, 2}, {-1.5, -2}, {-2.5, -2}, {2.4999, 2}, {2.5001, 3},
        {1e300, max64}, {-1e300, min64}, {std::nan(""), 0},
    };
    for (const auto& [value, rounded] : cases)
        EXPECT_EQ(roundEven(value), rounded) << value;
    for (const auto& [value, rounded] : {std::pair{32767.5, 32767}, {-40000, -32768}, {100.5, 100}})
        EXPECT_EQ(roundEven16(value), rounded) << value;
    EXPECT_EQ(std::tuple(roundEven32(3e9), roundEven32(-3e9), roundEven32(4440.5)),
              std::tuple(std::numeric_limits<std::int32_t>::max(), std::numeric_limits<std::int32_t>::min(), 4440));
}

TEST(Numbers, NumberTextsLeadingNumbersAndSixDigits)
{
    EXPECT_EQ(numberText(std::int64_t{3}) + numberText(std::int64_t{0}) + numberText(std::int64_t{-3}),
              QStringLiteral(" 3 0-3"));
    const std::pair<double, const char*> texts[] = {
        {0.5, " .5"}, {1.5, " 1.5"}, {2.0, " 2"}, {-0.25, "-.25"}, {-0.0, " 0"},
        {1.1f, " 1.1"}, {0.1f, " .1"}, {1234567.0, " 1234567"},
    };
    for (const auto& [value, text] : texts)
        EXPECT_EQ(numberText(value), QString::fromLatin1(text)) << value;

    const std::pair<const char*, std::int64_t> numbers[] = {
        {"001234-005678 JUMP", 1234}, {"  42abc", 42}, {"abc", 0}, {"", 0}, {"-5x", -5},
        {"+7", 7}, {"!00000 PREVIOUS VIDEO", 0},
        {"99999999999999999999999", std::numeric_limits<std::int64_t>::max()},
    };
    for (const auto& [text, value] : numbers)
        EXPECT_EQ(leadingNumber(QString::fromLatin1(text)), value) << text;
    for (const auto& [value, text] : {std::pair{1234, "001234"}, {0, "000000"}, {999999, "999999"}, {-5, "000005"},
                                      {1234567, "1234567"}})
        EXPECT_EQ(sixDigits(value), QString::fromLatin1(text)) << value;
}

TEST(TextCodec, Windows1252RoundTripsEveryByteAndRefusesOtherCharacters)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    const QString text = decodeWindows1252(all);
    ASSERT_EQ(text.size(), 256);
    // The euro sign, Y with diaeresis, e acute; an undefined byte keeps its number.
    EXPECT_EQ(QString(text.at(0x80)) + text.at(0x9F) + text.at(0xE9) + text.at(0x81),
              QStringLiteral(u"\u20AC\u0178\u00E9\u0081"));
    QByteArray out;
    ASSERT_TRUE(encodeWindows1252(text, &out));
    EXPECT_EQ(out, all);
    EXPECT_FALSE(encodeWindows1252(QString(QChar(0x0100)), &out));  // the first character beyond
}

TEST(TextCodec, LinesAreUtf8UnlessInvalidAndMessagesShowUnprintableCharactersEscaped)
{
    struct Case {
        QByteArray bytes;
        bool legacy;
        QString text;
    } const cases[] = {
        {"Z\xC3\xBCrich", false, QString::fromUtf8("Zürich")},
        {"cut \xC3", true, QString::fromUtf8("cut Ã")},              // truncated sequence
        {"overlong \xC0\xAF", true, QString::fromUtf8("overlong À¯")},
        {"\xEF\xBB\xBFmark", false, QChar(0xFEFF) + QStringLiteral("mark")},  // kept for the round trip
    };
    for (const auto& c : cases) {
        bool legacy = !c.legacy;
        EXPECT_EQ(decodeTextLine(c.bytes, &legacy), c.text) << c.bytes.toStdString();
        EXPECT_EQ(legacy, c.legacy) << c.bytes.toStdString();
    }

    EXPECT_EQ(printableText(QString::fromUtf8("/home/Jürgen/a\\b €")), QString::fromUtf8("/home/Jürgen/a\\b €"));
    EXPECT_EQ(printableText(QString::fromUtf8("\x01\x1B[2J\x7F\xEF\xBF\xBD\xE2\x80\xAEx\n")),
              QStringLiteral("\\x01\\x1b[2J\\x7f\\u{fffd}\\u{202e}x\\x0a"));
}

// A narrow push button: its own size hint never fits (push buttons ask for a
// minimum width); the room its style leaves for the text counts. Other
// controls go by their size hint: captions that fit keep their type; none
// shrinks below six points.
TEST(Look, CaptionsShrinkUntilTheyFitTheirControlButNotBelowSixPoints)
{
    QPushButton narrow(QStringLiteral("index"));
    QFont f = narrow.font();
    f.setPointSizeF(12);
    narrow.setFont(f);
    narrow.resize(40, 46);
    fitCaption(&narrow);
    EXPECT_LT(narrow.font().pointSizeF(), 12);
    QStyleOptionButton option;
    option.initFrom(&narrow);
    option.text = narrow.text();
    EXPECT_LE(narrow.fontMetrics().horizontalAdvance(narrow.text()),
              narrow.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &narrow).width());

    f.setPointSizeF(10);
    for (const auto& [caption, width, size] :
         {std::tuple("OK", 400, 10), {"A caption far too long for its place", 5, 6}}) {
        QLabel label(QString::fromLatin1(caption));
        label.setFont(f);
        label.resize(width, 30);
        fitCaption(&label);
        EXPECT_EQ(label.font().pointSizeF(), size) << caption;
    }
}

} // namespace
} // namespace vv
