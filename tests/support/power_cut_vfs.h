#pragma once
// A power cut for SQLite files, as SQLite's own crash tests make one: an SQLite file system over
// the system's that remembers what each file held when it was last synced. Cut() throws away
// everything written since, as a machine losing its power would: from then on every write, sync,
// truncation and deletion fails (or is dropped) while the program unwinds; once every connection
// is closed, PutBackSyncedContent() gives each file its synced content and the file system works
// again, so the company can be opened as after a restart. Registered as the default file system
// while it lives, so every connection of the process uses it (the kit's, the SQL side's, the test's).
//
// Hooks let a test choose its cut point: OnSync runs before each sync of a file and OnSynced after
// it (with the count of syncs done), OnWrite before each write; each may call Cut(). A disk that
// fails to read, or is full, without a cut: readFailure and writeFailure.

#include <sqlite3.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>

namespace tv::test {

class PowerCutVfs {
public:
    PowerCutVfs() {
        base_ = sqlite3_vfs_find(nullptr);
        if (!base_) throw std::runtime_error("no SQLite file system");
        vfs_ = *base_;
        vfs_.szOsFile = static_cast<int>(sizeof(File));
        vfs_.zName = "power-cut";
        vfs_.pAppData = this;
        vfs_.xOpen = &Open;
        vfs_.xDelete = &Delete;
        if (sqlite3_vfs_register(&vfs_, 1) != SQLITE_OK) throw std::runtime_error("cannot register");
    }
    ~PowerCutVfs() {
        sqlite3_vfs_unregister(&vfs_);
        sqlite3_vfs_register(base_, 1);
    }
    PowerCutVfs(const PowerCutVfs&) = delete;
    PowerCutVfs& operator=(const PowerCutVfs&) = delete;

    std::function<void(int syncs)> OnSync;
    std::function<void(int syncs)> OnSynced;
    std::function<void(const std::string& file)> OnWrite;
    // While not SQLITE_OK, every read (write) of a file answers this code instead, e.g.
    // SQLITE_IOERR_READ (SQLITE_FULL).
    int readFailure = SQLITE_OK;
    int writeFailure = SQLITE_OK;

    void Cut() {
        if (cut_) return;
        cut_ = true;
        if (OnCut) OnCut();
    }
    bool IsCut() const { return cut_; }
    // Runs once, at the cut: what the system had reported done by then.
    std::function<void()> OnCut;
    int Syncs() const { return syncs_; }

    // Every file as it was at its last sync (a file never synced is gone); the wal-index files are
    // rebuilt by the next connection. Call it once every connection is closed.
    void PutBackSyncedContent() {
        for (const auto& [path, content] : synced_) {
            if (!content) {
                std::filesystem::remove(path);
                continue;
            }
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out.write(content->data(), static_cast<std::streamsize>(content->size()));
            std::filesystem::remove(path + "-shm");
        }
        cut_ = false;
    }

private:
    struct File {
        sqlite3_file base;
        PowerCutVfs* owner;
        std::string* path;  // null: a temporary file, never kept
        sqlite3_file* real;
    };

    static PowerCutVfs& Owner(sqlite3_vfs* vfs) { return *static_cast<PowerCutVfs*>(vfs->pAppData); }
    static File& Of(sqlite3_file* f) { return *reinterpret_cast<File*>(f); }
    static sqlite3_file* Real(sqlite3_file* f) { return Of(f).real; }

    static std::optional<std::string> ReadWhole(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        if (!in) return std::nullopt;
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }

    static int Open(sqlite3_vfs* vfs, const char* name, sqlite3_file* file, int flags, int* outFlags) {
        PowerCutVfs& self = Owner(vfs);
        File& f = Of(file);
        std::memset(&f, 0, sizeof f);
        f.owner = &self;
        f.real = static_cast<sqlite3_file*>(sqlite3_malloc(self.base_->szOsFile));
        if (!f.real) return SQLITE_NOMEM;
        std::memset(f.real, 0, static_cast<size_t>(self.base_->szOsFile));
        // What a file held before anything of this process touched it counts as on the disk.
        if (name && !self.synced_.count(name)) self.synced_[name] = ReadWhole(name);
        const int rc = self.base_->xOpen(self.base_, name, f.real, flags, outFlags);
        if (rc != SQLITE_OK) {
            sqlite3_free(f.real);
            f.real = nullptr;
            return rc;
        }
        if (name) f.path = new std::string(name);
        f.base.pMethods = &Methods(f.real->pMethods->iVersion);
        return SQLITE_OK;
    }

    static int Delete(sqlite3_vfs* vfs, const char* name, int syncDir) {
        PowerCutVfs& self = Owner(vfs);
        if (self.cut_) return SQLITE_OK;  // the machine is off: the file stays as it was
        const int rc = self.base_->xDelete(self.base_, name, syncDir);
        if (rc == SQLITE_OK) self.synced_[name] = std::nullopt;
        return rc;
    }

