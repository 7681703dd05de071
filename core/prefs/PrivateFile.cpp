#include "PrivateFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vorlie {
namespace {

constexpr QFile::Permissions ownerOnlyDir = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
constexpr mode_t ownerOnlyFileMode = 0600;

QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

std::optional<struct stat> linkStatus(const QString &path)
{
    struct stat st {};
    if (::lstat(native(path).constData(), &st) != 0)
        return std::nullopt;
    return st;
}

// A directory of ours we can list, enter and write in. The mode is checked
// too, because access() grants root everything.
bool isUsableDirectory(const struct stat &st, const QString &path)
{
    return S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() && (st.st_mode & S_IRWXU) == S_IRWXU
        && ::access(native(path).constData(), R_OK | W_OK | X_OK) == 0;
}

bool makeDirectory(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return true;
    if (info.exists())
        return false;
    const QString parent = info.absolutePath();
    if (parent == info.absoluteFilePath() || !makeDirectory(parent))
        return false;
    // Another process may create it between the check and here.
    return QDir(parent).mkdir(info.fileName(), ownerOnlyDir) || QFileInfo(path).isDir();
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    int get() const { return m_fd; }

private:
    int m_fd;
};

} // namespace

bool moveAside(const QString &path)
{
    const QString broken = path + QStringLiteral(".broken");
    if (const auto old = linkStatus(broken)) {
        // Only ever our own earlier leftover; a link in it is removed, not followed.
        const bool removed = S_ISDIR(old->st_mode) ? QDir(broken).removeRecursively()
                                                   : ::unlink(native(broken).constData()) == 0;
        if (!removed)
            return false;
    }
    return std::rename(native(path).constData(), native(broken).constData()) == 0;
}

bool preparePrivateDirectory(const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (const auto st = linkStatus(absolute)) {
        // A loose directory of ours is tightened, as the files in it are.
        if (isUsableDirectory(*st, absolute))
            return (st->st_mode & 07777) == 0700 || ::chmod(native(absolute).constData(), 0700) == 0;
        if (!moveAside(absolute))
            return false;
    }
    if (!makeDirectory(QFileInfo(absolute).absolutePath()))
        return false;
    return QDir().mkdir(absolute, ownerOnlyDir) || QFileInfo(absolute).isDir();
}

bool preparePrivateFile(const QString &path, qint64 maxBytes)
{
    const QFileInfo info(path);
    if (!makeDirectory(info.absolutePath()))
        return false;
    const QByteArray name = native(path);
    if (auto st = linkStatus(path)) {
        if (S_ISLNK(st->st_mode) || (S_ISREG(st->st_mode) && st->st_size > maxBytes)) {
            if (!moveAside(path))
                return false;
        } else if (!S_ISREG(st->st_mode)) {
            return false;
        } else if ((st->st_mode & 07777) != ownerOnlyFileMode) {
            return ::chmod(name.constData(), ownerOnlyFileMode) == 0;
        } else {
            return true;
        }
    }
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, ownerOnlyFileMode);
    if (fd >= 0) {
        ::close(fd);
        return true;
    }
    // Lost a race with the other process creating it: take it if it is a plain file.
    const auto st = linkStatus(path);
    return errno == EEXIST && st && S_ISREG(st->st_mode);
}

bool canHoldPrivateFile(const QString &path)
{
    const QFileInfo file(path);
    if (const auto st = linkStatus(path)) {
        // A link is replaced and an oversized file moved aside, both inside our directory.
        if (S_ISLNK(st->st_mode))
            return QFileInfo(file.absolutePath()).isWritable();
        return S_ISREG(st->st_mode) && QFileInfo(file.absolutePath()).isWritable();
    }
    // The nearest existing ancestor must be a directory we can create in.
    QFileInfo ancestor(file.absolutePath());
    while (!ancestor.exists()) {
        const QFileInfo up(ancestor.absolutePath());
        if (up.absoluteFilePath() == ancestor.absoluteFilePath())
            return false;
        ancestor = up;
    }
    return ancestor.isDir() && ancestor.isWritable();
}

bool isSmallRegularFile(const QString &path, qint64 maxBytes)
{
    const auto st = linkStatus(path);
    return st && S_ISREG(st->st_mode) && st->st_size <= maxBytes;
}

std::optional<QByteArray> readRegularFile(const QString &directory, const QString &name, qint64 maxBytes)
{
    const FileDescriptor dir(::open(native(directory).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (dir.get() < 0)
        return std::nullopt;
    // Non-blocking, so a FIFO planted here cannot stall the open.
    const FileDescriptor file(::openat(dir.get(), native(name).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat st {};
    if (file.get() < 0 || ::fstat(file.get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > maxBytes)
        return std::nullopt;
    QByteArray bytes(static_cast<qsizetype>(st.st_size), Qt::Uninitialized);
    qsizetype filled = 0;
    // One byte more than announced tells a file that grew while we read it.
    char probe = 0;
    while (true) {
        char *target = filled < bytes.size() ? bytes.data() + filled : &probe;
        const size_t room = filled < bytes.size() ? static_cast<size_t>(bytes.size() - filled) : 1;
        const ssize_t got = ::read(file.get(), target, room);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            break;
        if (target == &probe)
            return std::nullopt;
        filled += got;
    }
    bytes.truncate(filled);
    return bytes;
}

} // namespace vorlie
