// Saves one path's data over and over, the two versions in turn, until it is killed.
// Usage: crashchild <path name> <business folder> <lines> <first version to save>
// Prints "ready" once its record sets are open, then "saving <version>" before each save and
// "saved <version>" after it.
#include "savepaths.h"

#include "core/common/database.h"
#include "core/common/recordfile.h"

#include <cstdio>
#include <cstdlib>
#include <exception>

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: crashchild <path> <folder> <lines> <0|1>\n");
        return 2;
    }
    const auto path = robustness::pathNamed(QString::fromLocal8Bit(argv[1]));
    if (!path) {
        std::fprintf(stderr, "unknown save path %s\n", argv[1]);
        return 2;
    }
    try {
        robustness::Saver saver(*path, QString::fromLocal8Bit(argv[2]), std::atoi(argv[3]));
        std::printf("ready\n");
        std::fflush(stdout);
        for (int version = std::atoi(argv[4]) == 0 ? 0 : 1;; version = 1 - version) {
            std::printf("saving %d\n", version);
            std::fflush(stdout);
            saver.save(version);
            std::printf("saved %d\n", version);
            std::fflush(stdout);
        }
    } catch (const DbError& error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.message()));
    } catch (const FileError& error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.message()));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
    }
    return 1;
}
