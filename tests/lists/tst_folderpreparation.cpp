// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

// A large folder's parts, matched and sorted beside its reading and merged,
// give the list that the folder sorted in one piece gives.

#include "lists/folderpreparation.h"

#include "testsupport.h"

#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <unistd.h>

using namespace Lirabel;

class TestFolderPreparation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void partsGiveTheWholeFoldersList_data();
    void partsGiveTheWholeFoldersList();
};

void TestFolderPreparation::partsGiveTheWholeFoldersList_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QStringList>("excluded");
    QTest::newRow("all") << QStringLiteral("*") << QStringList();
    QTest::newRow("mp3 without one") << QStringLiteral("*.mp3") << QStringList{QStringLiteral("titel 1*")};
}

void TestFolderPreparation::partsGiveTheWholeFoldersList()
{
    QFETCH(QString, pattern);
    QFETCH(QStringList, excluded);
    QTemporaryDir root;
    QStringList names;
    // Case and umlaut ties, digit runs, a name with a control character
    // and one that is not UTF-8 (both shown otherwise), and "ł", which has no key.
    for (int i = 0; i < 40; ++i)
        names << QStringLiteral("Titel %1.mp3").arg(i) << QStringLiteral("titel %1.MP3").arg(i * 7)
              << QStringLiteral("Äpfel %1.txt").arg(i) << QStringLiteral("łódź %1.mp3").arg(i);
    makeTree(root.path(), names);
    const QByteArray odd[] = {QFile::encodeName(root.path()) + "/Titel 5\x01.mp3",
                              QFile::encodeName(root.path()) + "/Titel 5\xfc.mp3"};
    // QTemporaryDir cannot remove what it cannot name.
    const auto removeOdd = qScopeGuard([&odd] {
        for (const QByteArray &path : odd)
            ::unlink(path.constData());
    });
    for (const QByteArray &path : odd)
        ::close(::open(path.constData(), O_CREAT | O_WRONLY, 0644));

    const auto preparation = std::make_shared<const FolderPreparation>(FolderPreparation{
        WildcardMatcher(pattern), ExcludedNames(excluded), false, {}, ListOrder::Name, false, {}, {}, false});
    const auto listed = [&](size_t partFiles) {
        WalkSettings settings;
        settings.partFiles = partFiles;
        settings.prepare = [preparation](WalkedFolder &walked) {
            if (std::optional<ListedFolder> folder = listedFolder(walked, *preparation))
                walked.prepared = std::move(*folder);
        };
        settings.partRead = [preparation](std::any &readAhead, const QString &names,
                                          const std::vector<WalkedFile> &files, size_t from) {
            prepareReadAhead(readAhead, names, files, from, preparation);
        };
        QStringList lines;
        walkFolders(
            QFile::encodeName(root.path()), settings,
            [&lines](WalkedFolder &walked) {
                for (const ListedFile &file : std::any_cast<ListedFolder &>(walked.prepared).files)
                    lines << file.name.toString() + QLatin1Char('|') + file.shown.toString();
            },
            [](const WalkFailure &) { QFAIL("the folder could not be read"); });
        return lines;
    };
    const QStringList whole = listed(std::numeric_limits<size_t>::max());
    QVERIFY(whole.size() > 40);
    QVERIFY(whole.contains(QStringLiteral("Titel 5\x01.mp3|Titel 5?.mp3")));
    QCOMPARE(listed(1), whole);
    QCOMPARE(listed(37), whole);
}

QTEST_GUILESS_MAIN(TestFolderPreparation)
#include "tst_folderpreparation.moc"
