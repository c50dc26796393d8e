// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "ui/foldericon.h"

#include <QIconEngine>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <initializer_list>

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
        painter->setPen(QPen(QColor(0x9a, 0x7a, 0x1e), 1));
        const auto drawShape = [painter](std::initializer_list<QPointF> corners, const QColor &fill) {
            painter->setBrush(fill);
            painter->drawPolygon(QPolygonF(QList<QPointF>(corners)));
        };
        // The back with its tab, then the front: lying open, or closed.
        drawShape({{1.5, 3.5}, {6, 3.5}, {7.5, 5}, {14.5, 5}, {14.5, 13.5}, {1.5, 13.5}}, QColor(0xe8, 0xc1, 0x4f));
        if (mOpen)
            drawShape({{1.5, 13.5}, {4, 7.5}, {15.5, 7.5}, {13, 13.5}}, QColor(0xfb, 0xdc, 0x7a));
        else
            drawShape({{1.5, 13.5}, {1.5, 6.5}, {14.5, 6.5}, {14.5, 13.5}}, QColor(0xfb, 0xdc, 0x7a));
        painter->restore();
    }

    // As large as asked, up to the 16 by 16 of the style's own folder
    // pictures, which the rows of the list are made for.
    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override { return size.boundedTo({16, 16}); }

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
