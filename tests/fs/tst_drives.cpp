// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "fs/drives.h"

#include <QTest>

using namespace Lirabel;

class TestDrives : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void mountTable_data();
    void mountTable();
};

// Lines of /proc/self/mountinfo, and the drive texts they give. The device
// /dev/sdb1 carries the label URLAUB, /dev/sdc1 the label FOTOS.
void TestDrives::mountTable_data()
{
    QTest::addColumn<QByteArray>("table");
    QTest::addColumn<QStringList>("drives");

    const QByteArray root = "27 1 254:0 / / rw,relatime shared:1 - ext4 /dev/vda rw\n";
    QTest::newRow("root alone") << root << QStringList{"/"};
    QTest::newRow("a stick with its label")
        << root + "80 27 8:17 / /media/stick rw,nosuid shared:40 - vfat /dev/sdb1 rw\n"
        << QStringList{"/", "/media/stick [URLAUB]"};
    QTest::newRow("blank, tab and backslash in a mount point")
        << root
            + "81 27 8:17 / /media/USB\\040STICK rw - vfat /dev/sdb1 rw\n"
              "82 27 0:50 / /mnt/a\\011b\\134c rw - nfs server:/export rw\n"
        << QStringList{"/", "/media/USB STICK [URLAUB]", "/mnt/a\tb\\c"};
    QTest::newRow("pseudo file systems and kernel folders left out, FUSE kept")
        << root
            + "22 27 0:21 / /proc rw - proc proc rw\n"
              "25 24 0:23 / /run rw - tmpfs tmpfs rw\n"
              "41 31 0:38 / /sys/fs/cgroup/unified rw - cgroup2 cgroup2 rw\n"
              "42 24 8:1 / /dev/disk rw - ext4 /dev/sda1 rw\n"
              "90 25 0:60 / /run/user/1000/gvfs rw - fuse.gvfsd-fuse gvfsd-fuse rw\n"
        << QStringList{"/", "/run/user/1000/gvfs"};
    QTest::newRow("the later of two mounts on one point")
        << root + "83 27 8:17 / /mnt/x rw - vfat /dev/sdb1 rw\n84 83 8:33 / /mnt/x rw - vfat /dev/sdc1 rw\n"
        << QStringList{"/", "/mnt/x [FOTOS]"};
    QTest::newRow("sorted by mount point, root first")
        << "85 27 0:51 / /srv rw - nfs a:/x rw\n" + root + "86 27 0:52 / /home rw - ext4 /dev/vdb rw\n"
        << QStringList{"/", "/home", "/srv"};
    QTest::newRow("lines not understood left out") << root + "garbage\n87 27 0:53 / /mnt/ohne rw ext4 /dev/vdc rw\n\n"
                                                   << QStringList{"/"};
}

void TestDrives::mountTable()
{
    QFETCH(QByteArray, table);
    QFETCH(QStringList, drives);
    const auto labelOf = [](const QByteArray &source) {
        return source == "/dev/sdb1" ? QStringLiteral("URLAUB")
            : source == "/dev/sdc1"  ? QStringLiteral("FOTOS")
                                     : QString();
    };
    QStringList texts;
    for (const Volume &volume : drivesOf(parseMountTable(table), labelOf))
        texts.append(volume.driveText());
    QCOMPARE(texts, drives);
}

QTEST_GUILESS_MAIN(TestDrives)
#include "tst_drives.moc"
