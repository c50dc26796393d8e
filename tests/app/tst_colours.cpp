// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "app/applicationsetup.h"
#include "app/mainwindow.h"
#include "standins.h"
#include "ui/systemcolour.h"
#include "widgetsupport.h"

#include <QApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cmath>

using namespace Lirabel;

namespace {

// A colour scheme as desktops set it: a disabled field is a darker shade of
// an ordinary one, not the window's background.
QPalette scheme(QColor window, QColor text, QColor base, QColor highlightedText, QColor disabledBase,
                QColor disabledText)
{
    QPalette palette;
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const bool disabled = group == QPalette::Disabled;
        palette.setColor(group, QPalette::Window, window);
        palette.setColor(group, QPalette::Button, window);
        palette.setColor(group, QPalette::Base, disabled ? disabledBase : base);
        palette.setColor(group, QPalette::Highlight, QColor(0x3d, 0xae, 0xe9));
        palette.setColor(group, QPalette::HighlightedText, highlightedText);
        for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            palette.setColor(group, role, disabled ? disabledText : text);
    }
    return palette;
}

// Values of KDE's Breeze and Breeze Dark.
QPalette light()
{
    return scheme(QColor(0xef, 0xf0, 0xf1), QColor(0x23, 0x26, 0x29), QColor(0xfc, 0xfc, 0xfc),
                  QColor(0xfc, 0xfc, 0xfc), QColor(0xe3, 0xe3, 0xe3), QColor(0xa0, 0xa2, 0xa4));
}

QPalette dark()
{
    return scheme(QColor(0x31, 0x36, 0x3b), QColor(0xef, 0xf0, 0xf1), QColor(0x23, 0x26, 0x29), Qt::white,
                  QColor(0x1f, 0x22, 0x25), QColor(0x65, 0x68, 0x6b));
}

// The contrast ratio of two colours by their relative luminance (WCAG), from
// 1 (the same) to 21 (black on white).
double contrastRatio(const QColor &a, const QColor &b)
{
    const auto luminance = [](const QColor &colour) {
        const auto linear = [](double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
        return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) + 0.0722 * linear(colour.blueF());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

} // namespace

class TestColours : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();
    void systemColours_data();
    void systemColours();
    void textBoxReadable_data();
    void textBoxReadable();

private:
    QPalette mOriginal;
};

void TestColours::initTestCase()
{
    setUpApplication(*qobject_cast<QApplication *>(QCoreApplication::instance()));
    mOriginal = QApplication::palette();
}

void TestColours::cleanup()
{
    QApplication::setPalette(mOriginal);
}

void TestColours::systemColours_data()
{
    QTest::addColumn<QPalette>("palette");
    QTest::addColumn<quint32>("value");
    QTest::addColumn<QColor>("expected");
    for (const auto &[name, palette] : {std::pair{"light", light()}, std::pair{"dark", dark()}}) {
        QTest::addRow("%s, 11 inactive border", name)
            << palette << quint32(0x8000000B) << palette.color(QPalette::Disabled, QPalette::Base);
        QTest::addRow("%s, 9 caption text", name) << palette << quint32(0x80000009) << palette.color(QPalette::Base);
    }
    QTest::newRow("plain red") << light() << quint32(0x000000FF) << QColor(255, 0, 0);
    QTest::newRow("plain blue") << light() << quint32(0x00FF0000) << QColor(0, 0, 255);
    QTest::newRow("plain mixed") << light() << quint32(0x00123456) << QColor(0x56, 0x34, 0x12);
}

void TestColours::systemColours()
{
    QFETCH(QPalette, palette);
    QFETCH(quint32, value);
    QFETCH(QColor, expected);
    QCOMPARE(systemColour(value, palette), expected);
}

void TestColours::textBoxReadable_data()
{
    QTest::addColumn<QPalette>("palette");
    QTest::newRow("light") << light();
    QTest::newRow("dark") << dark();
}

// The scheme is changed while the window is open, as a desktop does.
void TestColours::textBoxReadable()
{
    QFETCH(QPalette, palette);
    QTemporaryDir drive;
    StandInPlatform stand;
    stand.volumes.volumes = {Volume{drive.path(), QString()}};
    stand.program.folder = drive.path();
    MainWindow window;
    QVERIFY(settled(window));
    auto *text = child<QLineEdit>(window, "txt_eigene");
    QApplication::setPalette(palette);

    // Disabled: as any disabled field of the scheme.
    QLineEdit plain;
    plain.setEnabled(false);
    QVERIFY(!text->isEnabled());
    QTRY_COMPARE(text->palette().color(QPalette::Disabled, QPalette::Base),
                 plain.palette().color(QPalette::Disabled, QPalette::Base));
    QCOMPARE(text->palette().color(QPalette::Disabled, QPalette::Text),
             plain.palette().color(QPalette::Disabled, QPalette::Text));

    // Enabled: the text stands out from the background.
    QTest::mouseClick(child<QRadioButton>(window, "opt_eigene"), Qt::LeftButton);
    QVERIFY(settled(window));
    QVERIFY(text->isEnabled());
    const QColor foreground = text->palette().color(QPalette::Active, QPalette::Text);
    const QColor background = text->palette().color(QPalette::Active, QPalette::Base);
    const double ratio = contrastRatio(foreground, background);
    QVERIFY2(ratio >= 4.5,
             qPrintable(QStringLiteral("%1 on %2: %3:1").arg(foreground.name(), background.name()).arg(ratio)));
}

QTEST_MAIN(TestColours)
#include "tst_colours.moc"
