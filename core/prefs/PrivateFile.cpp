#include "PrivateFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace vorlie {
namespace {

constexpr QFile::Permissions ownerOnlyDir = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
constexpr QFile::Permissions ownerOnlyFile = QFile::ReadOwner | QFile::WriteOwner;
// The "User" flags describe the calling user, not the mode bits.
constexpr QFile::Permissions modeBits = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
    | QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther
    | QFile::ExeOther;

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

} // namespace

bool preparePrivateDirectory(const QString &path)
{
    return makeDirectory(path);
}

bool preparePrivateFile(const QString &path)
{
    const QFileInfo info(path);
    if (!makeDirectory(info.absolutePath()))
        return false;
    QFile file(path);
    if (!info.exists()) {
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly, ownerOnlyFile))
            return true;
        // Lost a race with the other process creating it: fall through.
        if (!QFileInfo::exists(path))
            return false;
    }
    if (!QFileInfo(path).isFile())
        return false;
    if ((file.permissions() & modeBits) != ownerOnlyFile)
        return file.setPermissions(ownerOnlyFile);
    return true;
}

bool canHoldPrivateFile(const QString &path)
{
    const QFileInfo file(path);
    if (file.exists())
        return file.isFile() && file.isReadable() && file.isWritable() && QFileInfo(file.absolutePath()).isWritable();
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

} // namespace vorlie
