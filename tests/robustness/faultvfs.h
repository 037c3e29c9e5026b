#pragma once

// A SQLite VFS that passes every call to the machine's default VFS and can make one chosen
// call fail, as a full or failing disk would. Installed as the default VFS, so every database
// the program opens afterwards goes through it.
namespace faultvfs {

enum class Op {
    Write,  // any write to a database or journal file
    Sync,   // any sync of a file
    Delete, // removing a file (the rollback journal's removal is the commit point)
};

// Registers the shim as the default VFS (once; later calls do nothing).
void install();

// From now on, the n-th call of the kind fails with the SQLite error code given (for example
// SQLITE_IOERR_WRITE, SQLITE_FULL, SQLITE_IOERR_FSYNC). With `sticky`, every later call of that
// kind fails too, as on a disk that stays full. n = 0 disarms.
void failNth(Op op, int n, int error, bool sticky = false);
void disarm();

// True when the armed failure has happened; how many calls of the armed kind were seen.
bool fired();
int callsSeen();

// Arms a failure for the lifetime of the object.
class Armed {
public:
    Armed(Op op, int n, int error, bool sticky = false) { failNth(op, n, error, sticky); }
    ~Armed() { disarm(); }
    Armed(const Armed&) = delete;
    Armed& operator=(const Armed&) = delete;
};

} // namespace faultvfs
