// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// Helpers the tests share that need nothing but the core library: entries
// held in memory, and files made and read back byte for byte.

#include "core/entrysource.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// The given names, in the given order.
class ListSource : public Lirabel::EntrySource
{
public:
    explicit ListSource(QStringList names);
    qsizetype count() const override;
    QString entry(qsizetype position) const override;

private:
    QStringList mNames;
};

// Any number of entries "f1.txt", "f2.txt"... without holding their names.
class CountingSource : public Lirabel::EntrySource
{
public:
    explicit CountingSource(qsizetype n);
    qsizetype count() const override;
    QString entry(qsizetype position) const override;

private:
    qsizetype mCount;
};

// All the entries of a source, in order.
QStringList entriesOf(const Lirabel::EntrySource &source);

// An empty file; fails the test when it cannot be made.
void touch(const QString &path);

// Below root, a folder for each path ending in '/' and an empty file for
// every other path, with the folders above them.
void makeTree(const QString &root, const QStringList &paths);

// A file holding exactly these bytes; fails the test when it cannot be written.
void writeFile(const QString &path, const QByteArray &bytes);

// The bytes of a file, or "<missing>" when it cannot be read.
QByteArray contents(const QString &path);

// Everything in a folder, hidden files (a save's temporary file) included, by name.
QStringList allIn(const QString &folder);
