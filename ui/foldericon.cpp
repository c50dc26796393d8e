// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "ui/foldericon.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>

namespace Lirabel {

namespace {

class FolderIconEngine : public QIconEngine
{
public:
    explicit FolderIconEngine(bool open)
        : mOpen(open)
    {
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode, QIcon::State) override
    {
        // Drawn on a grid of 16 by 16, scaled to the rectangle asked for.
        const qreal side = std::min(rect.width(), rect.height());
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->translate(rect.x() + (rect.width() - side) / 2, rect.y() + (rect.height() - side) / 2);
        painter->scale(side / 16, side / 16);
        const QColor outline(0x9a, 0x7a, 0x1e);
        painter->setPen(QPen(outline, 1));

        QPainterPath back;
        back.moveTo(1.5, 3.5);
        back.lineTo(6, 3.5);
        back.lineTo(7.5, 5);
        back.lineTo(14.5, 5);
        back.lineTo(14.5, 13.5);
        back.lineTo(1.5, 13.5);
        back.closeSubpath();
        painter->setBrush(QColor(0xe8, 0xc1, 0x4f));
        painter->drawPath(back);

        QPainterPath front;
        if (mOpen) {
            front.moveTo(1.5, 13.5);
            front.lineTo(4, 7.5);
            front.lineTo(15.5, 7.5);
            front.lineTo(13, 13.5);
        } else {
            front.moveTo(1.5, 13.5);
            front.lineTo(1.5, 6.5);
            front.lineTo(14.5, 6.5);
            front.lineTo(14.5, 13.5);
        }
        front.closeSubpath();
        painter->setBrush(QColor(0xfb, 0xdc, 0x7a));
        painter->drawPath(front);
        painter->restore();
    }

    QIconEngine *clone() const override { return new FolderIconEngine(mOpen); }

private:
    bool mOpen;
};

} // namespace

QIcon folderIcon(bool open)
{
    return QIcon(new FolderIconEngine(open));
}

} // namespace Lirabel
