// The interaction window and the key help.

#include <QTest>

#include "control/command_window.h"
#include "control/control_panel.h"
#include "control/key_help.h"
#include "index/scene_window.h"
#include "tests/support/app_fixture.h"

namespace vv::test {
namespace {

class CommandWindowTest : public AppFixture {
protected:
    void SetUp() override { showMainWindow(); }
};

TEST_F(CommandWindowTest, LabelAndFrameFillTheWindowAtEverySize)
{
    CommandWindow& window = app->FormCommand(4);
    window.show();
    for (const QSize size : {QSize(240, 26), QSize(500, 60), QSize(1, 1)}) {
        window.resize(size);
        EXPECT_EQ(window.Label1->geometry(), QRect(QPoint(0, 0), size));
        EXPECT_EQ(window.Shape1->geometry(), QRect(QPoint(0, 0), size));
    }
}

TEST_F(CommandWindowTest, TheKeyHelpIsAPlainMessageBoxFromTheButtonAndF1)
{
    app->menu().CommandHELP->click();
    QTest::keyClick(player().widget(), Qt::Key_F1);
    ASSERT_EQ(services.boxes.size(), 2u);
    for (const FakeServices::Box& box : services.boxes) {
        EXPECT_EQ(box.text, keyboardHelpText());
        EXPECT_EQ(box.icon, Services::Icon::None);
        EXPECT_TRUE(box.title.isEmpty());
    }
    // Lines end in a carriage return alone.
    const QString help = keyboardHelpText();
    EXPECT_TRUE(help.startsWith(QStringLiteral("TASTATURBELEGUNG\r\rESC = Videoauswahlliste ein/aus\r")));
    EXPECT_TRUE(help.endsWith(QStringLiteral("\rl = Bereichsmarkierung In/Out/Reset\r")));
    EXPECT_EQ(help.count(QLatin1Char('\r')), 21);
    EXPECT_FALSE(help.contains(QLatin1Char('\n')));
}

} // namespace
} // namespace vv::test
