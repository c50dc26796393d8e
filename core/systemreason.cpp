// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "core/systemreason.h"

#include <cerrno>
#include <cstring>

namespace Lirabel {

QString systemReason(int error)
{
    switch (error) {
    case ENOENT:
        return QStringLiteral("existiert nicht");
    case ENOTDIR:
        return QStringLiteral("ist kein Ordner");
    case EISDIR:
        return QStringLiteral("ist ein Ordner");
    case EACCES:
    case EPERM:
        return QStringLiteral("keine Berechtigung");
    case ENOSPC:
        return QStringLiteral("Datenträger voll");
#ifdef EDQUOT
    case EDQUOT:
        return QStringLiteral("Speicherkontingent erschöpft");
#endif
    case EROFS:
        return QStringLiteral("Dateisystem nur lesbar");
    case EFBIG:
        return QStringLiteral("Datei zu groß");
    case EIO:
        return QStringLiteral("Ein-/Ausgabefehler");
    case ENAMETOOLONG:
        return QStringLiteral("Name zu lang");
    case ELOOP:
        return QStringLiteral("zu viele Verknüpfungen");
    case EPIPE:
        return QStringLiteral("Empfänger hat die Verbindung beendet");
    case ENXIO:
    case ENODEV:
        return QStringLiteral("kein Gerät oder Leser vorhanden");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("wird gerade benutzt");
    case EMFILE:
    case ENFILE:
    case ENOMEM:
        return QStringLiteral("zu wenig Systemmittel");
    case EBADF:
        return QStringLiteral("nicht geöffnet");
    }
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 32))
    if (const char *name = strerrorname_np(error))
        return QStringLiteral("Systemfehler %1 (%2)").arg(error).arg(QLatin1String(name));
#endif
    return QStringLiteral("Systemfehler %1").arg(error);
}

} // namespace Lirabel
