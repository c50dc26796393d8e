// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

// The services the program needs of its platform, as one set of small
// interfaces. Program code reaches them only through platform(); the program
// installs the Qt implementations at start, tests install the stand-ins of
// standins.h. Every modal question goes through here, so a test can answer it.

#include <QList>
#include <QObject>
#include <QString>

#include <memory>
#include <optional>

namespace Lirabel {

// Program windows: show (non-modal), hide (stays loaded), unload (destroys the
// instance, runs its unload handler), set visible.
class ProgramWindow
{
public:
    virtual ~ProgramWindow() = default;
    virtual void showWindow() = 0;
    virtual void hideWindow() = 0;
    virtual void unloadWindow() = 0;
    virtual void setWindowVisible(bool visible) = 0;
};

// A drive: a mounted file system a person browses.
struct Volume
{
    QString mountPoint;
    QString label;

    // The text the drive list shows: the mount point, then " [label]" if any.
    [[nodiscard]] QString driveText() const;

    friend bool operator==(const Volume &, const Volume &) = default;
};

// The mounted volumes. Neither call may hang on a mount that does not answer.
class VolumeService : public QObject
{
    Q_OBJECT

public:
    [[nodiscard]] virtual QList<Volume> mountedVolumes() const = 0;
    // A drive is ready when the path can be read (listed). Asked to the
    // deadline, so it may take that long: the window asks on a worker.
    [[nodiscard]] virtual bool isReadable(const QString &path) const = 0;

Q_SIGNALS:
    // A file system was mounted or unmounted: mountedVolumes() has changed.
    void volumesChanged();
};

class MessageBoxService
{
public:
    virtual ~MessageBoxService() = default;
    static constexpr int ButtonOk = 1;
    // Modal box with a critical icon and one OK button; returns the button code.
    virtual int critical(const QString &text, const QString &title) = 0;
    // Modal question with "Ja" and "Nein"; true for "Ja".
    [[nodiscard]] virtual bool question(const QString &text, const QString &title) = 0;
};

class ProgramService
{
public:
    virtual ~ProgramService() = default;
    // The folder that holds the program's executable.
    [[nodiscard]] virtual QString programFolder() const = 0;
    // Stops the program at once, without unload handlers. The real one never returns.
    virtual void endProgram() = 0;
};

struct FontChoice
{
    QString name;
    float size = 0;
};

// The modal dialogs behind StandardDialogs. Each returns nothing when the user cancels.
class DialogService
{
public:
    virtual ~DialogService() = default;
    [[nodiscard]] virtual std::optional<QString> saveFileName(const QString &initialFolder, const QString &fileName,
                                                              int maxLength) = 0;
    [[nodiscard]] virtual std::optional<FontChoice> chooseFont(const QString &name, float size, int flags, int minSize,
                                                               int maxSize) = 0;
    // Lets the user pick the print queue that receives the next document.
    [[nodiscard]] virtual bool choosePrinter(int flags) = 0;
    // An existing file the user picks, starting in initialFolder; nothing
    // when cancelled. Only the lists' comparison asks: a platform without
    // it answers as cancelled.
    [[nodiscard]] virtual std::optional<QString> openFileName(const QString &initialFolder, const QString &title)
    {
        Q_UNUSED(initialFolder)
        Q_UNUSED(title)
        return std::nullopt;
    }
};

// The printer: one for the life of the program, so its font stays as set.
// Failures rise as LirabelError.
class PrinterService
{
public:
    virtual ~PrinterService() = default;
    virtual void setFontName(const QString &name) = 0;
    virtual void setFontSize(float points) = 0;
    [[nodiscard]] virtual QString fontName() const = 0;
    [[nodiscard]] virtual float fontSize() const = 0;
    virtual void printLine(const QString &text) = 0;
    virtual void printBlankLine() = 0;
    // Ends the document and releases the job.
    virtual void endDoc() = 0;
    // Drops a started document, so nothing half-printed stays queued.
    virtual void abortDoc() = 0;
};

// One text file being written. Failures rise as LirabelError.
class TextFileWriter
{
public:
    // Left without close(), the file is dropped as by discard().
    virtual ~TextFileWriter() = default;
    // Writes the text and CR LF.
    virtual void writeLine(const QString &text) = 0;
    // The file becomes visible complete, or not at all.
    virtual void close() = 0;
    // Drops the file without touching what stood on disk before.
    virtual void discard() = 0;
};

// Sequential text files. Failures rise as LirabelError.
class TextFileService
{
public:
    virtual ~TextFileService() = default;
    // Opens for output: the file will hold only what is written to the writer.
    [[nodiscard]] virtual std::unique_ptr<TextFileWriter> openForOutput(const QString &path) = 0;
};

struct Platform
{
    MessageBoxService *messageBox = nullptr;
    ProgramService *program = nullptr;
    VolumeService *volumes = nullptr;
    DialogService *dialogs = nullptr;
    PrinterService *printer = nullptr;
    TextFileService *textFiles = nullptr;
};

// The installed services. The services themselves are owned by whoever installed them.
[[nodiscard]] Platform &platform();
void installPlatform(const Platform &services);

// How every message reaches the user: the modal box with the critical icon
// and one OK button; returns once it is closed.
void showErrorBox(const QString &text, const QString &title);

} // namespace Lirabel
