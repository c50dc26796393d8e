#include "platform/qt/qtdialogs.h"

#include <QApplication>
#include <QFileDialog>

namespace Lirabel {

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
    dialog.setDirectory(initDir);
    dialog.selectFile(fileName);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen.constFirst();
}

} // namespace Lirabel
