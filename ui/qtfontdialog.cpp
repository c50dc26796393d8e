// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "core/standarddialogs.h"
#include "ui/qtdialogs.h"
#include "ui/widgetwindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontDialog>
#include <QFontInfo>
#include <QGroupBox>
#include <QMessageBox>

namespace Lirabel {

namespace {

// Qt's font dialog that, when sizes are limited, keeps itself open on a size
// outside the limits.
class LimitedFontDialog : public QFontDialog
{
public:
    LimitedFontDialog(const QFont &initial, int minSize, int maxSize, bool limited, QWidget *parent)
        : QFontDialog(initial, parent)
        , mMin(minSize)
        , mMax(maxSize)
        , mLimited(limited)
    {
    }

    void done(int result) override
    {
        if (result == Accepted && mLimited) {
            const qreal size = currentFont().pointSizeF();
            if (size < mMin || size > mMax) {
                QMessageBox::warning(
                    this, QStringLiteral("Eingabefehler"),
                    QStringLiteral("Bitte eine Schriftgröße von %1 bis %2 Punkt wählen !").arg(mMin).arg(mMax));
                return;
            }
        }
        QFontDialog::done(result);
    }

private:
    int mMin;
    int mMax;
    bool mLimited;
};

} // namespace

std::optional<FontChoice> QtDialogs::chooseFont(const QString &name, float size, int flags, int minSize, int maxSize)
{
    // Qt's dialog lists real families only and would silently select another
    // one for a name such as "Times New Roman": open it on the family the name
    // resolves to.
    QFont requested(name);
    if (size > 0)
        requested.setPointSizeF(size);
    QFont initial(QFontInfo(requested).family());
    initial.setPointSizeF(requested.pointSizeF());

    LimitedFontDialog dialog(initial, minSize, maxSize, (flags & StandardDialogs::FontLimitSize) != 0, windowOnTop());
    dialog.setObjectName(QStringLiteral("FontDialog"));
    // The Qt dialog, not a desktop one: it speaks German and keeps the size limits.
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    // Only name and size reach the printer, so effects are not offered.
    // The sample line edit ignores its size hint and takes the height of the
    // rows its box shares with the effects box: the effects' place is kept, or
    // the sample shrinks to nothing.
    for (QGroupBox *group : dialog.findChildren<QGroupBox *>()) {
        if (!group->findChildren<QCheckBox *>().isEmpty()) {
            QSizePolicy policy = group->sizePolicy();
            policy.setRetainSizeWhenHidden(true);
            group->setSizePolicy(policy);
            group->hide();
        }
    }
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QFont chosen = dialog.selectedFont();
    return FontChoice{chosen.family(), float(chosen.pointSizeF())};
}

} // namespace Lirabel
