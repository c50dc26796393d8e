#pragma once

#include <QApplication>
#include <QTimer>

#include <functional>

// Calls act once with the modal dialog of type T as soon as one is open, so a
// test can answer a real Qt dialog that runs its own event loop. The watch
// ends with its owner.
template<typename T>
void whenModal(QObject *owner, std::function<void(T *)> act)
{
    auto *timer = new QTimer(owner);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, owner, [timer, act] {
        if (auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget())) {
            timer->stop();
            act(dialog);
        }
    });
    timer->start();
}
