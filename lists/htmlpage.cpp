// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "lists/htmlpage.h"

#include <QCryptographicHash>
#include <QFile>

#include <algorithm>

namespace Lirabel {

namespace {

QByteArray resource(const char *name)
{
    QFile file(QStringLiteral(":/lists/page/") + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("The page's resource %s is missing from the program", name);
    return file.readAll();
}

// The two files in one function, so their names stay out of the page's
// global scope.
const QByteArray &pageScript()
{
    static const QByteArray script = "(function () {\n" + resource("listdata.js") + resource("listpage.js") + "}());\n";
    return script;
}

const QByteArray &pageStyle()
{
    static const QByteArray style = resource("listpage.css");
    return style;
}

QByteArray hashSource(const QByteArray &text)
{
    return "'sha256-" + QCryptographicHash::hash(text, QCryptographicHash::Sha256).toBase64() + '\'';
}

} // namespace

QByteArray htmlPageStart(const QString &title)
{
    const QByteArray escaped = title.toHtmlEscaped().toUtf8();
    return "<!DOCTYPE html>\n<html lang=\"de\">\n<head>\n<meta charset=\"utf-8\">\n"
           "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; script-src "
        + hashSource(pageScript()) + "; style-src " + hashSource(pageStyle())
        + "; base-uri 'none'; form-action 'none'\">\n"
          "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>"
        + escaped + "</title>\n<style>" + pageStyle() + "</style>\n</head>\n<body>\n<h1>" + escaped + "</h1>\n";
}

QByteArray htmlPageScript()
{
    return "<script>" + pageScript() + "</script>\n";
}

void appendJsonText(QString &json, QStringView text)
{
    json.append(QLatin1Char('"'));
    // Nearly every name needs no escape.
    if (std::none_of(text.cbegin(), text.cend(), [](QChar c) {
            const char16_t u = c.unicode();
            return u < 0x20 || u == u'"' || u == u'\\' || u == u'<';
        })) {
        json.append(text).append(QLatin1Char('"'));
        return;
    }
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'"' || u == u'\\') {
            json.append(QLatin1Char('\\')).append(c);
        } else if (u < 0x20 || u == u'<') {
            json.append(QStringLiteral("\\u%1").arg(int(u), 4, 16, QLatin1Char('0')));
        } else {
            json.append(c);
        }
    }
    json.append(QLatin1Char('"'));
}

} // namespace Lirabel
