// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

// The floor for any Qt Widgets program: an empty main window of Lirabel's
// size, shown. Built a second time with LIRABEL_MINIMAL_TEXT, the window shows
// one line of text, which costs the font set-up any program with text pays.

#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
#ifdef LIRABEL_MINIMAL_TEXT
    window.setCentralWidget(new QLabel(QStringLiteral("Lirabel"), &window));
#endif
    window.resize(609, 562);
    window.show();
    return app.exec();
}
