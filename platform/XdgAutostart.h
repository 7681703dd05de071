#pragma once

#include "LoginItemService.h"

#include <QString>

namespace vorlie {

// Launch at login through an XDG autostart entry,
// "<config>/autostart/vorlie.desktop", which every freedesktop session reads.
// Only `notRegistered` and `enabled` ever come back: there is no approval step.
class XdgAutostart final : public LoginItemService {
public:
    // `autostartDirectory` defaults to the user's; `program` to this process's executable.
    explicit XdgAutostart(QString autostartDirectory = {}, QString program = {});

    Status status() const override;
    // Refuses (false) a program path that is not absolute or holds control
    // characters, which an Exec line cannot carry.
    bool registerItem() override;
    bool unregisterItem() override;

    QString entryPath() const;

private:
    QString m_directory;
    QString m_program;
};

// The Exec value for a program path, quoted as desktop entries require.
QString desktopEntryExec(const QString &program);

} // namespace vorlie
