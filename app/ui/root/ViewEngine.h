#pragma once

#include <QUrl>
#include <memory>
#include <vector>

class QQmlComponent;
class QQmlEngine;

namespace vorlie {

// The QML engine with the screen modules: made before the program's
// services, so that the window shown at start compiles on the engine's
// loader thread while they are built.
class ViewEngine {
public:
    ViewEngine();
    ~ViewEngine();
    ViewEngine(const ViewEngine &) = delete;
    ViewEngine &operator=(const ViewEngine &) = delete;

    // Starts compiling a view in the background. Creating it later takes up
    // the compiled view, or waits for what is left.
    void compileAhead(const QUrl &url);
    // Once the view was created, its compile needs holding no longer: a
    // window closed for the day takes its compiled views with it.
    void letGo(const QUrl &url);

    QQmlEngine &engine() { return *m_engine; }

private:
    std::unique_ptr<QQmlEngine> m_engine;
    // Held so that the compiled views stay in the engine's cache.
    std::vector<std::unique_ptr<QQmlComponent>> m_compiled;
};

} // namespace vorlie