    static int Close(sqlite3_file* file) {
        File& f = Of(file);
        const int rc = f.real->pMethods->xClose(f.real);
        sqlite3_free(f.real);
        delete f.path;
        f.real = nullptr;
        f.path = nullptr;
        return rc;
    }
    static int Read(sqlite3_file* f, void* buffer, int amount, sqlite3_int64 offset) {
        if (Of(f).owner->readFailure != SQLITE_OK) return Of(f).owner->readFailure;
        return Real(f)->pMethods->xRead(Real(f), buffer, amount, offset);
    }
    static int Write(sqlite3_file* file, const void* buffer, int amount, sqlite3_int64 offset) {
        File& f = Of(file);
        if (f.path && f.owner->OnWrite && !f.owner->cut_) f.owner->OnWrite(*f.path);
        if (f.owner->cut_) return SQLITE_IOERR_WRITE;
        if (f.owner->writeFailure != SQLITE_OK) return f.owner->writeFailure;
        return f.real->pMethods->xWrite(f.real, buffer, amount, offset);
    }
    static int Truncate(sqlite3_file* file, sqlite3_int64 size) {
        File& f = Of(file);
        if (f.owner->cut_) return SQLITE_IOERR_TRUNCATE;
        return f.real->pMethods->xTruncate(f.real, size);
    }
    static int Sync(sqlite3_file* file, int flags) {
        File& f = Of(file);
        PowerCutVfs& self = *f.owner;
        if (!self.cut_ && self.OnSync) self.OnSync(self.syncs_);
        if (self.cut_) return SQLITE_IOERR_FSYNC;
        const int rc = f.real->pMethods->xSync(f.real, flags);
        if (rc != SQLITE_OK) return rc;
        ++self.syncs_;
        if (f.path) self.synced_[*f.path] = ReadWhole(*f.path);
        if (self.OnSynced) self.OnSynced(self.syncs_);
        return SQLITE_OK;
    }
    static int FileSize(sqlite3_file* f, sqlite3_int64* size) {
        return Real(f)->pMethods->xFileSize(Real(f), size);
    }
    static int Lock(sqlite3_file* f, int level) { return Real(f)->pMethods->xLock(Real(f), level); }
    static int Unlock(sqlite3_file* f, int level) { return Real(f)->pMethods->xUnlock(Real(f), level); }
    static int CheckReservedLock(sqlite3_file* f, int* out) {
        return Real(f)->pMethods->xCheckReservedLock(Real(f), out);
    }
    static int FileControl(sqlite3_file* f, int op, void* arg) {
        return Real(f)->pMethods->xFileControl(Real(f), op, arg);
    }
    static int SectorSize(sqlite3_file* f) { return Real(f)->pMethods->xSectorSize(Real(f)); }
    static int DeviceCharacteristics(sqlite3_file* f) {
        return Real(f)->pMethods->xDeviceCharacteristics(Real(f));
    }
    static int ShmMap(sqlite3_file* f, int region, int size, int extend, void volatile** out) {
        return Real(f)->pMethods->xShmMap(Real(f), region, size, extend, out);
    }
    static int ShmLock(sqlite3_file* f, int offset, int n, int flags) {
        return Real(f)->pMethods->xShmLock(Real(f), offset, n, flags);
    }
    static void ShmBarrier(sqlite3_file* f) { Real(f)->pMethods->xShmBarrier(Real(f)); }
    static int ShmUnmap(sqlite3_file* f, int deleteFlag) {
        return Real(f)->pMethods->xShmUnmap(Real(f), deleteFlag);
    }

    // The methods of a file, of the version the system's file has; memory-mapped reads are not
    // offered, so that every read goes through Read.
    static const sqlite3_io_methods& Methods(int version) {
        static const sqlite3_io_methods v1 = {1,
                                              &Close,
                                              &Read,
                                              &Write,
                                              &Truncate,
                                              &Sync,
                                              &FileSize,
                                              &Lock,
                                              &Unlock,
                                              &CheckReservedLock,
                                              &FileControl,
                                              &SectorSize,
                                              &DeviceCharacteristics};
        static const sqlite3_io_methods v2 = {2,
                                              &Close,
                                              &Read,
                                              &Write,
                                              &Truncate,
                                              &Sync,
                                              &FileSize,
                                              &Lock,
                                              &Unlock,
                                              &CheckReservedLock,
                                              &FileControl,
                                              &SectorSize,
                                              &DeviceCharacteristics,
                                              &ShmMap,
                                              &ShmLock,
                                              &ShmBarrier,
                                              &ShmUnmap};
        return version >= 2 ? v2 : v1;
    }

    sqlite3_vfs* base_ = nullptr;
    sqlite3_vfs vfs_{};
    bool cut_ = false;
    int syncs_ = 0;
    std::map<std::string, std::optional<std::string>> synced_;  // path: content at the last sync
};

}  // namespace tv::test
