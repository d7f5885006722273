#pragma once

#include <QString>
#include <cstdint>

namespace vbs {

// An error of the engine or of the script: VBScript's number and description, where it
// was raised, and the line and column (1-based; 0 when unknown).
struct ScriptError {
    int32_t number = 0;
    QString description; // VBScript's plain text, what Err.Description reads
    QString source;
    int line = 0;
    int column = 0;
    // The script's name for what failed ('x', 'obj.Method'): the message that reaches the
    // host names it, Err.Description does not.
    QString name;
    QString helpFile;
    int32_t helpContext = 0;

    // The text a host shows: "Type mismatch: 'x'".
    QString hostDescription() const;
};

// Err.Source of the engine's own errors.
inline const char *const RuntimeErrorSource = "Microsoft VBScript runtime error";
inline const char *const CompileErrorSource = "Microsoft VBScript compilation error";

// VBScript's runtime and compile error numbers that the engine raises by name.
namespace err {
enum : int32_t {
    InvalidCall = 5,
    Overflow = 6,
    OutOfMemory = 7,
    SubscriptOutOfRange = 9,
    ArrayLocked = 10,
    DivisionByZero = 11,
    TypeMismatch = 13,
    OutOfStack = 28,
    NotDefined = 35,
    BadFileName = 52,
    FileNotFound = 53,
    BadFileMode = 54,
    FileExists = 58,
    InputPastEnd = 62,
    PermissionDenied = 70,
    PathFileAccess = 75,
    PathNotFound = 76,
    ObjectNotSet = 91,
    ForNotInitialized = 92,
    InvalidNull = 94,
    ObjectRequired = 424,
    CantCreateObject = 429,
    FileOrClassNotFound = 432,
    NoSuchMember = 438,
    WrongArgs = 450,
    NotCollection = 451,
    KeyExists = 457,
    Undefined = 500,
    IllegalAssignment = 501,
    ClassNotDefined = 506,
    TimeLimit = 5300, // our own: the script ran past its time limit and was stopped
    ScriptQuit = 5301, // our own: WScript.Quit ended the script
    UserStop = 5302, // our own: the user stopped the script (Escape in the window)

    SyntaxError = 1002,
    ExpectedLParen = 1005,
    ExpectedRParen = 1006,
    ExpectedIdentifier = 1010,
    ExpectedEquals = 1011,
    ExpectedIf = 1012,
    ExpectedTo = 1013,
    ExpectedEnd = 1014,
    ExpectedFunction = 1015,
    ExpectedSub = 1016,
    ExpectedThen = 1017,
    ExpectedWend = 1018,
    ExpectedLoop = 1019,
    ExpectedNext = 1020,
    ExpectedCase = 1021,
    ExpectedSelect = 1022,
    ExpectedExpression = 1023,
    ExpectedStatement = 1024,
    ExpectedEndOfStatement = 1025,
    ExpectedInteger = 1026,
    ExpectedWhileUntil = 1027,
    ExpectedWith = 1029,
    InvalidNumber = 1031,
    InvalidCharacter = 1032,
    UnterminatedString = 1033,
    InvalidMe = 1037,
    LoopWithoutDo = 1038,
    InvalidExit = 1039,
    InvalidForVariable = 1040,
    NameRedefined = 1041,
    ParenthesesOnSub = 1044,
    ExpectedLiteral = 1045,
    ExpectedIn = 1046,
    ExpectedClass = 1047,
    ExpectedLetSetGet = 1049,
    ExpectedProperty = 1050,
    MultipleDefault = 1052,
    ClassEventArguments = 1053,
    PropertyNeedsArgument = 1054,
    UnexpectedNext = 1055,
    DefaultOnlyOnGet = 1057,
};
} // namespace err

// The VBScript error that a 32-bit error code stands for: VBScript's own facility
// (&H800A0000 + n is n) and the common system codes (&H8007000E is 7 Out of memory);
// other numbers stay as they are.
int32_t errorNumberOf(int32_t code);

// VBScript's text for an error number ("Type mismatch"); "Unknown runtime error" when the
// number is not one of VBScript's.
QString errorText(int32_t number);

} // namespace vbs
