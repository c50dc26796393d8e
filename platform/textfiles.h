#pragma once

#include "platform/platform.h"

#include <QSaveFile>

#include <map>
#include <memory>

namespace Lirabel {

// Text files written atomically: a file appears under its name only when it
// has been closed complete, so a failure never leaves a partial file or harms
// the one that stood there before. UTF-8 without byte-order mark, CR LF.
class QtTextFiles : public TextFileService
{
public:
    QtTextFiles();
    ~QtTextFiles() override;

    int freeFile() override;
    void openForOutput(int fileNumber, const QString &path) override;
    void writeLine(int fileNumber, const QString &text) override;
    void closeAll() override;
    void discardAll() override;

private:
    QSaveFile &file(int fileNumber);

    std::map<int, std::unique_ptr<QSaveFile>> mOpen;
};

} // namespace Lirabel
