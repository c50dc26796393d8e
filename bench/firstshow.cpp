// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

// Linked into the start-up builds of the program and of the minimal Qt
// program, beside their own main(): when the application object is created
// it starts watching, and once the first window is on the screen (exposed,
// and its first paint done) and its file list has its files, it writes how
// many rows the file list shows ("rows -1" without one) and ends the process
// at once. The bench times the
// process from its start to that end.

#include <QAbstractItemView>
#include <QApplication>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <unistd.h>

namespace {

QAbstractItemView *fileList()
{
    for (QWidget *widget : QApplication::allWidgets()) {
        auto *view = qobject_cast<QAbstractItemView *>(widget);
        if (view && view->objectName() == QLatin1String("File1") && view->model())
            return view;
    }
    return nullptr;
}

[[noreturn]] void reportAndEnd(int rows)
{
    std::printf("rows %d\n", rows);
    std::fflush(stdout);
    _exit(0);
}

// The program's window reads its folder in the background and shows it
// before the files are there: it counts as shown once its file list has
// its files. The folders the bench starts in are never empty.
void reportWhenFilled()
{
    QAbstractItemView *view = fileList();
    if (!view)
        reportAndEnd(-1);
    QAbstractItemModel *model = view->model();
    const auto check = [model] {
        if (model->rowCount() > 0)
            reportAndEnd(model->rowCount());
    };
    check();
    // A folder that turned out empty after all ends the wait, late.
    QTimer::singleShot(30000, model, [model] { reportAndEnd(model->rowCount()); });
    QObject::connect(model, &QAbstractItemModel::modelReset, model, check);
    QObject::connect(model, &QAbstractItemModel::rowsInserted, model, check);
    QObject::connect(model, &QAbstractItemModel::layoutChanged, model, check);
}

class FirstShow : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!mSeen && event->type() == QEvent::Expose) {
            const auto *window = qobject_cast<QWindow *>(watched);
            if (window && window->isExposed()) {
                mSeen = true;
                // The expose paints the window; the next turn of the event
                // loop comes after that.
                QTimer::singleShot(0, this, &reportWhenFilled);
            }
        }
        return false;
    }

private:
    bool mSeen = false;
};

void watchFirstShow()
{
    QCoreApplication::instance()->installEventFilter(new FirstShow(QCoreApplication::instance()));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(watchFirstShow)
