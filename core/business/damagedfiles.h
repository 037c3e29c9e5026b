#pragma once

#include <QSet>
#include <QString>

#include <vector>

// Files of a business folder that are there but cannot be used. Nothing here writes a file: a
// damaged file is reported and left as it is, until the user replaces it or, for the small
// files, saves their window anew.
namespace damagedfiles {

struct Problem {
    QString path;
    QString reason;
};

// The unusable files of a business folder: each of the three databases that is missing,
// damaged or not of this program, then settings.dat, classprt.dat and vendor.dat when they are
// there but are not one whole record.
std::vector<Problem> check(const QString& folder);

// The one message that names every file and its reason.
QString message(const std::vector<Problem>& problems);

// Tells the user, in one message, of the problems not in `told` (a file that changed since it
// was told of counts as new), and adds them to it. Returns true when a message was shown.
bool tellOnce(const std::vector<Problem>& problems, QSet<QString>& told);

} // namespace damagedfiles
