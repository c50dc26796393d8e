// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "widgetsupport.h"

#include "app/mainwindow.h"
#include "ui/folderlistview.h"

#include <QTest>

QStringList rowsOf(const Lirabel::FolderListView &list)
{
    QStringList rows;
    for (int row = 0; row < list.model()->rowCount(); ++row)
        rows.append(list.model()->index(row, 0).data().toString());
    return rows;
}

PdfPrinter::PdfPrinter(const QString &pdfPath)
    : mPrevious(Lirabel::platform())
{
    printer().setOutputFileName(pdfPath);
    Lirabel::Platform services = mPrevious;
    services.printer = this;
    Lirabel::installPlatform(services);
}

PdfPrinter::~PdfPrinter()
{
    Lirabel::installPlatform(mPrevious);
}

bool settled(const Lirabel::MainWindow &window)
{
    return QTest::qWaitFor([&window] { return !window.isLoading(); }, 5000);
}
