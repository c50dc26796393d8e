// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cctype>
#include <cstring>

namespace Lirabel {

// JSON read in place, value by value; every step false once the text is not JSON.
class JsonStream
{
public:
    explicit JsonStream(const QByteArray &bytes)
        : mAt(bytes.constData())
        , mEnd(bytes.constData() + bytes.size())
    {
    }

    bool take(char c)
    {
        while (mAt < mEnd && (*mAt == ' ' || *mAt == '\n' || *mAt == '\r' || *mAt == '\t'))
            ++mAt;
        if (mAt == mEnd || *mAt != c)
            return false;
        ++mAt;
        return true;
    }
    bool isNext(char c)
    {
        if (!take(c))
            return false;
        --mAt;
        return true;
    }
    [[nodiscard]] bool atEnd()
    {
        take(' ');
        return mAt == mEnd;
    }

    // A string's text as UTF-8: in place where it holds no escape, as
    // nearly all do, else in room.
    bool string(QByteArrayView &text, QByteArray &room)
    {
        if (!take('"'))
            return false;
        const char *start = mAt;
        while (mAt < mEnd && *mAt != '"' && *mAt != '\\')
            ++mAt;
        if (mAt < mEnd && *mAt == '"') {
            text = QByteArrayView(start, mAt++ - start);
            return true;
        }
        mAt = start - 1;
        if (!string(room))
            return false;
        text = room;
        return true;
    }

    // A whole number, as lirabel writes sizes; -1 for null.
    bool whole(qint64 &value)
    {
        if (literal("null")) {
            value = -1;
            return true;
        }
        take(' ');
        const char *start = mAt;
        value = 0;
        while (mAt < mEnd && *mAt >= '0' && *mAt <= '9')
            value = value * 10 + (*mAt++ - '0');
        if (mAt > start && (mAt == mEnd || !std::strchr(".eE", *mAt)))
            return true;
        mAt = start;
        return number(value);
    }

    // A string's text as UTF-8.
    bool string(QByteArray &out)
    {
        out.resize(0);
        if (!take('"'))
            return false;
        while (mAt < mEnd && *mAt != '"') {
            const char *plain = mAt;
            while (mAt < mEnd && *mAt != '"' && *mAt != '\\')
                ++mAt;
            out.append(plain, mAt - plain);
            if (mAt == mEnd || *mAt == '"')
                break;
            if (++mAt == mEnd)
                return false;
            const char c = *mAt++;
            switch (c) {
            case '"':
            case '\\':
            case '/':
                out.append(c);
                break;
            case 'b':
                out.append('\b');
                break;
            case 'f':
                out.append('\f');
                break;
            case 'n':
                out.append('\n');
                break;
            case 'r':
                out.append('\r');
                break;
            case 't':
                out.append('\t');
                break;
            case 'u': {
                char32_t unit = 0;
                if (!hex4(unit))
                    return false;
                char32_t low = 0;
                if (unit >= 0xD800 && unit < 0xDC00 && mEnd - mAt >= 6 && mAt[0] == '\\' && mAt[1] == 'u') {
                    mAt += 2;
                    if (!hex4(low))
                        return false;
                    unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                }
                out.append(QString::fromUcs4(&unit, 1).toUtf8());
                break;
            }
            default:
                return false;
            }
        }
        return take('"');
    }

    // A whole number; -1 for null.
    bool number(qint64 &value)
    {
        if (literal("null")) {
            value = -1;
            return true;
        }
        const QByteArrayView raw = rawValue();
        bool good = false;
        value = raw.toByteArray().toLongLong(&good);
        if (!good)
            value = qint64(raw.toByteArray().toDouble(&good));
        return good;
    }

    bool literal(const char *word)
    {
        take(' ');
        const qsizetype length = qsizetype(std::strlen(word));
        if (mEnd - mAt < length || std::memcmp(mAt, word, size_t(length)) != 0)
            return false;
        mAt += length;
        return true;
    }

    // The text of the next value, which is passed over; empty where it is no value.
    QByteArrayView rawValue()
    {
        take(' ');
        const char *start = mAt;
        return skip() ? QByteArrayView(start, mAt - start) : QByteArrayView();
    }

    bool skip(int depth = 0)
    {
        if (depth > 64)
            return false;
        if (isNext('"')) {
            QByteArrayView ignored;
            return string(ignored, mRoom);
        }
        if (take('{')) {
            if (take('}'))
                return true;
            do {
                QByteArrayView key;
                if (!string(key, mRoom) || !take(':') || !skip(depth + 1))
                    return false;
            } while (take(','));
            return take('}');
        }
        if (take('[')) {
            if (take(']'))
                return true;
            do {
                if (!skip(depth + 1))
                    return false;
            } while (take(','));
            return take(']');
        }
        if (literal("null") || literal("true") || literal("false"))
            return true;
        const char *start = mAt;
        while (mAt < mEnd && (std::isdigit(uchar(*mAt)) || std::strchr("+-.eE", *mAt)))
            ++mAt;
        return mAt > start;
    }

    // Calls member(key) for each member of an object, which reads its
    // value; the key, a view, holds until the next key is read.
    template<typename Member>
    bool object(Member member)
    {
        if (!take('{'))
            return false;
        if (take('}'))
            return true;
        QByteArray room;
        do {
            QByteArrayView key;
            if (!string(key, room) || !take(':') || !member(key))
                return false;
        } while (take(','));
        return take('}');
    }

    template<typename Item>
    bool array(Item item)
    {
        if (!take('['))
            return false;
        if (take(']'))
            return true;
        do {
            if (!item())
                return false;
        } while (take(','));
        return take(']');
    }

private:
    bool hex4(char32_t &unit)
    {
        if (mEnd - mAt < 4)
            return false;
        bool good = false;
        unit = char32_t(QByteArrayView(mAt, 4).toByteArray().toUInt(&good, 16));
        mAt += 4;
        return good;
    }

    const char *mAt;
    const char *mEnd;
    QByteArray mRoom; // what a passed-over string with escapes is read into
};

} // namespace Lirabel
