#include "options.h"

#include <QCommandLineParser>

namespace {

bool parseSeconds(const QString &text, qint64 &seconds)
{
    bool ok = false;
    seconds = text.toLongLong(&ok);
    return ok && seconds >= 0 && seconds <= INT32_MAX;
}

// One of the console host's //options, in any letter case. Options of Windows' host that
// have no meaning here are refused by name.
bool hostOption(const QString &argument, RunOptions &options, QString &message)
{
    const QString option = argument.mid(2).toLower();
    const QString value = option.section(QLatin1Char(':'), 1);
    const QString name = option.section(QLatin1Char(':'), 0, 0);
    const bool hasValue = option.contains(QLatin1Char(':'));
    auto refuse = [&](const char *why) {
        message = QStringLiteral("%1 is not available here: %2").arg(argument, QLatin1String(why));
        return false;
    };
    if (!hasValue) {
        if (name == QLatin1String("nologo")) { options.logo = false; return true; }
        if (name == QLatin1String("logo")) { options.logo = true; return true; }
        if (name == QLatin1String("b")) { options.interactive = false; return true; }
        if (name == QLatin1String("i")) { options.interactive = true; return true; }
        if (name == QLatin1String("u")) { options.utf16 = true; return true; }
        if (name == QLatin1String("?")) { options.mode = RunOptions::Help; return true; }
        if (name == QLatin1String("d") || name == QLatin1String("x"))
            return refuse("vbsrun has no script debugger");
        if (name == QLatin1String("s"))
            return refuse("vbsrun keeps no saved options; give them on each command line");
    }
    if (name == QLatin1String("t")) {
        if (!hasValue || !parseSeconds(value, options.timeoutSeconds)) {
            message = QStringLiteral("%1: //T takes a number of seconds, as in //T:30").arg(argument);
            return false;
        }
        return true;
    }
    if (name == QLatin1String("e")) {
        if (value == QLatin1String("vbscript") || value == QLatin1String("vbs"))
            return true;
        message = QStringLiteral("%1: there is no script engine \"%2\" here; vbsrun runs VBScript only")
                      .arg(argument, argument.mid(4));
        return false;
    }
    if (name == QLatin1String("h"))
        return refuse("there is no default script host to register on Linux");
    if (name == QLatin1String("job"))
        return refuse("vbsrun runs .vbs files, not the jobs of .wsf files");
    message = QStringLiteral("unknown host option %1 (vbsrun //? lists the options)").arg(argument);
    return false;
}

} // namespace

bool parseRunOptions(const QStringList &arguments, RunOptions &options, QString &message)
{
    // The //options come before the script's name; everything from that name on belongs to
    // the script. What is left goes to QCommandLineParser, which stops at the first
    // positional argument.
    const QCommandLineOption timeout(QStringLiteral("timeout"), QString(), QStringLiteral("seconds"));
    const QCommandLineOption execute(QStringLiteral("execute"));
    const QCommandLineOption check(QStringLiteral("check"));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringLiteral("version"));
    QStringList rest{QStringLiteral("vbsrun")};
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        if (a.startsWith(QLatin1String("//"))) {
            if (!hostOption(a, options, message))
                return false;
            continue;
        }
        if (a == QLatin1String("--") || !a.startsWith(QLatin1Char('-')) || a == QLatin1String("-")) {
            rest += arguments.mid(i);
            break;
        }
        rest << a;
        if (a == QLatin1String("--timeout") && i + 1 < arguments.size())
            rest << arguments[++i];
    }

    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOptions({timeout, execute, check, help, version});
    if (!parser.parse(rest)) {
        message = parser.errorText();
        return false;
    }
    if (parser.isSet(timeout) && !parseSeconds(parser.value(timeout), options.timeoutSeconds)) {
        message = QStringLiteral("--timeout takes a number of seconds from 0 to 2147483647, not \"%1\"")
                      .arg(parser.value(timeout));
        return false;
    }
    if (parser.isSet(execute) && parser.isSet(check)) {
        message = QStringLiteral("--execute and --check do not go together");
        return false;
    }
    if (parser.isSet(help) || options.mode == RunOptions::Help) {
        options.mode = RunOptions::Help;
        return true;
    }
    if (parser.isSet(version)) {
        options.mode = RunOptions::Version;
        return true;
    }
    options.mode = parser.isSet(execute) ? RunOptions::Execute : parser.isSet(check) ? RunOptions::Check : RunOptions::Run;
    QStringList positional = parser.positionalArguments();
    if (positional.isEmpty()) {
        message = QStringLiteral("no script given (vbsrun --help shows how to call it)");
        return false;
    }
    options.script = positional.takeFirst();
    options.scriptArguments = positional;
    if (options.mode != RunOptions::Run && !options.scriptArguments.isEmpty()) {
        message = QStringLiteral("%1 takes no arguments after the script's name")
                      .arg(options.mode == RunOptions::Execute ? QLatin1String("--execute") : QLatin1String("--check"));
        return false;
    }
    return true;
}

QString runUsage()
{
    return QStringLiteral(
        "Usage: vbsrun [OPTIONS] SCRIPT [ARGUMENTS...]\n"
        "Runs a VBScript file on the console, as Windows' console script host does.\n"
        "\n"
        "Options:\n"
        "  --timeout N     stop the script after N seconds (0: no limit, the default)\n"
        "  --check         compile only: print the first compile error, run nothing\n"
        "  --execute       run the file as Vornix Coder's Execute button runs the editor\n"
        "  --help, -h      print this help\n"
        "  --version       print the version\n"
        "  --              end of the options: the next argument is the script\n"
        "\n"
        "Options of the console script host (any letter case):\n"
        "  //B             batch mode: no Echo, MsgBox takes its default button and\n"
        "                  InputBox its default text; uncaught errors still print\n"
        "  //I             interactive mode (the default)\n"
        "  //T:N           the same as --timeout N\n"
        "  //E:vbscript    the script engine; VBScript is the only one\n"
        "  //logo          print a banner first; //nologo (the default) prints none\n"
        "  //U             write the output as UTF-16LE\n"
        "  //?             print this help\n"
        "\n"
        "Arguments after the script are the script's: WScript.Arguments holds them all,\n"
        "WScript.Arguments.Named those like /name:value, /name, /name+ or /name-.\n"
        "A first line that starts with #! is skipped, so a script can run as a command.\n"
        "\n"
        "Exit codes: 0 success, the code given to WScript.Quit, 1 an uncaught script\n"
        "error, 2 wrong options or a script that cannot be read. A Quit code outside\n"
        "0-255 exits with its low eight bits (-1 gives 255), or 255 where those are 0.\n");
}
