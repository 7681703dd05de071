#pragma once

#include "InstanceRequest.h"

#include <QObject>

namespace vorlie {

// Requests reaching the running instance, from later launches or from its own
// command line. Every request asks for activation first, so the window is up
// before it is told where to go.
class InstanceRequests : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    void deliver(const InstanceRequest &request);

signals:
    // Raise the main window, using the token when there is one (see activateWindow()).
    void activateRequested(const QString &activationToken);
    // "vorlia://home": show the main content.
    void homeRequested();
    // "vorlia://status": open the status picker.
    void statusPickerRequested();
};

} // namespace vorlie
