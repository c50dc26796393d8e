#pragma once

#include "platform/platform.h"

namespace Lirabel {

// The one printer of the program.
class QtPrinter : public PrinterService
{
public:
    void setFontName(const QString &name) override { mFontName = name; }
    void setFontSize(float points) override { mFontSize = points; }
    QString fontName() const override { return mFontName; }
    float fontSize() const override { return mFontSize; }
    void printLine(const QString &text) override;
    void printBlankLine() override;
    void endDoc() override;
    void abortDoc() override;

private:
    QString mFontName;
    float mFontSize = 0;
};

} // namespace Lirabel
