// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

#include "lists/comparecommand.h"

#include "core/bytenames.h"
#include "core/lirabelerror.h"
#include "core/systemreason.h"
#include "lists/listcomparison.h"
#include "lists/listsink.h"
#include "lists/savedlist.h"

#include <QFile>

#include <memory>
#include <thread>

namespace Lirabel {

namespace {

constexpr int Differs = 1;
constexpr int Trouble = 2;

QByteArray joinedPath(const QStringList &relativePath)
{
    QByteArray path;
    for (const QString &part : relativePath)
        path.append(path.isEmpty() ? "" : "/").append(nameBytes(part));
    return path;
}

// Each listed file as the comparison takes it.
class CollectedFiles : public ListWriter
{
public:
    void folder(const ListedFolder &folder) override
    {
        QByteArray prefix = joinedPath(folder.relativePath);
        if (!prefix.isEmpty())
            prefix.append('/');
        for (const ListedFile &file : folder.files) {
            ComparedFile compared{
                paths.keep(prefix, nameBytes(file.name)), file.size, file.size >= 0 ? file.modified : -1, {}};
            if (file.checksum)
                compared.checksum = *file.checksum;
            files.push_back(std::move(compared));
        }
    }
    void finish() override {}

    std::vector<ComparedFile> files;
    PathStore paths;
};

QString shownRelative(QByteArrayView path)
{
    return shownPath(pathParts(path));
}

void writeText(const std::vector<Difference> &differences, bool crLf, ListSink &sink)
{
    static const char *const marks[] = {"+ ", "- ", "~ ", "> "};
    const QByteArray end = crLf ? QByteArrayLiteral("\r\n") : QByteArrayLiteral("\n");
    for (const Difference &difference : differences) {
        QByteArray line = marks[int(difference.kind)] + shownRelative(difference.file->path).toUtf8();
        if (difference.before)
            line += " (vorher " + shownRelative(difference.before->path).toUtf8() + ')';
        sink.write(line + end);
    }
}

// The differences as folders of listed files for a table format, each with
// its change.
void writeTable(const std::vector<Difference> &differences, const ListRequest &table, ListSink &sink)
{
    ListRoot root;
    root.folder = table.folders.front();
    root.shown = printableName(nameFromBytes(root.folder));
    const std::unique_ptr<ListWriter> writer = listWriterFor(table, {root}, root.shown, sink);
    writer->beginFolder(absoluteFolder(root.folder));
    size_t first = 0;
    while (first < differences.size()) {
        const auto folderOf = [](const Difference &difference) {
            const QByteArrayView path = difference.file->path;
            return path.first(std::max<qsizetype>(path.lastIndexOf('/'), 0));
        };
        const QByteArrayView folderPath = folderOf(differences[first]);
        size_t last = first;
        while (last < differences.size() && folderOf(differences[last]) == folderPath)
            ++last;
        ListedFolder folder;
        folder.root = root.folder;
        folder.shownRoot = root.shown;
        if (!folderPath.isEmpty())
            folder.relativePath = pathParts(folderPath);
        folder.shownFolder = folder.relativePath.isEmpty() ? QStringLiteral(".") : shownPath(folder.relativePath);
        const size_t count = last - first;
        folder.checksums.reserve(count);
        folder.changes.reserve(count);
        std::vector<std::pair<qsizetype, qsizetype>> names, shown; // where each text lies
        for (size_t i = first; i < last; ++i) {
            const Difference &difference = differences[i];
            const QByteArrayView path = difference.file->path;
            const QString name = nameFromBytes(path.sliced(path.lastIndexOf('/') + 1));
            names.emplace_back(folder.names.size(), name.size());
            folder.names.append(name);
            const QString printable = printableName(name);
            shown.emplace_back(folder.shownNames.size(), printable.size());
            folder.shownNames.append(printable);
            folder.checksums.push_back(difference.file->checksum);
            folder.changes.push_back(
                {difference.kind, difference.before ? shownRelative(difference.before->path) : QString()});
        }
        for (size_t k = 0; k < count; ++k) {
            const ComparedFile &file = *differences[first + k].file;
            ListedFile listed{QStringView(folder.names).sliced(names[k].first, names[k].second),
                              QStringView(folder.shownNames).sliced(shown[k].first, shown[k].second), file.size,
                              std::max<qint64>(file.modified, 0)};
            listed.checksum = &folder.checksums[k];
            listed.change = &folder.changes[k];
            folder.files.push_back(listed);
        }
        writer->folder(folder);
        first = last;
    }
    writer->finish();
}

// The columns of the result: what changed, which file, what the saved list
// knew of it, and where a renamed file was.
std::vector<const ListColumn *> resultColumns(ComparedBy by)
{
    QString names = QStringLiteral("aenderung,name,ordner");
    if (by.sizes)
        names += QStringLiteral(",groesse");
    if (by.times)
        names += QStringLiteral(",datum");
    if (by.checksums)
        names += QStringLiteral(",pruefsumme");
    names += QStringLiteral(",vorher");
    std::vector<const ListColumn *> columns;
    for (const QStringView name : QStringView(names).split(u','))
        columns.push_back(columnNamed(name));
    return columns;
}

} // namespace

int runCompareCommand(const ListRequest &request, ListReport &report)
{
    const QString shownList = printableName(nameFromBytes(*request.compareWith));
    QFile file(QFile::decodeName(*request.compareWith));
    if (!file.open(QIODevice::ReadOnly)) {
        report.notWritten(QStringLiteral("Liste nicht lesbar: %1 (%2)").arg(shownList, file.errorString()));
        return Trouble;
    }
    // A saved list of a large tree is tens of megabytes: mapped, it is read
    // where it lies instead of copied. A pipe or an empty file is read.
    const uchar *mapped = file.size() > 0 ? file.map(0, file.size()) : nullptr;
    if (!mapped)
        file.unsetError();
    const QByteArray bytes =
        mapped ? QByteArray::fromRawData(reinterpret_cast<const char *>(mapped), file.size()) : file.readAll();
    if (file.error() != QFileDevice::NoError) {
        report.notWritten(QStringLiteral("Liste nicht lesbar: %1 (%2)").arg(shownList, file.errorString()));
        return Trouble;
    }
    QString wrong;
    std::optional<SavedList> saved = readSavedList(bytes, wrong, true);
    const auto refused = [&report, &shownList](const QString &why) {
        report.notWritten(QStringLiteral("%1 ist keine Liste, die sich vergleichen lässt: %2").arg(shownList, why));
        return Trouble;
    };
    if (!saved)
        return refused(wrong);
    // A large list's files are read on a thread of their own while the
    // folder is listed, which mostly waits for the file system.
    std::optional<SavedList> whole;
    QString wholeWrong;
    std::jthread reader;
    if (!saved->complete)
        reader = std::jthread([&bytes, &whole, &wholeWrong] { whole = readSavedList(bytes, wholeWrong); });

    // Listed again as then, with what the comparison needs.
    ListRequest now = saved->options;
    now.folders = {request.folders.front()};
    now.format = ListFormat::Csv;
    now.columns = {columnNamed(u"name")};
    if (saved->by.sizes || saved->by.times)
        now.columns.push_back(columnNamed(u"groesse"));
    if (saved->by.checksums)
        now.columns.push_back(columnNamed(u"pruefsumme"));
    now.order = ListOrder::Name;
    CollectedFiles collected;
    // About as many files as then: a JSON list has a line for each.
    collected.files.reserve(saved->complete ? saved->files.size() : lineCount(bytes));
    bool failed = false;
    std::vector<QByteArray> unread;
    const bool walked = walkList(now, report, collected, failed, [&unread](const QStringList &relativePath) {
        unread.push_back(joinedPath(relativePath));
    });
    if (reader.joinable()) {
        reader.join();
        if (!whole)
            return refused(wholeWrong);
        whole->options = saved->options;
        saved = std::move(whole);
    }
    if (!walked)
        return Trouble;
    unread.insert(unread.end(), saved->leftOut.cbegin(), saved->leftOut.cend());
    const std::vector<Difference> differences = compareFiles(saved->files, collected.files, saved->by, unread);

    try {
        ListSink sink(request.output);
        if (request.format == ListFormat::Text) {
            writeText(differences, request.crLfLines(), sink);
            sink.finish();
        } else {
            ListRequest table = request;
            table.columns = resultColumns(saved->by);
            table.subfolders = saved->options.subfolders;
            table.numberEntries = false;
            writeTable(differences, table, sink);
        }
    } catch (const LirabelError &error) {
        report.notWritten(QStringLiteral("Datei kann nicht gespeichert werden !\n%1").arg(error.message()));
        return Trouble;
    }
    if (failed)
        return Trouble;
    return differences.empty() ? 0 : Differs;
}

} // namespace Lirabel
