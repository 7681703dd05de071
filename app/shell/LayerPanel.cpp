#include "LayerPanel.h"

#include "LayerQuickView.h"
#include "LayerShell.h"
#include "UiRoot.h"

#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QKeySequence>
#include <QQuickItem>
#include <QQuickWindow>

namespace vorlie {
namespace {

const QUrl panelBody(QStringLiteral("qrc:/Vorlie/Panel/PanelBody.qml"));

} // namespace

std::unique_ptr<wayland::LayerShell> LayerPanel::connectToLayers()
{
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return nullptr;
    std::unique_ptr<wayland::LayerShell> shell = wayland::LayerShell::connect();
    // A renderer the user chose is kept; the panel is then a window.
    if (shell && qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND") && qEnvironmentVariableIsEmpty("QSG_RHI_BACKEND"))
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    return shell;
}

std::unique_ptr<LayerPanel> LayerPanel::create(UiRoot &ui, std::unique_ptr<wayland::LayerShell> shell)
{
    if (!shell)
        return nullptr;
    // The desktop places the picker; the panel shows a border of its own.
    auto *body = qobject_cast<QQuickItem *>(ui.create(panelBody, {{QStringLiteral("placesPicker"), false}}));
    if (!body)
        return nullptr;
    std::unique_ptr<LayerPanel> panel(new LayerPanel(std::move(shell), body));
    if (!panel->m_view->prepare())
        return nullptr;
    return panel;
}

LayerPanel::LayerPanel(std::unique_ptr<wayland::LayerShell> shell, QQuickItem *body)
    : m_shell(std::move(shell))
    , m_view(std::make_unique<wayland::LayerQuickView>(*m_shell))
    , m_body(body)
{
    m_view->setContent(body);
    body->setFocus(true);
    m_view->window()->installEventFilter(this);
    m_placement.layer = wayland::LayerPlacement::Layer::Top;
    m_placement.keepsClearOfBars = true;
    m_placement.takesKeyboard = true;
    m_placement.role = "vorlie-panel";
    connect(m_view.get(), &wayland::LayerQuickView::shownChanged, this,
            [this] { m_body->setProperty("shown", m_view->isShown()); });
    connect(m_view.get(), &wayland::LayerQuickView::keyboardChanged, this, [this] {
        if (m_view->hasKeyboard())
            m_keyboardAskedBack = false;
        showFocus();
    });
    // A panel that grows while open (an offline line) keeps its hole in the catcher.
    const auto keepHole = [this] {
        if (m_catcher)
            m_catcher->passPointerWhere(m_placement, m_view->window()->size());
    };
    connect(m_view->window(), &QWindow::widthChanged, this, keepHole);
    connect(m_view->window(), &QWindow::heightChanged, this, keepHole);
    connect(body, SIGNAL(closeRequested()), this, SLOT(hide()));
    connect(body, SIGNAL(pickerOpenChanged()), this, SLOT(pickerOpenChanged()));
    connect(body, SIGNAL(focusRequested()), this, SLOT(takeKeyboardBack()));
    connect(body, SIGNAL(openMainWindowRequested()), this, SIGNAL(openMainWindowRequested()));
    connect(body, SIGNAL(settingsRequested()), this, SIGNAL(settingsRequested()));
    connect(body, SIGNAL(quitRequested()), this, SIGNAL(quitRequested()));
}

LayerPanel::~LayerPanel() = default;

bool LayerPanel::isShown() const
{
    return m_view->isShown();
}

void LayerPanel::show(const PanelAnchor &anchor)
{
    // Asked for again while open (the tray menu's entry): it keeps its
    // place and takes the keyboard back, unless its picker has it.
    if (m_view->isShown()) {
        if (!m_body->property("pickerOpen").toBool())
            takeKeyboardBack();
        return;
    }
    // Qt does not pass on where a StatusNotifier host was clicked, and a
    // Wayland program knows the pointer only over its own windows: unless
    // the tray tells the icon's place, the panel opens at the screen's
    // top-right corner, where most bars keep their tray.
    const QRect screen = availableGeometryAt(anchor);
    PanelAnchor where = anchor;
    if (!where.iconGeometry || !where.iconGeometry->isValid())
        where.pointer = screen.topRight();
    const EdgePlacement edge = panelEdgePlacement(m_view->window()->size(), where, screen);
    m_placement.edges = edge.edges;
    m_placement.margins = edge.margins;
    catchClicksElsewhere(true);
    m_view->show(m_placement);
}

void LayerPanel::hide()
{
    m_keyboardGivenUp = m_keyboardAskedBack = false;
    m_view->hide();
    catchClicksElsewhere(false);
}

void LayerPanel::catchClicksElsewhere(bool catching)
{
    m_catcher.reset();
    if (!catching)
        return;
    // Over the area the panel lies in, bars excepted (a click on the tray
    // toggles the panel itself), with a hole where the panel is.
    wayland::LayerPlacement everywhere;
    everywhere.layer = wayland::LayerPlacement::Layer::Top;
    everywhere.edges = Qt::TopEdge | Qt::BottomEdge | Qt::LeftEdge | Qt::RightEdge;
    everywhere.keepsClearOfBars = true;
    everywhere.role = "vorlie-panel-dismiss";
    m_catcher = std::make_unique<wayland::LayerSurface>(*m_shell, QSize(0, 0), everywhere);
    m_catcher->passPointerWhere(m_placement, m_view->window()->size());
    QImage clear(1, 1, QImage::Format_ARGB32_Premultiplied);
    clear.fill(Qt::transparent);
    m_catcher->present(clear);
    connect(m_catcher.get(), &wayland::LayerSurface::pointerPressed, this, &LayerPanel::hide, Qt::QueuedConnection);
}

void LayerPanel::pickerOpenChanged()
{
    // The picker is a window: the catcher would lie over it, and some
    // compositors give no window the keyboard while a layer asks for it.
    if (m_body->property("pickerOpen").toBool()) {
        catchClicksElsewhere(false);
        m_view->releaseKeyboard();
        m_keyboardGivenUp = true;
    }
}

void LayerPanel::takeKeyboardBack()
{
    if (m_view->isShown() && (m_keyboardGivenUp || !m_view->hasKeyboard())) {
        m_keyboardAskedBack = m_keyboardGivenUp;
        m_keyboardGivenUp = false;
        showFocus();
        m_view->takeKeyboard();
        catchClicksElsewhere(true);
    }
}

void LayerPanel::showFocus()
{
    // Asked back, the keyboard counts as the panel's: neither a late word that
    // the picker took it nor the picker's own loss of it closes the panel.
    m_body->setProperty("focused", m_view->hasKeyboard() || m_keyboardAskedBack);
}

bool LayerPanel::eventFilter(QObject *watched, QEvent *event)
{
    // Its keys do not pass through Qt's shortcuts: Quit is matched here.
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->matches(QKeySequence::Quit)) {
        emit quitRequested();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace vorlie
