#pragma once

#include <QJSEngine>
#include <QObject>
#include <QQmlEngine>

namespace vorlie {

// The composition root hands its long-lived objects to one QML engine; the
// QML singletons' create() functions fetch them from there. Nothing global:
// each engine (the app's, the widget host's, a test's) has its own set.
void provideToQml(QQmlEngine &engine, QObject *object);
QObject *providedToQml(const QQmlEngine &engine, const QMetaObject &type);

// For a QML_SINGLETON's create(): the object provided for T, kept owned by
// C++ so the engine never deletes it; null when none was provided.
template<typename T>
T *providedSingleton(QQmlEngine *engine)
{
    auto *object = qobject_cast<T *>(providedToQml(*engine, T::staticMetaObject));
    if (object)
        QJSEngine::setObjectOwnership(object, QJSEngine::CppOwnership);
    return object;
}

} // namespace vorlie
