#include "ViewEngine.h"

#include "AvatarNetwork.h"
#include "TextInputAccessible.h"

#include <QQmlComponent>
#include <QQmlEngine>

namespace vorlie {
namespace {

// One factory for the process: the engine keeps a pointer to it.
AvatarNetworkFactory &avatarNetworkFactory()
{
    static AvatarNetworkFactory factory;
    return factory;
}

} // namespace

ViewEngine::ViewEngine()
    : m_engine(std::make_unique<QQmlEngine>())
{
    TextInputAccessible::install();
    m_engine->setNetworkAccessManagerFactory(&avatarNetworkFactory());
    // The screen modules are compiled in, under the resource root.
    m_engine->addImportPath(QStringLiteral("qrc:/"));
}

ViewEngine::~ViewEngine() = default;

void ViewEngine::compileAhead(const QUrl &url)
{
    m_compiled.push_back(std::make_unique<QQmlComponent>(m_engine.get(), url, QQmlComponent::Asynchronous));
}

void ViewEngine::letGo(const QUrl &url)
{
    std::erase_if(m_compiled, [&url](const std::unique_ptr<QQmlComponent> &compiled) { return compiled->url() == url; });
}

} // namespace vorlie
