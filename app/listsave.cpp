// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "app/listsave.h"

#include "app/applicationsetup.h"
#include "core/platform.h"
#include "lists/listcommand.h"
#include "paper/papercommand.h"
#include "ui/qtplatform.h"
#include "ui/savetarget.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <cstring>
#include <utility>

namespace Lirabel {

namespace {

// As many folders as a message box shows on a screen; the rest are counted.
constexpr qsizetype ShownLeftOut = 15;

} // namespace

bool hasDisplay(int argc, char **argv)
{
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        if (!qEnvironmentVariableIsEmpty(name))
            return true;
    }
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0
            || std::strncmp(argv[i], "-platform=", 10) == 0 || std::strncmp(argv[i], "--platform=", 11) == 0)
            return true;
    }
    return false;
}

namespace {

// Gathers the messages for the boxes shown once the list is written.
class MessageBoxReport : public ListReport
{
public:
    void leftOut(const QString &message) override { mLeftOut.append(message); }
    // Several ORDNER that could not be read each say why.
    void notWritten(const QString &message) override
    {
        mNotWritten += (mNotWritten.isEmpty() ? QString() : QStringLiteral("\n")) + message;
    }

    void show() const
    {
        MessageBoxService &box = *platform().messageBox;
        if (!mNotWritten.isEmpty()) {
            box.critical(mNotWritten, QStringLiteral("Speicherfehler"));
            return;
        }
        if (mLeftOut.isEmpty())
            return;
        QString text = QStringLiteral("Die Liste ist gespeichert, aber nicht alles war lesbar:\n")
            + mLeftOut.first(std::min(mLeftOut.size(), ShownLeftOut)).join(QLatin1Char('\n'));
        if (mLeftOut.size() > ShownLeftOut)
            text += QStringLiteral("\n… und %1 weitere").arg(mLeftOut.size() - ShownLeftOut);
        box.critical(text, QStringLiteral("Dateiliste speichern"));
    }

private:
    QStringList mLeftOut;
    QString mNotWritten;
};

// The chosen file's name, or nothing when the user cancels.
std::optional<QString> askForFile(const QString &folder, ListFormat format, const QString &proposed)
{
    const std::optional<QString> chosen = platform().dialogs->saveFileName(folder, proposed, 260);
    if (!chosen)
        return std::nullopt;
    const QString file = withExtension(*chosen, listExtension(format));
    // The dialog asked about the name it returned, not about the one with
    // the extension added.
    if (file != *chosen && QFileInfo::exists(file)
        && !platform().messageBox->question(
            QStringLiteral("Die Datei %1 existiert bereits.\nSoll sie ersetzt werden?").arg(file),
            QStringLiteral("Speichern")))
        return std::nullopt;
    return file;
}

} // namespace

QString listExtension(ListFormat format)
{
    switch (format) {
    case ListFormat::Text:
        break;
    case ListFormat::Csv:
        return QStringLiteral(".csv");
    case ListFormat::Html:
        return QStringLiteral(".html");
    case ListFormat::M3u:
        return QStringLiteral(".m3u");
    case ListFormat::Json:
        return QStringLiteral(".json");
    case ListFormat::Jsonl:
        return QStringLiteral(".jsonl");
    case ListFormat::Markdown:
        return QStringLiteral(".md");
    case ListFormat::Sha256:
        return QStringLiteral(".sha256");
    case ListFormat::Pdf:
        return QStringLiteral(".pdf");
    }
    return QStringLiteral(".txt");
}

QString proposedListName(const QString &absoluteFolder, ListFormat format)
{
    const QString name = QFileInfo(QDir::cleanPath(absoluteFolder)).fileName();
    return (name.isEmpty() ? QStringLiteral("DateiListe") : name) + listExtension(format);
}

int saveListWithDialog(ListRequest request, int &argc, char **argv)
{
    if (!hasDisplay(argc, argv)) {
        std::fputs("lirabel: --speichern braucht eine Anzeige für den Dialog „Speichern unter“; DISPLAY und "
                   "WAYLAND_DISPLAY sind leer.\n",
                   stderr);
        return 1;
    }
    QApplication app(argc, argv);
    setUpApplication(app);
    QtPlatform platform;
    return leaveProgram(saveListAsked(std::move(request)));
}

int saveListAsked(ListRequest request)
{
    // Named after the first ORDNER, and offered in it.
    const QString folder = QDir::cleanPath(QFileInfo(QFile::decodeName(request.folders.front())).absoluteFilePath());
    QString proposed = proposedListName(folder, request.format);
    if (request.compareWith) {
        // The saved list first; the result gets a name of its own, so it
        // never replaces the list it was compared with by a slip.
        if (request.compareWith->isEmpty()) {
            const std::optional<QString> saved =
                platform().dialogs->openFileName(folder, QStringLiteral("Mit gespeicherter Liste vergleichen"));
            if (!saved)
                return 1; // cancelled: nothing compared, nothing written
            request.compareWith = QFile::encodeName(*saved);
        }
        proposed = QStringLiteral("Vergleich ") + proposed;
    }
    const std::optional<QString> file = askForFile(folder, request.format, proposed);
    if (!file)
        return 1; // cancelled: nothing written
    request.output = QFile::encodeName(*file);
    MessageBoxReport report;
    const int exitCode = runListCommand(request, report, paperWriters());
    report.show();
    return exitCode;
}

} // namespace Lirabel
