#pragma once

#include "platform/platform.h"

#include <QMainWindow>

namespace Lirabel {

// The main window: drive, folder and file lists, the filter, the two outputs.
class PrintDir : public QMainWindow, public ProgramWindow
{
    Q_OBJECT

public:
    explicit PrintDir(QWidget *parent = nullptr);
    ~PrintDir() override;

    void showWindow() override;
    void hideWindow() override;
    void unloadWindow() override;
    void setWindowVisible(bool visible) override;
};

} // namespace Lirabel
