#include "faultvfs.h"

#include <sqlite3.h>

#include <stdexcept>

namespace faultvfs {
namespace {

struct Plan {
    bool armed = false;
    Op op = Op::Write;
    int n = 0;
    int error = SQLITE_IOERR;
    bool sticky = false;
    int seen = 0;
    bool fired = false;
};
Plan plan;

// True when this call is the one (or, sticky, one of those) to fail.
bool failsNow(Op op) {
    if (!plan.armed || plan.op != op)
        return false;
    ++plan.seen;
    if (plan.seen == plan.n || (plan.sticky && plan.seen > plan.n)) {
        plan.fired = true;
        return true;
    }
    return false;
}

sqlite3_vfs* base = nullptr;
sqlite3_vfs shim{};

// Our file object, with the default VFS's own file object right behind it.
struct ShimFile {
    sqlite3_file header;
    sqlite3_file* real;
};

sqlite3_file* real(sqlite3_file* file) {
    return reinterpret_cast<ShimFile*>(file)->real;
}

int fileClose(sqlite3_file* file) {
    return real(file)->pMethods->xClose(real(file));
}
int fileRead(sqlite3_file* file, void* buffer, int amount, sqlite3_int64 offset) {
    return real(file)->pMethods->xRead(real(file), buffer, amount, offset);
}
int fileWrite(sqlite3_file* file, const void* buffer, int amount, sqlite3_int64 offset) {
    if (failsNow(Op::Write))
        return plan.error;
    return real(file)->pMethods->xWrite(real(file), buffer, amount, offset);
}
int fileTruncate(sqlite3_file* file, sqlite3_int64 size) {
    return real(file)->pMethods->xTruncate(real(file), size);
}
int fileSync(sqlite3_file* file, int flags) {
    if (failsNow(Op::Sync))
        return plan.error;
    return real(file)->pMethods->xSync(real(file), flags);
}
int fileSize(sqlite3_file* file, sqlite3_int64* size) {
    return real(file)->pMethods->xFileSize(real(file), size);
}
int fileLock(sqlite3_file* file, int level) {
    return real(file)->pMethods->xLock(real(file), level);
}
int fileUnlock(sqlite3_file* file, int level) {
    return real(file)->pMethods->xUnlock(real(file), level);
}
int fileCheckReservedLock(sqlite3_file* file, int* result) {
    return real(file)->pMethods->xCheckReservedLock(real(file), result);
}
int fileControl(sqlite3_file* file, int op, void* arg) {
    return real(file)->pMethods->xFileControl(real(file), op, arg);
}
int fileSectorSize(sqlite3_file* file) {
    return real(file)->pMethods->xSectorSize(real(file));
}
int fileDeviceCharacteristics(sqlite3_file* file) {
    return real(file)->pMethods->xDeviceCharacteristics(real(file));
}
int fileShmMap(sqlite3_file* file, int page, int size, int extend, void volatile** out) {
    return real(file)->pMethods->xShmMap(real(file), page, size, extend, out);
}
int fileShmLock(sqlite3_file* file, int offset, int n, int flags) {
    return real(file)->pMethods->xShmLock(real(file), offset, n, flags);
}
void fileShmBarrier(sqlite3_file* file) {
    real(file)->pMethods->xShmBarrier(real(file));
}
int fileShmUnmap(sqlite3_file* file, int deleteFlag) {
    return real(file)->pMethods->xShmUnmap(real(file), deleteFlag);
}
int fileFetch(sqlite3_file* file, sqlite3_int64 offset, int amount, void** out) {
    return real(file)->pMethods->xFetch(real(file), offset, amount, out);
}
int fileUnfetch(sqlite3_file* file, sqlite3_int64 offset, void* page) {
    return real(file)->pMethods->xUnfetch(real(file), offset, page);
}

const sqlite3_io_methods methods = {
    3,
    fileClose,
    fileRead,
    fileWrite,
    fileTruncate,
    fileSync,
    fileSize,
    fileLock,
    fileUnlock,
    fileCheckReservedLock,
    fileControl,
    fileSectorSize,
    fileDeviceCharacteristics,
    fileShmMap,
    fileShmLock,
    fileShmBarrier,
    fileShmUnmap,
    fileFetch,
    fileUnfetch,
};

int vfsOpen(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags) {
    auto* own = reinterpret_cast<ShimFile*>(file);
    own->real = reinterpret_cast<sqlite3_file*>(own + 1);
    own->real->pMethods = nullptr;
    const int rc = base->xOpen(base, name, own->real, flags, outFlags);
    // The engine calls xClose whenever pMethods is set, so set it exactly when the real file
    // needs closing.
    file->pMethods = own->real->pMethods && own->real->pMethods->iVersion >= 3 ? &methods : nullptr;
    if (own->real->pMethods && !file->pMethods) {
        own->real->pMethods->xClose(own->real);
        return SQLITE_CANTOPEN;
    }
    return rc;
}
int vfsDelete(sqlite3_vfs*, const char* name, int syncDir) {
    if (failsNow(Op::Delete))
        return plan.error;
    return base->xDelete(base, name, syncDir);
}
int vfsAccess(sqlite3_vfs*, const char* name, int flags, int* result) {
    return base->xAccess(base, name, flags, result);
}
int vfsFullPathname(sqlite3_vfs*, const char* name, int size, char* out) {
    return base->xFullPathname(base, name, size, out);
}
void* vfsDlOpen(sqlite3_vfs*, const char* name) {
    return base->xDlOpen(base, name);
}
void vfsDlError(sqlite3_vfs*, int size, char* out) {
    base->xDlError(base, size, out);
}
void (*vfsDlSym(sqlite3_vfs*, void* handle, const char* symbol))() {
    return base->xDlSym(base, handle, symbol);
}
void vfsDlClose(sqlite3_vfs*, void* handle) {
    base->xDlClose(base, handle);
}
int vfsRandomness(sqlite3_vfs*, int size, char* out) {
    return base->xRandomness(base, size, out);
}
int vfsSleep(sqlite3_vfs*, int microseconds) {
    return base->xSleep(base, microseconds);
}
int vfsCurrentTime(sqlite3_vfs*, double* now) {
    return base->xCurrentTime(base, now);
}
int vfsGetLastError(sqlite3_vfs*, int size, char* out) {
    return base->xGetLastError(base, size, out);
}
int vfsCurrentTimeInt64(sqlite3_vfs*, sqlite3_int64* now) {
    return base->xCurrentTimeInt64(base, now);
}

} // namespace

void install() {
    if (base)
        return;
    base = sqlite3_vfs_find(nullptr);
    if (!base || base->iVersion < 2)
        throw std::runtime_error("no usable default SQLite VFS");
    shim.iVersion = 2;
    shim.szOsFile = int(sizeof(ShimFile)) + base->szOsFile;
    shim.mxPathname = base->mxPathname;
    shim.zName = "praxo-faults";
    shim.xOpen = vfsOpen;
    shim.xDelete = vfsDelete;
    shim.xAccess = vfsAccess;
    shim.xFullPathname = vfsFullPathname;
    shim.xDlOpen = vfsDlOpen;
    shim.xDlError = vfsDlError;
    shim.xDlSym = vfsDlSym;
    shim.xDlClose = vfsDlClose;
    shim.xRandomness = vfsRandomness;
    shim.xSleep = vfsSleep;
    shim.xCurrentTime = vfsCurrentTime;
    shim.xGetLastError = vfsGetLastError;
    shim.xCurrentTimeInt64 = vfsCurrentTimeInt64;
    if (sqlite3_vfs_register(&shim, 1) != SQLITE_OK)
        throw std::runtime_error("the fault VFS could not be registered");
}

void failNth(Op op, int n, int error, bool sticky) {
    plan = Plan{};
    plan.armed = n > 0;
    plan.op = op;
    plan.n = n;
    plan.error = error;
    plan.sticky = sticky;
}

void disarm() {
    plan.armed = false; // what happened stays readable
}

bool fired() {
    return plan.fired;
}

int callsSeen() {
    return plan.seen;
}

} // namespace faultvfs
