// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "ui/savetarget.h"

#include "core/lirabelerror.h"
#include "core/listingrun.h"
#include "core/platform.h"
#include "ui/savesettingsdialog.h"

#include <QFileInfo>

namespace Lirabel {

namespace {

// The run's lines go to the file the save opened.
class TextFileTarget : public LineTarget
{
public:
    explicit TextFileTarget(TextFileWriter &file)
        : mFile(file)
    {
    }
    void writeLine(const QString &text) override { mFile.writeLine(text); }
    void writeBlankLine() override { mFile.writeLine(QString()); }
    void finish() override { mFile.close(); }

private:
    TextFileWriter &mFile;
};

} // namespace

QString withExtension(const QString &fileName, const QString &extension)
{
    // Case-sensitive on purpose: "liste.Txt" gets ".txt" appended.
    if (fileName.endsWith(extension, Qt::CaseSensitive) || fileName.endsWith(extension.toUpper(), Qt::CaseSensitive))
        return fileName;
    return fileName + extension;
}

QString withTextExtension(const QString &fileName)
{
    return withExtension(fileName, QStringLiteral(".txt"));
}

void saveListing(SaveSettingsDialog &dialog)
{
    // A spacing that is no number is refused before anything is asked or written.
    if (!dialog.spacingTextAccepted())
        return;

    dialog.standardDialogs().fileName = QStringLiteral("DateiListe");
    dialog.standardDialogs().initialFolder = platform().program->programFolder();
    if (!dialog.standardDialogs().showSaveDialog()) {
        // Cancel: nothing is written, no file touched.
        dialog.unloadWindow();
        return;
    }
    const QString fileName = withTextExtension(dialog.standardDialogs().fileName);

    // The save-file dialog asked about the name it returned, not about the
    // one with ".txt" appended.
    if (fileName != dialog.standardDialogs().fileName && QFileInfo::exists(fileName)) {
        const bool replace = platform().messageBox->question(
            QStringLiteral("Die Datei %1 existiert bereits.\nSoll sie ersetzt werden?").arg(fileName),
            QStringLiteral("Speichern"));
        if (!replace) {
            dialog.unloadWindow();
            return;
        }
    }

    try {
        checkEntryLimit(dialog.entries());
    } catch (const ProgramEnded &) {
        return;
    }

    std::unique_ptr<TextFileWriter> file;
    try {
        file = platform().textFiles->openForOutput(fileName);
        TextFileTarget target(*file);
        RunState run;
        runListing(run, dialog.runSettings(), dialog.entries(), target);
    } catch (const LirabelError &error) {
        // The file is written atomically: dropping it leaves whatever stood
        // under that name before, and no partial file.
        if (file)
            file->discard();
        showErrorBox(QStringLiteral("Datei kann nicht gespeichert werden !\n%1").arg(error.message()),
                     QStringLiteral("Speicherfehler"));
    }
    dialog.unloadWindow();
}

} // namespace Lirabel
