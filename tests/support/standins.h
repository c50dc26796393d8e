// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// Stand-ins for the platform services, for tests: they record what the
// program asked and answer from queues the test fills beforehand.

#include "core/platform.h"
#include "ui/qttextfiles.h"

#include <QQueue>
#include <QSet>
#include <QStringList>

#include <functional>

namespace Lirabel {

class StandInMessageBox : public MessageBoxService
{
public:
    struct Shown
    {
        QString kind; // "critical" or "question"
        QString text;
        QString title;
    };
    QList<Shown> shown;
    QQueue<bool> questionAnswers; // empty: "Ja"
    // Runs while a box is open, as the event loop of a real modal box does.
    std::function<void()> whileOpen;

    int critical(const QString &text, const QString &title) override;
    bool question(const QString &text, const QString &title) override;
};

class StandInProgram : public ProgramService
{
public:
    QString folder;
    int endRequests = 0;

    QString programFolder() const override { return folder; }
    void endProgram() override { ++endRequests; }
};

class StandInVolumes : public VolumeService
{
public:
    QList<Volume> volumes;
    QSet<QString> notReady; // paths below any of these cannot be read

    QList<Volume> mountedVolumes() const override { return volumes; }
    bool isReadable(const QString &path) const override;
};

class StandInDialogs : public DialogService
{
public:
    // Answers, taken in order; an empty queue or an empty optional is Cancel.
    QQueue<std::optional<QString>> saveAnswers;
    QQueue<std::optional<FontChoice>> fontAnswers;
    QQueue<bool> printerAnswers;

    struct SaveRequest
    {
        QString initialFolder;
        QString fileName;
        int maxLength = 0;
    };
    struct FontRequest
    {
        QString name;
        float size = 0;
        int flags = 0;
        int minSize = 0;
        int maxSize = 0;
    };
    QList<SaveRequest> saveRequests;
    QList<FontRequest> fontRequests;
    QList<int> printerRequests; // the flags of each

    std::optional<QString> saveFileName(const QString &initialFolder, const QString &fileName, int maxLength) override;
    std::optional<FontChoice> chooseFont(const QString &name, float size, int flags, int minSize, int maxSize) override;
    bool choosePrinter(int flags) override;
};

// Records the printed lines of each document; a blank line is recorded as "".
class StandInPrinter : public PrinterService
{
public:
    QString name;
    float size = 0;
    QStringList lines;        // of the document in progress
    QList<QStringList> ended; // documents ended with endDoc
    int aborted = 0;
    int failAtLine = -1; // printLine raises when this many lines stand in the document

    void setFontName(const QString &n) override { name = n; }
    void setFontSize(float points) override { size = points; }
    QString fontName() const override { return name; }
    float fontSize() const override { return size; }
    void printLine(const QString &text) override;
    void printBlankLine() override { printLine(QString()); }
    void endDoc() override;
    void abortDoc() override;
};

class StandInWindow : public ProgramWindow
{
public:
    bool visible = false;
    int showCalls = 0;
    bool unloaded = false;

    void showWindow() override
    {
        visible = true;
        ++showCalls;
    }
    void hideWindow() override { visible = false; }
    void unloadWindow() override
    {
        unloaded = true;
        visible = false;
    }
    void setWindowVisible(bool v) override { visible = v; }
};

// Installs every stand-in (and the real text files) for its lifetime and puts
// back what was installed before.
class StandInPlatform
{
public:
    StandInPlatform();
    ~StandInPlatform();
    StandInPlatform(const StandInPlatform &) = delete;
    StandInPlatform &operator=(const StandInPlatform &) = delete;

    StandInMessageBox messageBox;
    StandInProgram program;
    StandInVolumes volumes;
    StandInDialogs dialogs;
    StandInPrinter printer;
    QtTextFiles textFiles;

private:
    Platform mPrevious;
};

} // namespace Lirabel
