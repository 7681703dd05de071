// The screens as assistive technology finds them on the accessibility bus:
// read from another connection over AT-SPI, as a screen reader (or any other
// client of that bus) reads them.
#include "AtSpiReader.h"
#include "ViewChecks.h"
#include "ViewWorld.h"

#include <QTest>
#include <gtest/gtest.h>

namespace vorlie::testing {
namespace {

// Qt looks at this once, when its accessibility bridge starts with the
// application: before any test runs.
[[maybe_unused]] const bool bridgeAlwaysOn = qputenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");

const QUrl signInView(QStringLiteral("qrc:/Vorlie/SignIn/MacSignInView.qml"));

// Types as a person would, one key at a time.
void type(QQuickWindow *window, const QString &text)
{
    for (const QChar c : text)
        QTest::keyClick(window, c.toLatin1());
}

// Shown and given the keyboard, as a person finds a window.
void showActive(QQuickWindow &window)
{
    window.show();
    ViewWorld::spinUntil([&] { return window.isExposed(); });
    window.requestActivate();
    ViewWorld::spinUntil([&] { return window.isActive(); });
}

const AtSpiNode *withRole(const QList<AtSpiNode> &nodes, AtSpiNode::Role role)
{
    const auto found = std::find_if(nodes.begin(), nodes.end(), [&](const AtSpiNode &n) { return n.role == role; });
    return found == nodes.end() ? nullptr : &*found;
}

} // namespace

// One accessibility bus for the whole run: Qt's bridge joins the first one
// it sees and stays with it.
class AtSpiTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { reader = new AtSpiReader; }
    static void TearDownTestSuite()
    {
        delete reader;
        reader = nullptr;
    }

    static AtSpiReader *reader;
};

AtSpiReader *AtSpiTest::reader = nullptr;

TEST_F(AtSpiTest, ATypedPasswordIsAPasswordFieldWhoseCharactersNoClientCanRead)
{
    // None of its characters is in the field's name in either language.
    const QString password = QStringLiteral("7#Zq!xK9");
    for (const AppLanguage language : {AppLanguage::english, AppLanguage::german}) {
        SCOPED_TRACE(storedText(language).toStdString());
        ViewWorld world(language);
        std::unique_ptr<QQuickItem> form(qobject_cast<QQuickItem *>(world.ui.create(signInView)));
        ASSERT_TRUE(form);
        const auto window = world.show(form.get());
        showActive(*window);
        form->forceActiveFocus();
        QQuickItem *email = form->findChild<QQuickItem *>(QStringLiteral("emailField"));
        ASSERT_TRUE(ViewWorld::spinUntil([&] { return email && email->hasActiveFocus(); }));
        type(window.get(), QStringLiteral("quorrin@example.com"));
        QTest::keyClick(window.get(), Qt::Key_Return);
        QQuickItem *passwordField = form->findChild<QQuickItem *>(QStringLiteral("passwordField"));
        ASSERT_TRUE(ViewWorld::spinUntil([&] { return passwordField->hasActiveFocus(); }));
        type(window.get(), password);
        ASSERT_EQ(passwordField->property("text").toString(), password);

        QList<AtSpiNode> nodes;
        ASSERT_TRUE(ViewWorld::spinUntil([&] { return withRole(nodes = reader->nodes(), AtSpiNode::passwordText); }))
            << "no password field on the accessibility bus";
        const AtSpiNode &field = *withRole(nodes, AtSpiNode::passwordText);
        EXPECT_EQ(field.name, qtTrId("onboarding.auth.password_placeholder"));
        EXPECT_EQ(field.content.value_or(QString()).size(), password.size()) << "one mask character per typed one";
        const struct {
            const char *channel;
            QString said;
        } channels[] = {
            {"text", field.content.value_or(QString())}, {"name", field.name}, {"description", field.description}};
        for (const auto &channel : channels) {
            const bool leaks =
                std::any_of(password.begin(), password.end(), [&](QChar c) { return channel.said.contains(c); });
            EXPECT_FALSE(leaks) << channel.channel << " gives away a character: " << channel.said.toStdString();
        }
        for (const AtSpiNode &node : nodes)
            EXPECT_FALSE(node.content.value_or(QString()).contains(password) || node.name.contains(password)
                         || node.description.contains(password))
                << node.roleName.toStdString();
    }
}

} // namespace vorlie::testing
