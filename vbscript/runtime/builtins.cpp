#include "builtins.h"

#include <QHash>

namespace vbs {

namespace {

QHash<QString, const Builtin *> buildIndex()
{
    QHash<QString, const Builtin *> index;
    for (const Builtin *table : {runtime::conversionFunctions, runtime::stringFunctions,
                                 runtime::mathFunctions, runtime::arrayFunctions,
                                 runtime::dateFunctions, runtime::infoFunctions,
                                 runtime::dialogFunctions, runtime::objectFunctions,
                                 runtime::formatFunctions, runtime::byteFunctions})
        for (const Builtin *b = table; b->name; ++b)
            index.insert(QString::fromLatin1(b->name).toLower(), b);
    return index;
}

QHash<QString, Value> buildConstants()
{
    QHash<QString, Value> c;
    // The numeric constants are Integers, as VBScript's are, except the few that are Longs:
    // vbObjectError, the colours and the MsgBox flags above 32767.
    auto i = [&c](const char *name, int v) { c.insert(QString::fromLatin1(name).toLower(), Value::integer(int16_t(v))); };
    auto l = [&c](const char *name, int v) { c.insert(QString::fromLatin1(name).toLower(), Value::lng(v)); };
    auto s = [&c](const char *name, const QString &v) { c.insert(QString::fromLatin1(name).toLower(), Value::string(v)); };
    // MsgBox buttons, icons, defaults and results.
    i("vbOKOnly", 0); i("vbOKCancel", 1); i("vbAbortRetryIgnore", 2); i("vbYesNoCancel", 3);
    i("vbYesNo", 4); i("vbRetryCancel", 5); i("vbCritical", 16); i("vbQuestion", 32);
    i("vbExclamation", 48); i("vbInformation", 64); i("vbDefaultButton1", 0);
    i("vbDefaultButton2", 256); i("vbDefaultButton3", 512); i("vbDefaultButton4", 768);
    i("vbApplicationModal", 0); i("vbSystemModal", 4096); l("vbMsgBoxHelpButton", 16384);
    l("vbMsgBoxSetForeground", 65536); l("vbMsgBoxRight", 524288); l("vbMsgBoxRtlReading", 1048576);
    i("vbOK", 1); i("vbCancel", 2); i("vbAbort", 3); i("vbRetry", 4); i("vbIgnore", 5);
    i("vbYes", 6); i("vbNo", 7);
    // VarType results.
    i("vbEmpty", 0); i("vbNull", 1); i("vbInteger", 2); i("vbLong", 3); i("vbSingle", 4);
    i("vbDouble", 5); i("vbCurrency", 6); i("vbDate", 7); i("vbString", 8); i("vbObject", 9);
    i("vbError", 10); i("vbBoolean", 11); i("vbVariant", 12); i("vbDataObject", 13);
    i("vbDecimal", 14); i("vbByte", 17); i("vbArray", 8192);
    // Comparison, dates, tristate, colours.
    i("vbBinaryCompare", 0); i("vbTextCompare", 1); i("vbDatabaseCompare", 2);
    i("vbSunday", 1); i("vbMonday", 2); i("vbTuesday", 3); i("vbWednesday", 4);
    i("vbThursday", 5); i("vbFriday", 6); i("vbSaturday", 7); i("vbUseSystemDayOfWeek", 0);
    i("vbUseSystem", 0); i("vbFirstJan1", 1); i("vbFirstFourDays", 2); i("vbFirstFullWeek", 3);
    i("vbGeneralDate", 0); i("vbLongDate", 1); i("vbShortDate", 2); i("vbLongTime", 3); i("vbShortTime", 4);
    i("vbUseDefault", -2); i("vbTrue", -1); i("vbFalse", 0);
    l("vbBlack", 0x0); l("vbRed", 0xFF); l("vbGreen", 0xFF00); l("vbYellow", 0xFFFF);
    l("vbBlue", 0xFF0000); l("vbMagenta", 0xFF00FF); l("vbCyan", 0xFFFF00); l("vbWhite", 0xFFFFFF);
    l("vbObjectError", int(0x80040000));
    // Strings.
    s("vbCr", QStringLiteral("\r")); s("vbLf", QStringLiteral("\n")); s("vbCrLf", QStringLiteral("\r\n"));
    s("vbNewLine", QStringLiteral("\r\n")); s("vbTab", QStringLiteral("\t"));
    s("vbFormFeed", QStringLiteral("\f")); s("vbVerticalTab", QStringLiteral("\v"));
    s("vbNullChar", QString(QChar(0))); s("vbNullString", QString());
    return c;
}

} // namespace

const Builtin *findBuiltin(const QString &name)
{
    static const QHash<QString, const Builtin *> index = buildIndex();
    return index.value(name.toLower());
}

const Value *findConstant(const QString &name)
{
    static const QHash<QString, Value> constants = buildConstants();
    auto it = constants.constFind(name.toLower());
    return it == constants.constEnd() ? nullptr : &*it;
}

} // namespace vbs
