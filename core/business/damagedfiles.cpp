#include "core/business/damagedfiles.h"

#include "core/business/bizsettings.h"
#include "core/business/businessfiles.h"
#include "core/business/codetable.h"
#include "core/common/prompts.h"
#include "core/common/recordfile.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace damagedfiles {

namespace {

// A file as it stands now: the same damage is told once, a replaced file is looked at afresh.
QString identity(const QString& path) {
    const QFileInfo info(path);
    return path + QLatin1Char('|') + QString::number(info.exists() ? info.size() : -1) +
           QLatin1Char('|') + QString::number(info.lastModified().toMSecsSinceEpoch());
}

// A small record file that is there but is not one whole record, or nothing when it is usable
// or missing.
std::optional<Problem> recordProblem(const QString& path, int expectedSize) {
    const RecordRead read = readRecord(path, expectedSize);
    if (read.status != RecordStatus::Damaged)
        return std::nullopt;
    QString reason =
        QFileInfo(path).isFile()
            ? QStringLiteral("%1 bytes instead of %2").arg(read.actualSize).arg(expectedSize)
            : QStringLiteral("it is not a file");
    // The windows that take their rates from it go on with zero rates.
    if (path.endsWith(QLatin1String(BizSettings::fileName)))
        reason += QStringLiteral("; the rates count as 0 until the settings are saved again");
    return Problem{path, reason};
}

} // namespace

std::vector<Problem> check(const QString& folder) {
    std::vector<Problem> problems;
    for (const DbError& error : businessfiles::checkBusinessDatabases(folder))
        problems.push_back({error.file(), error.reason()});
    const QDir dir(folder);
    const struct {
        const char* name;
        int size;
    } records[] = {{BizSettings::fileName, BizSettings::fileSize},
                   {CodeTable::classFileName, CodeTable::fileSize},
                   {CodeTable::vendorFileName, CodeTable::fileSize}};
    for (const auto& record : records) {
        if (auto problem = recordProblem(dir.filePath(QLatin1String(record.name)), record.size))
            problems.push_back(*problem);
    }
    return problems;
}

QString message(const std::vector<Problem>& problems) {
    QString text = QStringLiteral("These files of the business are damaged and were not read. "
                                  "They are left as they are:");
    for (const Problem& problem : problems)
        text += QStringLiteral("\n%1: %2").arg(problem.path, problem.reason);
    return text;
}

bool tellOnce(const std::vector<Problem>& problems, QSet<QString>& told) {
    std::vector<Problem> fresh;
    for (const Problem& problem : problems) {
        const QString id = identity(problem.path);
        if (!told.contains(id)) {
            told.insert(id);
            fresh.push_back(problem);
        }
    }
    if (fresh.empty())
        return false;
    prompts::message(message(fresh), QString(), PromptIcon::Exclamation);
    return true;
}

} // namespace damagedfiles
