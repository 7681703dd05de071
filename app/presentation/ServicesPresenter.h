#pragma once

#include <QObject>
#include <QQmlParserStatus>

namespace vorlie {

class AppServices;

// Base of the presenters a view creates: once QML has set it up, it is bound
// to the services of the engine that made it. Tests and C++ hosts bind a
// presenter themselves, through its constructor that takes the services.
class ServicesPresenter : public QObject, public QQmlParserStatus {
    Q_OBJECT
    Q_INTERFACES(QQmlParserStatus)

public:
    void classBegin() override {}
    void componentComplete() override;

protected:
    using QObject::QObject;
    // Called once, with the services the presenter works with.
    virtual void bind(AppServices &services) = 0;
};

} // namespace vorlie
