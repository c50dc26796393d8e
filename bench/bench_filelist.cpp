// Reads one folder the way the file list does and prints the median times in
// milliseconds: the scan alone, and the whole read (scan, pattern, natural
// order, model) for "*.*" and for "*.mp3".
//
//   bench_filelist FOLDER [ROUNDS]

#include "platform/filelistmodel.h"
#include "platform/folderscan.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <vector>

using namespace Lirabel;

namespace {

double medianMs(int rounds, const std::function<void()> &work)
{
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    QTextStream out(stdout);
    if (args.size() < 2) {
        QTextStream(stderr) << "usage: bench_filelist FOLDER [ROUNDS]\n";
        return 2;
    }
    const QString folder = args.at(1);
    const int rounds = args.size() > 2 ? std::max(1, args.at(2).toInt()) : 5;

    qsizetype scanned = 0;
    const double scan = medianMs(rounds, [&] { scanned = scanFolder(folder).value_or(FolderEntries{}).files.size(); });

    qsizetype listed = 0;
    const double all = medianMs(rounds, [&] {
        FileListModel model;
        model.setPattern(QStringLiteral("*.*"));
        model.setPath(folder);
        listed = model.count();
    });
    qsizetype mp3 = 0;
    const double filtered = medianMs(rounds, [&] {
        FileListModel model;
        model.setPattern(QStringLiteral("*.mp3"));
        model.setPath(folder);
        mp3 = model.count();
    });

    FileListModel kept;
    kept.setPath(folder);
    const double again = medianMs(rounds, [&] { kept.refresh(); });

    out << "files " << scanned << "\n";
    out << "scan_ms " << QString::number(scan, 'f', 1) << "\n";
    out << "filelist_all_ms " << QString::number(all, 'f', 1) << " entries " << listed << "\n";
    out << "filelist_mp3_ms " << QString::number(filtered, 'f', 1) << " entries " << mp3 << "\n";
    out << "refresh_unchanged_ms " << QString::number(again, 'f', 1) << "\n";
    return 0;
}
