// The interaction window and the key help.

#include <QTest>

#include "control/command_window.h"
#include "control/control_panel.h"
#include "control/key_help.h"
#include "index/scene_window.h"
#include "tests/support/app_fixture.h"
#include "video/loading.h"

namespace vv::test {
namespace {

class CommandWindowTest : public AppFixture {
protected:
    void SetUp() override { showMainWindow(); }
};

TEST_F(CommandWindowTest, LabelAndFrameFillTheWindowAtEverySize)
{
    CommandWindow& window = app->FormCommand(4);
    EXPECT_EQ(window.Label1->text(), QStringLiteral("Do this action!"));
    EXPECT_EQ(window.size(), QSize(285, 26));  // 4275 x 390 twips
    window.show();
    for (const QSize size : {QSize(240, 26), QSize(500, 60), QSize(1, 1)}) {
        window.resize(size);
        EXPECT_EQ(window.Label1->geometry(), QRect(QPoint(0, 0), size));
        EXPECT_EQ(window.Shape1->geometry(), QRect(QPoint(0, 0), size));
    }
    EXPECT_TRUE(window.Label1->font().bold());
    EXPECT_EQ(window.Label1->font().pointSize(), 18);
}

TEST_F(CommandWindowTest, AnEmptyCaptionPerformsNothingEvenWithAnIndex)
{
    const QString video = addVideo(QStringLiteral("clip.avi"));
    INITIALIZEvideo(*app, video, 0);
    CommandWindow& window = app->FormCommand(0);
    window.Label1->setText(QString());
    window.Label1->setToolTip(QStringLiteral(" 2"));
    const auto seeks = player().seeks.size();
    window.DOcommandACTION();
    QTest::mouseClick(window.Label1, Qt::LeftButton);
    EXPECT_EQ(player().seeks.size(), seeks);
    EXPECT_EQ(app->menu().ListSCRIPT->ListIndex(), -1);
    EXPECT_EQ(app->st.ActiveMode, 0);
}

TEST_F(CommandWindowTest, TheKeyHelpIsTheFixedSummaryInAPlainMessageBox)
{
    const QString expected = QStringLiteral(
        "TASTATURBELEGUNG\r"
        "\r"
        "ESC = Videoauswahlliste ein/aus\r"
        "w = Navigationsanzeige ein/aus\r"
        "e = Interaktivitätsmenü ein/aus\r"
        "\r"
        "p / Pfeil links - zuvoriges Video aus Playliste\r"
        "n / Pfeil rechts - nächstes Video aus Playliste\r"
        "\r"
        "r = Play Video\r"
        "s = Stop Video\r"
        "f = Forward\r"
        "b = Rewind\r"
        "\r"
        "+ = Speed Up\r"
        "- = Speed Down\r"
        "i = Zoom In\r"
        "o = Zoom Out\r"
        "\r"
        "m = Sound (on / off)\r"
        "l = Bereichsmarkierung In/Out/Reset\r");
    // From the panel's help button and from F1 alike.
    app->menu().CommandHELP->click();
    QTest::keyClick(player().widget(), Qt::Key_F1);
    ASSERT_EQ(services.boxes.size(), 2u);
    for (const FakeServices::Box& box : services.boxes) {
        EXPECT_EQ(box.text, expected);
        EXPECT_EQ(box.icon, Services::Icon::None);
        EXPECT_TRUE(box.title.isEmpty());
    }
    EXPECT_EQ(expected.count(QLatin1Char('\r')), 21);
    EXPECT_FALSE(expected.contains(QLatin1Char('\n')));
    EXPECT_EQ(keyboardHelpText(), expected);
}

} // namespace
} // namespace vv::test
