#include "platform/qt/qtdialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

namespace Lirabel {

namespace {

// The folder asked for where the user may write there. Otherwise, as for the
// program's own folder once it is installed (/usr/bin), the user's documents
// folder, or the home folder where there is none: a dialog that opens where
// nothing can be saved would fail on the name it offers.
QString saveDialogFolder(const QString &initDir)
{
    const QFileInfo asked(initDir);
    if (asked.isDir() && asked.isWritable())
        return initDir;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return documents;
    return QDir::homePath();
}

} // namespace

std::optional<QString> QtDialogs::saveFileName(const QString &initDir, const QString &fileName, int)
{
    // Qt's own dialog rather than the desktop's, so that it speaks German
    // with the rest of the program whatever the desktop's language. Its
    // default title, its default "every file" filter, no default extension,
    // and its question before an existing file is replaced.
    QFileDialog dialog(QApplication::activeWindow());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDirectory(saveDialogFolder(initDir));
    dialog.selectFile(fileName);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen.constFirst();
}

} // namespace Lirabel
