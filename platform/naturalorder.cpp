#include "platform/naturalorder.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QLocale>

#include <algorithm>
#include <vector>

namespace Lirabel {

namespace {

QCollator makeCollator()
{
    QCollator collator(QLocale(QLocale::German, QLocale::Germany));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    collator.setIgnorePunctuation(false);
    return collator;
}

const QCollator &collator()
{
    static const QCollator instance = makeCollator();
    return instance;
}

} // namespace

int naturalCompare(const QString &a, const QString &b)
{
    const int byCollation = collator().compare(a, b);
    if (byCollation != 0)
        return byCollation;
    return QString::compare(a, b, Qt::CaseSensitive);
}

void sortNatural(QStringList &names)
{
    struct Keyed
    {
        QCollatorSortKey key;
        QString name;
    };
    const QCollator &c = collator();
    std::vector<Keyed> keyed;
    keyed.reserve(size_t(names.size()));
    for (QString &name : names)
        keyed.push_back({c.sortKey(name), std::move(name)});
    std::sort(keyed.begin(), keyed.end(), [](const Keyed &a, const Keyed &b) {
        const int byCollation = a.key.compare(b.key);
        if (byCollation != 0)
            return byCollation < 0;
        return a.name < b.name;
    });
    for (qsizetype i = 0; i < names.size(); ++i)
        names[i] = std::move(keyed[size_t(i)].name);
}

} // namespace Lirabel
