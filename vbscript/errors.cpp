#include "errors.h"

#include <QHash>

namespace vbs {

namespace {

struct Entry {
    int32_t number;
    const char *text;
};

// VBScript's documented runtime and compile error texts.
const Entry entries[] = {
    {5, "Invalid procedure call or argument"},
    {6, "Overflow"},
    {7, "Out of memory"},
    {9, "Subscript out of range"},
    {10, "This array is fixed or temporarily locked"},
    {11, "Division by zero"},
    {13, "Type mismatch"},
    {14, "Out of string space"},
    {17, "Can't perform requested operation"},
    {28, "Out of stack space"},
    {35, "Sub or Function not defined"},
    {48, "Error in loading DLL"},
    {51, "Internal error"},
    {52, "Bad file name or number"},
    {53, "File not found"},
    {54, "Bad file mode"},
    {55, "File already open"},
    {57, "Device I/O error"},
    {58, "File already exists"},
    {61, "Disk full"},
    {62, "Input past end of file"},
    {67, "Too many files"},
    {68, "Device unavailable"},
    {70, "Permission denied"},
    {71, "Disk not ready"},
    {74, "Can't rename with different drive"},
    {75, "Path/File access error"},
    {76, "Path not found"},
    {91, "Object variable not set"},
    {92, "For loop not initialized"},
    {94, "Invalid use of Null"},
    {322, "Can't create necessary temporary file"},
    {424, "Object required"},
    {429, "ActiveX component can't create object"},
    {430, "Class doesn't support Automation"},
    {432, "File name or class name not found during Automation operation"},
    {438, "Object doesn't support this property or method"},
    {440, "Automation error"},
    {445, "Object doesn't support this action"},
    {446, "Object doesn't support named arguments"},
    {447, "Object doesn't support current locale setting"},
    {448, "Named argument not found"},
    {449, "Argument not optional"},
    {450, "Wrong number of arguments or invalid property assignment"},
    {451, "Object not a collection"},
    {453, "Specified DLL function not found"},
    {457, "This key is already associated with an element of this collection"},
    {458, "Variable uses an Automation type not supported in VBScript"},
    {462, "The remote server machine does not exist or is unavailable"},
    {481, "Invalid picture"},
    {500, "Variable is undefined"},
    {501, "Illegal assignment"},
    {502, "Object not safe for scripting"},
    {503, "Object not safe for initializing"},
    {504, "Object not safe for creating"},
    {505, "Invalid or unqualified reference"},
    {506, "Class not defined"},
    {507, "An exception occurred"},
    {5016, "Regular Expression object expected"},
    {5017, "Syntax error in regular expression"},
    {5018, "Unexpected quantifier"},
    {5019, "Expected ']' in regular expression"},
    {5020, "Expected ')' in regular expression"},
    {5021, "Invalid range in character set"},
    {5300, "The script ran past its time limit and was stopped"},
    {5302, "Stopped by the user"},
    {32811, "Element not found"},
    {1001, "Out of memory"},
    {1002, "Syntax error"},
    {1003, "Expected ':'"},
    {1005, "Expected '('"},
    {1006, "Expected ')'"},
    {1007, "Expected ']'"},
    {1010, "Expected identifier"},
    {1011, "Expected '='"},
    {1012, "Expected 'If'"},
    {1013, "Expected 'To'"},
    {1014, "Expected 'End'"},
    {1015, "Expected 'Function'"},
    {1016, "Expected 'Sub'"},
    {1017, "Expected 'Then'"},
    {1018, "Expected 'Wend'"},
    {1019, "Expected 'Loop'"},
    {1020, "Expected 'Next'"},
    {1021, "Expected 'Case'"},
    {1022, "Expected 'Select'"},
    {1023, "Expected expression"},
    {1024, "Expected statement"},
    {1025, "Expected end of statement"},
    {1026, "Expected integer constant"},
    {1027, "Expected 'While' or 'Until'"},
    {1028, "Expected 'While', 'Until' or end of statement"},
    {1029, "Expected 'With'"},
    {1030, "Identifier too long"},
    {1031, "Invalid number"},
    {1032, "Invalid character"},
    {1033, "Unterminated string constant"},
    {1034, "Unterminated comment"},
    {1037, "Invalid use of 'Me' keyword"},
    {1038, "'loop' without 'do'"},
    {1039, "Invalid 'exit' statement"},
    {1040, "Invalid 'for' loop control variable"},
    {1041, "Name redefined"},
    {1042, "Must be first statement on the line"},
    {1043, "Cannot assign to non-ByVal argument"},
    {1044, "Cannot use parentheses when calling a Sub"},
    {1045, "Expected literal constant"},
    {1046, "Expected 'In'"},
    {1047, "Expected 'Class'"},
    {1048, "Must be defined inside a Class"},
    {1049, "Expected Let or Set or Get in property declaration"},
    {1050, "Expected 'Property'"},
    {1051, "Number of arguments must be consistent across properties specification"},
    {1052, "Cannot have multiple default property/method in a Class"},
    {1053, "Class initialize or terminate do not have arguments"},
    {1054, "Property set or let must have at least one argument"},
    {1055, "Unexpected 'Next'"},
    {1056, "'Default' can be specified only on 'Property Get'"},
    {1057, "'Default' specification must also specify 'Public'"},
    {1058, "'Default' specification can only be on Property Get"},
};

} // namespace

int32_t errorNumberOf(int32_t code)
{
    const uint32_t c = uint32_t(code);
    if ((c & 0xFFFF0000u) == 0x800A0000u)
        return int32_t(c & 0xFFFF);
    static const QHash<uint32_t, int32_t> system = {
        {0x8007000Eu, 7},   // E_OUTOFMEMORY
        {0x80070057u, 5},   // E_INVALIDARG
        {0x80004001u, 445}, // E_NOTIMPL
        {0x80004002u, 430}, // E_NOINTERFACE
        {0x80070005u, 70},  // E_ACCESSDENIED
        {0x80070002u, 53},  // file not found
        {0x80070003u, 76},  // path not found
        {0x80070050u, 58},  // file exists
        {0x800700B7u, 58},  // already exists
        {0x80070020u, 70},  // sharing violation
        {0x80020005u, 13},  // DISP_E_TYPEMISMATCH
        {0x8002000Au, 6},   // DISP_E_OVERFLOW
        {0x8002000Bu, 9},   // DISP_E_BADINDEX
        {0x80020003u, 438}, // DISP_E_MEMBERNOTFOUND
        {0x80020006u, 438}, // DISP_E_UNKNOWNNAME
        {0x8002000Eu, 450}, // DISP_E_BADPARAMCOUNT
        {0x8002000Fu, 449}, // DISP_E_PARAMNOTOPTIONAL
        {0x80020007u, 446}, // DISP_E_NONAMEDARGS
        {0x80020008u, 458}, // DISP_E_BADVARTYPE
        {0x80040154u, 429}, // REGDB_E_CLASSNOTREG
        {0x800401F3u, 429}, // CO_E_CLASSSTRING
    };
    return system.value(c, code);
}

QString ScriptError::hostDescription() const
{
    const QString text = description.isEmpty() ? errorText(number) : description;
    return name.isEmpty() ? text : text + QStringLiteral(": '") + name + QLatin1Char('\'');
}

QString errorText(int32_t number)
{
    static const QHash<int32_t, QString> table = [] {
        QHash<int32_t, QString> t;
        for (const Entry &e : entries)
            t.insert(e.number, QString::fromLatin1(e.text));
        return t;
    }();
    return table.value(number, QStringLiteral("Unknown runtime error"));
}

} // namespace vbs
