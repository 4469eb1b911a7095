// The directory chooser: its file-system rules on temporary trees, and the
// dialog itself driven while it runs modally.

#include <QDir>
#include <QFile>
#include <QTest>
#include <QTimer>

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

TEST(DirectoryBrowser, PathTextsParentsAndTheRootOfAPath)
{
    const std::pair<const char*, const char*> texts[] = {
        {"/", "/"}, {"/home/a/", "/home/a"}, {"/home//a/./b/../c", "/home/a/c"}, {"/home/a", "/home/a"}};
    for (const auto& [in, out] : texts)
        EXPECT_EQ(chooserPathText(QString::fromUtf8(in)), QString::fromUtf8(out)) << in;
    EXPECT_EQ(chooserPathText(QStringLiteral("rel")), QDir::current().absoluteFilePath(QStringLiteral("rel")));

    const std::pair<const char*, const char*> parents[] = {{"/home/a/", "/home"}, {"/home", "/"}, {"/", "/"}};
    for (const auto& [in, out] : parents)
        EXPECT_EQ(parentDirectory(in), QString::fromUtf8(out)) << in;

    // The longest root above the path.
    const QStringList roots{"/", "/home/anna", "/media/anna/USB"};
    const std::pair<const char*, const char*> rooted[] = {
        {"/home/anna/Musik", "/home/anna"}, {"/home/anna", "/home/anna"},
        {"/home/anna2/x", "/"},   // not a folder of /home/anna
        {"/media/anna/USB/Filme/", "/media/anna/USB"}};
    for (const auto& [in, out] : rooted)
        EXPECT_EQ(rootOf(roots, in), QString::fromUtf8(out)) << in;
    EXPECT_EQ(rootOf(QStringList{"/home/anna"}, "/etc"), QString());
}

TEST(DirectoryBrowser, SubdirectoriesAndTheNearestExistingDirectory)
{
    QTemporaryDir temp;
    const QString t = temp.path();
    makeDirs(t, {"b", "A", "c/inner", ".hidden"});
    QFile file(t + "/file.txt");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    ASSERT_TRUE(QFile::link(t + "/c", t + "/link"));
    ASSERT_TRUE(QFile::link(t + "/gone", t + "/dangling"));
    // Visible folders in name order, links to folders included.
    EXPECT_EQ(subdirectoryNames(t), (QStringList{"A", "b", "c", "link"}));
    EXPECT_EQ(subdirectoryNames(t + "/missing"), QStringList{});

    EXPECT_EQ(nearestExistingDirectory(t + "/c/inner/"), t + "/c/inner");
    EXPECT_EQ(nearestExistingDirectory(t + "/c/x/y"), t + "/c");
    EXPECT_EQ(nearestExistingDirectory("/no/such/folder/anywhere"), QStringLiteral("/"));
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

TEST_F(DirectoryChooserTest, OkReturnsTheStartDirectoryOrWhereEnterWent)
{
    const auto ok = [this] { verz().Command1->click(); };
    EXPECT_EQ(choose(dir() + "Filme/", ok), path("Filme"));
    EXPECT_EQ(verz().windowTitle(), QStringLiteral("Titel"));
    EXPECT_EQ(choose(QStringLiteral("/"), ok), QStringLiteral("/"));
    // Enter opens the selected directory and keeps the chooser open.
    EXPECT_EQ(choose(dir() + "Filme",
                     [&] {
                         verz().Dir1->setCurrentRow(static_cast<int>(entries().indexOf(QStringLiteral("Alpen"))));
                         QTest::keyClick(verz().Dir1, Qt::Key_Return);
                         EXPECT_TRUE(verz().isVisible());
                         ok();
                     }),
              path("Filme/Alpen"));
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
    verz().prepare(QStringLiteral("Titel"), writeFile(QStringLiteral("Filme/clip.avi"), "x"));
    EXPECT_EQ(verz().LabelQuellVERZ->text(), path("Filme/Alpen"));
    // Where it was left vanished: its nearest ancestor.
    ASSERT_TRUE(QDir(dir() + "Filme/Alpen").removeRecursively());
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
