#include "app/look.h"

#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <gtest/gtest.h>

using namespace vv;

namespace {

int textRoom(const QPushButton& b)
{
    QStyleOptionButton option;
    option.initFrom(&b);
    option.text = b.text();
    return b.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &b).width();
}

} // namespace

TEST(Look, CaptionsShrinkUntilTheyFitTheirControlButNotBelowSixPoints)
{
    // A narrow push button: its own size hint never fits (push buttons ask
    // for a minimum width); the room its style leaves for the text counts.
    QPushButton narrow(QStringLiteral("index"));
    QFont f = narrow.font();
    f.setPointSizeF(12);
    narrow.setFont(f);
    narrow.resize(40, 46);
    fitCaption(&narrow);
    EXPECT_LT(narrow.font().pointSizeF(), 12);
    EXPECT_LE(narrow.fontMetrics().horizontalAdvance(narrow.text()), textRoom(narrow));

    // Other controls go by their size hint: captions that fit keep their
    // type; none shrinks below six points.
    QLabel roomy(QStringLiteral("OK"));
    f.setPointSizeF(10);
    roomy.setFont(f);
    roomy.resize(400, 30);
    fitCaption(&roomy);
    EXPECT_EQ(roomy.font().pointSizeF(), 10);

    QLabel tiny(QStringLiteral("A caption far too long for its place"));
    tiny.setFont(f);
    tiny.resize(5, 30);
    fitCaption(&tiny);
    EXPECT_EQ(tiny.font().pointSizeF(), 6);
}
