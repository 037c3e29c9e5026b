#pragma once

#include <QString>

#include <array>
#include <memory>
#include <optional>

// The program's save paths, each run as the program runs it, with two recognisable versions of
// the saved data (0, "old", and 1, "new") and a check of what a business folder holds. The
// crash child, the crash loop and the fault tests share them.
namespace robustness {

enum class SavePath { Item, Invoice, Part, Settings, CodeTable, Registry };
inline constexpr std::array<SavePath, 6> allPaths{SavePath::Item,      SavePath::Invoice,
                                                  SavePath::Part,      SavePath::Settings,
                                                  SavePath::CodeTable, SavePath::Registry};
QString pathName(SavePath path);
std::optional<SavePath> pathNamed(const QString& name);
bool isDatabasePath(SavePath path);

// Version 0 of an item or invoice has `lines` lines of quantity 1; version 1 has one line fewer,
// other numbers, and quantity 2, so that a mix of the two is always seen.
inline constexpr int defaultLines = 3000;

struct Verdict {
    int version = -1; // 0 or 1 when the data is whole
    QString problem;  // what is wrong otherwise
    bool whole() const { return version >= 0; }
};

// Performs one path's save on the files of a business folder, as the window that saves it does,
// keeping its record sets open from save to save as the program does.
class Saver {
public:
    Saver(SavePath path, const QString& folder, int lines = defaultLines);
    ~Saver();
    Saver(const Saver&) = delete;
    Saver& operator=(const Saver&) = delete;

    // Throws DbError or FileError as the program's own save does.
    void save(int version);
    // What the program itself reads back now through its open record sets or its file reader.
    Verdict programView();

private:
    struct State;
    std::unique_ptr<State> state_;
};

// Makes the folder's files for the path, other data beside it, and saves version 0.
void prepare(SavePath path, const QString& folder, int lines = defaultLines);

// What the folder holds for the path, read with a connection of its own (which also rolls back
// what a crash left half done): version 0 or 1 whole, or the problem found. The data beside
// the saved data must be untouched too.
Verdict inspect(SavePath path, const QString& folder, int lines = defaultLines);

// The same question answered the way the program opens a business after a crash: through its
// own database layer, which must roll back what the crash left. Only the saved rows are
// compared; inspect() checks the rest.
Verdict openAsProgram(SavePath path, const QString& folder, int lines = defaultLines);

// Leftovers of interrupted saves in the folder: rollback journals and temporary record files.
int leftoverFiles(const QString& folder);

} // namespace robustness
