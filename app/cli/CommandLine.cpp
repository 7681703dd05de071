#include "CommandLine.h"

#include <QCommandLineParser>
#include <QStringDecoder>
#include <QStringList>

#include <algorithm>

namespace vorlie {
namespace {

using namespace Qt::StringLiterals;

// The longest accepted URL is "vorlia://status"; no need to look at more.
constexpr qsizetype maxURLLength = 64;
// What a refusal line may quote of the caller's argument.
constexpr qsizetype maxQuotedLength = 60;

// Options QGuiApplication takes out of argv after us; they are not ours to refuse.
const QStringList qtValueOptions{u"platform"_s, u"platformpluginpath"_s, u"platformtheme"_s, u"plugin"_s,
                                 u"display"_s,  u"qwindowgeometry"_s,    u"qwindowtitle"_s,   u"qwindowicon"_s,
                                 u"style"_s,    u"stylesheet"_s,         u"session"_s};
const QStringList qtFlagOptions{u"reverse"_s, u"nograb"_s, u"dograb"_s, u"sync"_s, u"widgetcount"_s};

// Control characters and anything past plain ASCII would let an argument
// break the one refusal line or the terminal; they are shown as "?".
QString quotable(const QString &argument)
{
    QString shown = argument.left(maxQuotedLength);
    std::replace_if(shown.begin(), shown.end(), [](QChar c) { return c.unicode() < 0x20 || c.unicode() > 0x7e; }, u'?');
    return argument.size() > maxQuotedLength ? shown + u"..."_s : shown;
}

CommandLine refusal(const QString &message)
{
    CommandLine refused;
    refused.action = CommandLine::Action::refuse;
    refused.message = u"vorlie: "_s + message;
    return refused;
}

void addQtOptions(QCommandLineParser &parser)
{
    for (const QString &name : qtValueOptions) {
        QCommandLineOption option(name, {}, u"value"_s);
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const QString &name : qtFlagOptions) {
        QCommandLineOption option(name);
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

} // namespace

std::optional<InstanceRequest::Kind> routeForURL(const QString &url)
{
    if (url.size() > maxURLLength)
        return std::nullopt;
    // Letter case is folded in ASCII only: Unicode folding turns the Kelvin sign into "k".
    if (std::any_of(url.begin(), url.end(), [](QChar c) { return c.unicode() > 0x7e; }))
        return std::nullopt;
    const QString folded = url.toLower();
    if (folded == u"vorlia://home")
        return InstanceRequest::Kind::home;
    if (folded == u"vorlia://status")
        return InstanceRequest::Kind::statusPicker;
    return std::nullopt;
}

CommandLine CommandLine::parse(int argc, const char *const *argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString argument = utf8(QByteArrayView(argv[i]));
        if (utf8.hasError())
            return refusal(u"an argument is not valid UTF-8"_s);
        arguments << std::move(argument);
    }
    if (arguments.isEmpty())
        arguments << u"vorlie"_s;

    QCommandLineParser parser;
    parser.setApplicationDescription(u"Share your status with the people close to you."_s);
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption version(u"version"_s, u"Show the version and exit."_s);
    const QCommandLineOption help(QStringList{u"help"_s, u"h"_s}, u"Show this help and exit."_s);
    const QCommandLineOption background(u"background"_s, u"Start to the menu-bar item without showing the window."_s);
    parser.addOptions({version, help, background});
    parser.addPositionalArgument(u"url"_s, u"vorlia://home shows your main person, vorlia://status opens the status picker."_s,
                                 u"[url]"_s);
    addQtOptions(parser);

    if (!parser.parse(arguments))
        return refusal(quotable(parser.errorText()));

    CommandLine commandLine;
    if (parser.isSet(help)) {
        commandLine.action = Action::showHelp;
        // Without an application object Qt cannot know the program's name.
        commandLine.message = parser.helpText().replace(u"<executable_name>"_s, u"vorlie"_s);
        return commandLine;
    }
    if (parser.isSet(version)) {
        commandLine.action = Action::showVersion;
        return commandLine;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1)
        return refusal(u"only one URL can be opened at a time"_s);
    if (!positional.isEmpty()) {
        commandLine.route = routeForURL(positional.first());
        if (!commandLine.route)
            return refusal(u"refused to open \""_s + quotable(positional.first())
                           + u"\": only vorlia://home and vorlia://status are accepted"_s);
    }
    commandLine.background = parser.isSet(background);
    return commandLine;
}

} // namespace vorlie
