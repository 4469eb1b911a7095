// The directory chooser: its file-system rules on temporary trees, and the
// dialog itself driven while it runs modally.

#include <QDir>
#include <QFile>
#include <QTest>
#include <QTimer>

#include "app/twips.h"
#include "library/directory_browser.h"
#include "library/directory_chooser.h"
#include "tests/support/app_fixture.h"

namespace vv::test {
namespace {

void makeDirs(const QString& base, const QStringList& relative)
{
    for (const QString& r : relative)
        ASSERT_TRUE(QDir().mkpath(base + QLatin1Char('/') + r)) << r.toStdString();
}

TEST(DirectoryBrowser, PathsAreWrittenWithoutATrailingSeparatorExceptTheRoot)
{
    const std::pair<const char*, const char*> cases[] = {
        {"/", "/"},
        {"/home/a/", "/home/a"},
        {"/home//a/./b/../c", "/home/a/c"},
        {"/home/a", "/home/a"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(chooserPathText(QString::fromUtf8(in)), QString::fromUtf8(out)) << in;
    EXPECT_EQ(chooserPathText(QStringLiteral("rel")), QDir::current().absoluteFilePath(QStringLiteral("rel")));

    EXPECT_EQ(parentDirectory(QStringLiteral("/home/a/")), QStringLiteral("/home"));
    EXPECT_EQ(parentDirectory(QStringLiteral("/home")), QStringLiteral("/"));
    EXPECT_EQ(parentDirectory(QStringLiteral("/")), QStringLiteral("/"));
}

TEST(DirectoryBrowser, SubdirectoriesAreVisibleFoldersInNameOrder)
{
    QTemporaryDir temp;
    makeDirs(temp.path(), {"b", "A", "c/inner", ".hidden"});
    QFile file(temp.path() + "/file.txt");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    ASSERT_TRUE(QFile::link(temp.path() + "/c", temp.path() + "/link"));
    ASSERT_TRUE(QFile::link(temp.path() + "/gone", temp.path() + "/dangling"));

    EXPECT_EQ(subdirectoryNames(temp.path()), (QStringList{"A", "b", "c", "link"}));
    EXPECT_EQ(subdirectoryNames(temp.path() + "/missing"), QStringList{});
}

TEST(DirectoryBrowser, RootsAreTheSystemRootTheHomeFolderAndMountedMedia)
{
    QTemporaryDir temp;
    const QString root = temp.path();
    makeDirs(root, {"home/anna", "media/anna/USB-STICK", "media/anna/CAMERA", "media/cdrom",
                    "run/media/anna/DISK", "mnt/nas", "run/media/otto/THEIRS"});

    EXPECT_EQ(chooserRoots(root + "/home/anna", "anna", root),
              (QStringList{root, root + "/home/anna", root + "/media/anna/CAMERA", root + "/media/anna/USB-STICK",
                           root + "/run/media/anna/DISK", root + "/media/cdrom", root + "/mnt/nas"}));
    // Nothing mounted, no home: the root alone.
    QTemporaryDir bare;
    EXPECT_EQ(chooserRoots(bare.path() + "/nohome", "anna", bare.path()), QStringList{bare.path()});
}

TEST(DirectoryBrowser, TheRootOfAPathIsTheLongestRootAboveIt)
{
    const QStringList roots{"/", "/home/anna", "/media/anna/USB"};
    EXPECT_EQ(rootOf(roots, "/home/anna/Musik"), QStringLiteral("/home/anna"));
    EXPECT_EQ(rootOf(roots, "/home/anna"), QStringLiteral("/home/anna"));
    EXPECT_EQ(rootOf(roots, "/home/anna2/x"), QStringLiteral("/"));   // not a folder of /home/anna
    EXPECT_EQ(rootOf(roots, "/media/anna/USB/Filme/"), QStringLiteral("/media/anna/USB"));
    EXPECT_EQ(rootOf(QStringList{"/home/anna"}, "/etc"), QString());
}

TEST(DirectoryBrowser, TheNearestExistingDirectoryOfAMissingPathIsAnAncestor)
{
    QTemporaryDir temp;
    makeDirs(temp.path(), {"a/b"});
    EXPECT_EQ(nearestExistingDirectory(temp.path() + "/a/b/"), temp.path() + "/a/b");
    EXPECT_EQ(nearestExistingDirectory(temp.path() + "/a/x/y"), temp.path() + "/a");
    EXPECT_EQ(nearestExistingDirectory("/no/such/folder/anywhere"), QStringLiteral("/"));
}

class DirectoryChooserTest : public AppFixture {
protected:
    void SetUp() override
    {
        makeDirs(dir(), {"Filme/Sport", "Filme/Alpen", "Musik"});
    }
    QString path(const QString& relative) { return chooserPathText(dir() + relative); }
    DirectoryChooser& verz() { return app->VERZ(); }
    QStringList entries()
    {
        QStringList names;
        for (int i = 0; i < verz().Dir1->count(); ++i)
            names << verz().Dir1->item(i)->text();
        return names;
    }
    void doubleClick(const QString& entry)
    {
        const auto items = verz().Dir1->findItems(entry, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << entry.toStdString();
        verz().Dir1->setCurrentItem(items.first());
        verz().Dir1->doItemsLayout();
        const QPoint at = verz().Dir1->visualItemRect(items.first()).center();
        // A double click is a click followed by the double-click event.
        QTest::mouseClick(verz().Dir1->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(verz().Dir1->viewport(), Qt::LeftButton, {}, at);
    }
    // Runs the chooser modally; `act` runs while it is up.
    QString choose(const QString& start, std::function<void()> act)
    {
        QTimer::singleShot(0, verz().Dir1, [act] { act(); });
        verz().INITIALIZE(QStringLiteral("Titel"), start);
        EXPECT_FALSE(verz().isVisible());
        return verz().result();
    }
};

TEST_F(DirectoryChooserTest, ControlsStandAtTheirPlacesInTabOrder)
{
    DirectoryChooser& c = verz();
    EXPECT_TRUE(c.isWindow());
    EXPECT_EQ(c.size(), QSize(px(7350), px(4065)));
    EXPECT_EQ(c.Label1->text(), QString::fromUtf8("Gewähltes Verzeichnis:"));
    EXPECT_EQ(c.Command1->text(), QStringLiteral("Ok"));
    EXPECT_EQ(c.Command2->text(), QStringLiteral("Cancel"));
    EXPECT_EQ(c.LabelQuellVERZ->geometry(), QRect(px(1950), px(150), px(3525), px(255)));
    EXPECT_EQ(c.Drive1->geometry(), QRect(px(195), px(690), px(3960), px(315)));
    EXPECT_EQ(c.Dir1->geometry(), QRect(px(180), px(1140), px(3945), px(2790)));
    EXPECT_EQ(c.Command1->geometry(), QRect(px(5955), px(3285), px(1215), px(495)));
    EXPECT_EQ(c.Command2->geometry(), QRect(px(4455), px(3285), px(1215), px(495)));
    // The tab order of the four controls (helpers of a control may stand
    // between them in the chain).
    const QList<QWidget*> controls{c.Command1, c.Command2, c.Drive1, c.Dir1};
    QList<QWidget*> order{c.Command1};
    for (QWidget* w = c.Command1->nextInFocusChain(); w != c.Command1; w = w->nextInFocusChain()) {
        if (controls.contains(w))
            order << w;
    }
    EXPECT_EQ(order, controls);
}

TEST_F(DirectoryChooserTest, OkWithoutTouchingAnythingReturnsTheStartDirectory)
{
    EXPECT_EQ(choose(dir() + "Filme/", [this] { verz().Command1->click(); }), path("Filme"));
    EXPECT_EQ(verz().windowTitle(), QStringLiteral("Titel"));
    EXPECT_EQ(choose(QStringLiteral("/"), [this] { verz().Command1->click(); }), QStringLiteral("/"));
}

TEST_F(DirectoryChooserTest, TheListShowsTheWayUpAndTheSubdirectories)
{
    verz().prepare(QStringLiteral("Titel"), dir() + "Filme");
    EXPECT_EQ(entries(), (QStringList{"..", "Alpen", "Sport"}));
    EXPECT_EQ(verz().LabelQuellVERZ->text(), path("Filme"));

    doubleClick(QStringLiteral("Sport"));
    EXPECT_EQ(verz().LabelQuellVERZ->text(), path("Filme/Sport"));
    EXPECT_EQ(entries(), QStringList{".."});

    doubleClick(QStringLiteral(".."));
    doubleClick(QStringLiteral(".."));
    EXPECT_EQ(verz().currentDirectory(), chooserPathText(dir()));
    EXPECT_TRUE(entries().contains(QStringLiteral("Musik")));

    verz().prepare(QStringLiteral("Titel"), QStringLiteral("/"));
    EXPECT_FALSE(entries().contains(QStringLiteral("..")));   // nothing above the root
}

TEST_F(DirectoryChooserTest, EnterOpensTheSelectedDirectoryAndKeepsTheChooserOpen)
{
    const QString result = choose(dir() + "Filme", [this] {
        verz().Dir1->setCurrentRow(static_cast<int>(entries().indexOf(QStringLiteral("Alpen"))));
        QTest::keyClick(verz().Dir1, Qt::Key_Return);
        EXPECT_TRUE(verz().isVisible());
        verz().Command1->click();
    });
    EXPECT_EQ(result, path("Filme/Alpen"));
}

TEST_F(DirectoryChooserTest, CancelEscapeAndTheWindowFrameAllReturnNothing)
{
    const std::function<void()> cancels[] = {
        [this] { verz().Command2->click(); },
        [this] { QTest::keyClick(verz().Dir1, Qt::Key_Escape); },
        [this] { verz().close(); },
    };
    for (const auto& cancel : cancels) {
        const QString result = choose(dir() + "Musik", [&] {
            doubleClick(QStringLiteral(".."));   // whatever was chosen before
            cancel();
        });
        EXPECT_EQ(result, QString());
    }
}

TEST_F(DirectoryChooserTest, ItOpensWhereItWasLeftWithoutAUsableStartDirectory)
{
    choose(dir() + "Filme", [this] {
        doubleClick(QStringLiteral("Alpen"));
        verz().Command2->click();
    });
    // An empty start and one that does not exist both open at Filme/Alpen.
    for (const QString& start : {QString(), dir() + QStringLiteral("gone/away")}) {
        verz().prepare(QStringLiteral("Titel"), start);
        EXPECT_EQ(verz().LabelQuellVERZ->text(), path("Filme/Alpen")) << start.toStdString();
    }
    // A file is no directory either.
    const QString file = writeFile(QStringLiteral("Filme/clip.avi"), "x");
    verz().prepare(QStringLiteral("Titel"), file);
    EXPECT_EQ(verz().LabelQuellVERZ->text(), path("Filme/Alpen"));
}

TEST_F(DirectoryChooserTest, ADirectoryThatVanishedOpensItsNearestAncestor)
{
    verz().prepare(QStringLiteral("Titel"), dir() + "Filme/Sport");
    ASSERT_TRUE(QDir(dir() + "Filme/Sport").removeRecursively());
    verz().prepare(QStringLiteral("Titel"), QString());
    EXPECT_EQ(verz().LabelQuellVERZ->text(), path("Filme"));
}

TEST_F(DirectoryChooserTest, ChoosingARootOpensWhereTheChooserWasLastBelowIt)
{
    verz().prepare(QStringLiteral("Titel"), dir() + "Filme/Sport");
    const QString root = verz().Drive1->currentText();
    ASSERT_FALSE(root.isEmpty());
    EXPECT_EQ(rootOf(QStringList{root}, path("Filme/Sport")), root);

    const int rootIndex = verz().Drive1->currentIndex();
    const int other = verz().Drive1->findText(QStringLiteral("/")) == rootIndex ? 1 : 0;
    if (verz().Drive1->count() < 2)
        GTEST_SKIP() << "only one root on this machine";
    verz().Drive1->setCurrentIndex(other);
    emit verz().Drive1->activated(other);
    EXPECT_EQ(verz().currentDirectory(), verz().Drive1->itemText(other));
    EXPECT_EQ(verz().LabelQuellVERZ->text(), verz().Drive1->itemText(other));

    verz().Drive1->setCurrentIndex(rootIndex);
    emit verz().Drive1->activated(rootIndex);
    EXPECT_EQ(verz().currentDirectory(), path("Filme/Sport"));
}

} // namespace
} // namespace vv::test
