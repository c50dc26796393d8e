// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "ui/widgetwindow.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QEvent>
#include <QLayout>
#include <QPointer>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <chrono>

#include <vector>

namespace Lirabel {

namespace {

std::vector<QPointer<QWidget>> &loadedWindows()
{
    static std::vector<QPointer<QWidget>> windows;
    return windows;
}

} // namespace

void windowLoaded(QWidget *window)
{
    loadedWindows().emplace_back(window);
}

void windowUnloaded(QWidget *window)
{
    std::erase_if(loadedWindows(), [window](const QPointer<QWidget> &loaded) { return !loaded || loaded == window; });
}

QWidget *windowOnTop()
{
    std::vector<QPointer<QWidget>> &windows = loadedWindows();
    std::erase_if(windows, [](const QPointer<QWidget> &loaded) { return loaded.isNull(); });
    return windows.empty() ? nullptr : windows.back().data();
}

QRect fromTwips(int left, int top, int width, int height)
{
    return {pixelsFromTwips(left), pixelsFromTwips(top), pixelsFromTwips(width), pixelsFromTwips(height)};
}

namespace {

QRect scaled(const QRect &rect, qreal factor)
{
    return {qRound(rect.x() * factor), qRound(rect.y() * factor), qRound(rect.width() * factor),
            qRound(rect.height() * factor)};
}

QFont scaled(QFont font, qreal factor)
{
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * factor);
    else
        font.setPixelSize(std::max(1, qRound(font.pixelSize() * factor)));
    return font;
}

// The width a check box's or option button's caption needs with its box.
int captionRoomNeeded(const QAbstractButton &button)
{
    const bool option = qobject_cast<const QRadioButton *>(&button);
    const bool check = qobject_cast<const QCheckBox *>(&button);
    if (!option && !check)
        return 0;
    QStyleOptionButton styleOption;
    styleOption.initFrom(&button);
    const QStyle *style = button.style();
    const int box = option ? style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, &styleOption, &button)
            + style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, &styleOption, &button)
                           : style->pixelMetric(QStyle::PM_IndicatorWidth, &styleOption, &button)
            + style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &styleOption, &button);
    return box + button.fontMetrics().horizontalAdvance(QString(button.text()).remove(QLatin1Char('&')));
}

// The window's controls are placed by coordinates, as the layout was drawn:
// each of them, its font and every fixed size shrink by the same factor, so
// the window keeps its look, only smaller.
void shrink(QWidget &window, qreal factor)
{
    const QList<QWidget *> children = window.findChildren<QWidget *>();
    for (QWidget *child : children) {
        if (child->isWindow())
            continue;
        if (child->testAttribute(Qt::WA_SetFont))
            child->setFont(scaled(child->font(), factor));
        if (child->minimumSize() == child->maximumSize() && child->minimumWidth() > 0)
            child->setFixedSize(scaled(QRect(QPoint(), child->minimumSize()), factor).size());
        const QWidget *parent = child->parentWidget();
        if (parent && !parent->layout())
            child->setGeometry(scaled(child->geometry(), factor));
    }
    window.setFont(scaled(window.font(), factor));
    if (window.minimumSize() == window.maximumSize() && !window.layout())
        window.setFixedSize(scaled(QRect(QPoint(), window.minimumSize()), factor).size());
    // What the style draws at a fixed size (the box of a check box, a
    // list's icons) does not shrink with the font: icons are made smaller,
    // and a caption that no longer fits beside its box gets a smaller font
    // of its own, so every caption stays whole.
    for (QWidget *child : children) {
        if (auto *view = qobject_cast<QAbstractItemView *>(child)) {
            const int icon = view->style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, view);
            const QSize size = view->iconSize().isValid() ? view->iconSize() : QSize(icon, icon);
            view->setIconSize(scaled(QRect(QPoint(), size), factor).size());
        } else if (auto *button = qobject_cast<QAbstractButton *>(child)) {
            for (int step = 0; step < 8 && captionRoomNeeded(*button) > button->width(); ++step)
                button->setFont(scaled(button->font(), 0.95));
        }
    }
    window.adjustSize();
}

QRect keptInside(QRect frame, const QRect &available)
{
    frame.moveTop(std::max(available.top(), std::min(frame.top(), available.bottom() + 1 - frame.height())));
    frame.moveLeft(std::max(available.left(), std::min(frame.left(), available.right() + 1 - frame.width())));
    return frame;
}

// The window manager frames a new window after it is shown and may place it
// where its title bar is off the screen; once the frame is known, the window
// is moved back inside, once. A window the user moves later stays where it is.
class FramedOnScreen : public QObject
{
public:
    explicit FramedOnScreen(QWidget &window)
        : QObject(&window)
        , mWindow(window)
    {
        window.installEventFilter(this);
        QTimer::singleShot(std::chrono::seconds(2), this, [this] { deleteLater(); });
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        Q_UNUSED(event);
        if (watched == &mWindow && mWindow.frameGeometry() != mWindow.geometry() && mWindow.screen()) {
            const QRect frame = mWindow.frameGeometry();
            const QRect inside = keptInside(frame, mWindow.screen()->availableGeometry());
            mWindow.removeEventFilter(this);
            if (inside != frame)
                mWindow.move(inside.topLeft());
            deleteLater();
        }
        return false;
    }

private:
    QWidget &mWindow;
};

} // namespace

void centreOnScreen(QWidget &window)
{
    const QScreen *screen = window.screen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    // The window manager's frame; before it has framed the window for the
    // first time it is not known, and a title bar's height is kept free.
    QSize frameSize = window.frameGeometry().size() - window.geometry().size();
    if (frameSize.height() <= 0) {
        const int border = window.style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, &window);
        frameSize = QSize(2 * border, window.style()->pixelMetric(QStyle::PM_TitleBarHeight) + border);
    }
    const QSize size = window.size().expandedTo(window.sizeHint());
    const qreal factor = std::min({1.0, qreal(available.width() - frameSize.width()) / size.width(),
                                   qreal(available.height() - frameSize.height()) / size.height()});
    if (factor < 1.0 && factor > 0.0)
        shrink(window, factor);

    QRect frame(window.pos(), window.size() + frameSize);
    frame.moveCenter(available.center());
    window.move(keptInside(frame, available).topLeft());
    if (window.frameGeometry() == window.geometry())
        new FramedOnScreen(window);
}

} // namespace Lirabel
