// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

ListSource::ListSource(QStringList names)
    : mNames(std::move(names))
{
}

qsizetype ListSource::count() const
{
    return mNames.size();
}

QString ListSource::entry(qsizetype position) const
{
    return mNames.at(position);
}

CountingSource::CountingSource(qsizetype n)
    : mCount(n)
{
}

qsizetype CountingSource::count() const
{
    return mCount;
}

QString CountingSource::entry(qsizetype position) const
{
    return QStringLiteral("f%1.txt").arg(position + 1);
}

QStringList entriesOf(const Lirabel::EntrySource &source)
{
    QStringList list;
    for (qsizetype i = 0; i < source.count(); ++i)
        list.append(source.entry(i));
    return list;
}

void touch(const QString &path)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
}

void makeTree(const QString &root, const QStringList &paths)
{
    const QDir dir(root);
    for (const QString &path : paths) {
        const QString full = dir.filePath(path);
        if (path.endsWith(QLatin1Char('/'))) {
            QVERIFY2(QDir().mkpath(full), qPrintable(full));
        } else {
            QVERIFY2(QDir().mkpath(QFileInfo(full).path()), qPrintable(full));
            touch(full);
        }
    }
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY2(f.open(QIODevice::WriteOnly), qPrintable(path));
    QCOMPARE(f.write(bytes), bytes.size());
}

QByteArray contents(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return "<missing>";
    return f.readAll();
}

QStringList allIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}
