// Writing a new file through a hidden temporary one, published with a hard link (which, unlike a rename,
// refuses a name that exists).
#include "resources/new_file_writer.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// "dir/.name.part" for "dir/name".
std::string temporaryFor(const std::string& path) {
    const size_t slash = path.rfind('/');
    const size_t nameAt = slash == std::string::npos ? 0 : slash + 1;
    return path.substr(0, nameAt) + "." + path.substr(nameAt) + ".part";
}

int createExclusive(const std::string& path) {
    int fd;
    do {
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// Every byte, or false. A file-size limit shows here as a short write and then EFBIG (the game ignores
// SIGXFSZ, which would otherwise end the process in the middle of the write); a full disk as ENOSPC.
bool writeAll(int fd, const char* data, size_t length) {
    while (length > 0) {
        const ssize_t done = ::write(fd, data, length);
        if (done < 0 && errno == EINTR) {
            continue;
        }
        if (done <= 0) {
            return false;
        }
        data += done;
        length -= static_cast<size_t>(done);
    }
    return true;
}

// On the disk before the file has its name, so that a power cut cannot leave a named but empty file.
// File systems that cannot sync say EINVAL, which is no failure of the write.
bool syncToDisk(int fd) {
    return fsync(fd) == 0 || errno == EINVAL;
}

// A link refused because the file system has no hard links (vfat, exFAT, some FUSE mounts; the
// browser's in-memory file system says EMLINK), or, for the /proc path, because /proc is not mounted.
bool linksUnsupported(int error) {
    return error == EPERM || error == EOPNOTSUPP || error == ENOSYS || error == EMLINK || error == ENOENT;
}
} // namespace

NewFileWriter::NewFileWriter(const std::string& path) : path_(path), temporary_(temporaryFor(path)) {}

NewFileWriter::~NewFileWriter() {
    removeOwnTemporary();
}

void NewFileWriter::begin() {
    if (fd_ >= 0 || failed_ || nameTaken_ || published_) {
        return;
    }
    struct stat info;
    if (lstat(path_.c_str(), &info) == 0) {
        nameTaken_ = true;
        return;
    }
    // A temporary file already there was left by a run killed while writing, or belongs to another copy
    // of the game writing the same file right now; that copy then finds its file gone and gives way
    // (publish). Twice, for the moment when two copies start together.
    for (int attempt = 0; attempt < 2 && fd_ < 0; ++attempt) {
        unlink(temporary_.c_str());
        fd_ = createExclusive(temporary_);
    }
    if (fd_ < 0) {
        failed_ = true;
    }
}

void NewFileWriter::write(const void* data, size_t length) {
    if (fd_ < 0) {
        return;
    }
    bytes_.append(static_cast<const char*>(data), length);
    if (!writeAll(fd_, static_cast<const char*>(data), length)) {
        fail();
    }
}

void NewFileWriter::publish() {
    if (fd_ < 0) {
        return;
    }
    if (!syncToDisk(fd_)) {
        fail();
        return;
    }
    // The open file itself is linked, not the temporary name: another copy of the game may have removed
    // our temporary file and begun its own under that name, and its half-written file must never be
    // published as ours.
    const std::string self = "/proc/self/fd/" + std::to_string(fd_);
    if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path_.c_str(), AT_SYMLINK_FOLLOW) == 0) {
        published_ = true;
        removeOwnTemporary();
        return;
    }
    const int error = errno;
    struct stat own;
    const bool takenOver = fstat(fd_, &own) == 0 && own.st_nlink == 0;
    if (error == EEXIST || takenOver) {
        // The name was taken after begin looked, or another copy is writing the same file.
        nameTaken_ = true;
        removeOwnTemporary();
    } else if (linksUnsupported(error)) {
        removeOwnTemporary();
        writeInPlace();
    } else {
        fail();
    }
}

void NewFileWriter::writeWhole(const std::string& bytes) {
    begin();
    write(bytes.data(), bytes.size());
    publish();
}

void NewFileWriter::writeInPlace() {
    const int fd = createExclusive(path_);
    if (fd < 0) {
        nameTaken_ = errno == EEXIST;
        failed_ = !nameTaken_;
        return;
    }
    bool written = writeAll(fd, bytes_.data(), bytes_.size()) && syncToDisk(fd);
    written = ::close(fd) == 0 && written;
    if (!written) {
        // The file is the one just created, so removing it loses nothing of anyone else's; a cut-off
        // file would block every later one, since an existing file is never replaced.
        unlink(path_.c_str());
        failed_ = true;
        return;
    }
    published_ = true;
}

void NewFileWriter::removeOwnTemporary() {
    if (fd_ < 0) {
        return;
    }
    // Only while the temporary name still leads to our own file: another copy's stays.
    struct stat own;
    struct stat named;
    if (fstat(fd_, &own) == 0 && lstat(temporary_.c_str(), &named) == 0 && own.st_dev == named.st_dev &&
        own.st_ino == named.st_ino) {
        unlink(temporary_.c_str());
    }
    ::close(fd_);
    fd_ = -1;
}

void NewFileWriter::fail() {
    failed_ = true;
    removeOwnTemporary();
}
