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

TEST(DirectoryBrowser, PathTextsParentsRootsSubdirectoriesAndTheNearestExistingDirectory)
{
    const std::tuple<QString, QString, QString> rows[] = {
        // path, its text, its parent
        {"/", "/", "/"}, {"/home//a/./b/../c/", "/home/a/c", "/home/a"}, {"/home", "/home", "/"},
    };
    for (const auto& [in, text, parent] : rows) {
        EXPECT_EQ(chooserPathText(in), text) << in.toStdString();
        EXPECT_EQ(parentDirectory(in), parent) << in.toStdString();
    }
    EXPECT_EQ(chooserPathText(QStringLiteral("rel")), QDir::current().absoluteFilePath(QStringLiteral("rel")));

    // The longest root above the path.
    const QStringList roots{"/", "/home/anna", "/media/anna/USB"};
    const std::pair<const char*, const char*> rooted[] = {
        {"/home/anna/Musik", "/home/anna"}, {"/home/anna", "/home/anna"},
        {"/home/anna2/x", "/"},  // not a folder of /home/anna
        {"/media/anna/USB/Filme/", "/media/anna/USB"}};
    for (const auto& [in, out] : rooted)
        EXPECT_EQ(rootOf(roots, in), QString::fromUtf8(out)) << in;
    EXPECT_EQ(rootOf(QStringList{"/home/anna"}, "/etc"), QString());

    // On temporary trees:
    QTemporaryDir temp;
    const QString t = temp.path();
    makeDirs(t, {"b", "A", "c/inner", ".hidden"});
    ASSERT_TRUE(QFile(t + "/file.txt").open(QIODevice::WriteOnly));
    ASSERT_TRUE(QFile::link(t + "/c", t + "/link"));
    ASSERT_TRUE(QFile::link(t + "/gone", t + "/dangling"));
    // Visible folders in name order, links to folders included.
    EXPECT_EQ(subdirectoryNames(t), (QStringList{"A", "b", "c", "link"}));
    EXPECT_EQ(subdirectoryNames(t + "/missing"), QStringList{});
    EXPECT_EQ((QStringList{nearestExistingDirectory(t + "/c/inner/"), nearestExistingDirectory(t + "/c/x/y"),
                           nearestExistingDirectory("/no/such/folder/anywhere")}),
              (QStringList{t + "/c/inner", t + "/c", "/"}));

    // The system root, the home folder and mounted media; nothing mounted and
    // no home: the root alone.
    const QString root = t + "/root";
    makeDirs(root, {"home/anna", "media/anna/USB-STICK", "media/anna/CAMERA", "media/cdrom",
                    "run/media/anna/DISK", "mnt/nas", "run/media/otto/THEIRS"});
    EXPECT_EQ(chooserRoots(root + "/home/anna", "anna", root),
              (QStringList{root, root + "/home/anna", root + "/media/anna/CAMERA", root + "/media/anna/USB-STICK",
                           root + "/run/media/anna/DISK", root + "/media/cdrom", root + "/mnt/nas"}));
    EXPECT_EQ(chooserRoots(t + "/A/nohome", "anna", t + "/A"), QStringList{t + "/A"});
}

using DirectoryChooserTest = AppFixture;

// Enter and double clicks open directories and keep the chooser open; with
// no start it opens where it was left, or at its nearest ancestor when that
// vanished.
TEST_F(DirectoryChooserTest, OkReturnsWhereTheChooserStandsEveryCancelNothingAndItReopensWhereItWasLeft)
{
    makeDirs(dir(), {"Filme/Sport", "Filme/Alpen", "Musik"});
    DirectoryChooser& verz = app->VERZ();
    QListWidget* list = verz.Dir1;
    const auto path = [&](const QString& relative) { return chooserPathText(dir() + relative); };
    const auto entries = [&] {
        QStringList names;
        for (int i = 0; i < list->count(); ++i)
            names << list->item(i)->text();
        return names;
    };
    // A double click is a click followed by the double-click event.
    const auto doubleClick = [&](const QString& entry) {
        const auto items = list->findItems(entry, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << entry.toStdString();
        list->setCurrentItem(items.first());
        list->doItemsLayout();
        const QPoint at = list->visualItemRect(items.first()).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    };
    // Runs the chooser modally; `act` runs while it is up.
    const auto choose = [&](const QString& start, const std::function<void()>& act) {
        QTimer::singleShot(0, list, act);
        verz.INITIALIZE(QStringLiteral("Titel"), start);
        EXPECT_FALSE(verz.isVisible());
        return verz.result();
    };
    const auto ok = [&] { verz.Command1->click(); };
    EXPECT_EQ(choose(dir() + "Filme/", ok), path("Filme"));
    EXPECT_EQ(verz.windowTitle(), QStringLiteral("Titel"));
    const auto walk = [&] {
        EXPECT_EQ(entries(), (QStringList{"..", "Alpen", "Sport"}));
        list->setCurrentRow(1);
        QTest::keyClick(list, Qt::Key_Return);
        doubleClick(QStringLiteral(".."));
        doubleClick(QStringLiteral("Sport"));
        ok();
    };
    EXPECT_EQ(choose(dir() + "Filme", walk), path("Filme/Sport"));

    const std::function<void()> cancels[] = {
        [&] { verz.Command2->click(); },
        [&] { QTest::keyClick(list, Qt::Key_Escape); },
        [&] { verz.close(); },
    };
    for (const auto& cancel : cancels) {
        const auto act = [&] {
            doubleClick(QStringLiteral(".."));  // whatever was chosen before
            cancel();
        };
        EXPECT_EQ(choose(dir() + "Filme/Alpen", act), QString());
    }
    ASSERT_TRUE(QDir(dir() + "Filme").removeRecursively());
    verz.prepare(QStringLiteral("Titel"), QString());
    EXPECT_EQ(verz.LabelQuellVERZ->text(), path(""));
    verz.prepare(QStringLiteral("Titel"), QStringLiteral("/"));
    EXPECT_FALSE(entries().contains(QStringLiteral("..")));  // nothing above the root
}

} // namespace
} // namespace vv::test
