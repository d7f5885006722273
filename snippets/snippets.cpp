#include "snippets.h"

namespace snippets {

namespace {

// Most pieces stand on a line of their own: a line break before and one after.
Piece line(const char *text) { return Piece{1, text, 1}; }

const QList<Snippet> table = {
    // Run menu: one control-panel applet each.
    {"mAccessibilityOptions", {line(R"(    Run "Accessibility")")}},
    {"mAddRemoveProgram", {line(R"(    Run "Add or Remove Program")")}},
    {"mDisplayProperties", {line(R"(    Run "Display Properties")")}},
    {"mWindowsFirewall", {line(R"(    Run "Windows Firewall")")}},
    {"mAddHardwareWizard", {line(R"(    Run "Add Hardware Wizard")")}},
    {"mInternetProperties", {line(R"(    Run "Internet Properties")")}},
    {"mRegionalLanguageOptions", {line(R"(    Run "Regional and Language Options")")}},
    {"mGameController", {line(R"(    Run "Game Controller")")}},
    {"mMouseProperties", {line(R"(    Run "Mouse")")}},
    {"mSoundProperties", {line(R"(    Run "Sound")")}},
    {"mNetworkConnections", {line(R"(    Run "Network Connections")")}},
    {"mUserAccounts", {line(R"(    Run "User Accounts")")}},
    {"mSystemProperties", {line(R"(    Run "System Properties")")}},
    {"mDateTimeProperties", {line(R"(    Run "Date and Time Properties")")}},

    // Examples menu: the language itself.
    {"mMessageBoxTypes", {
        line(R"(    msgbox "This is a simple MessageBox.")"),
        line(R"(    msgbox "This is a information MessageBox", vbInformation)"),
        line(R"(    msgbox "This is a exclamation MessageBox", vbExclamation)"),
        line(R"(    msgbox "This is a critical/error MessageBox", vbCritical)"),
        line(R"(    msgbox "This is a question MessageBox", vbQuestion)"),
    }},
    {"mMessageBoxwithButtons", {
        line(R"(    msgbox "This is a MessageBox with button [OK] only", vbOkOnly)"),
        line(R"(    msgbox "This is a MessageBox with buttons [OK] [CANCEL]", vbOKCancel)"),
        line(R"(    msgbox "This is a MessageBox with buttons [YES] [NO]", vbYesNo)"),
        line(R"(    msgbox "This is a MessageBox with buttons [YES] [NO] [CANCEL]", vbYesNoCancel)"),
        line(R"(    msgbox "This is a MessageBox with buttons [RETRY] [CANCEL]", vbRetryCancel)"),
        line(R"(    msgbox "This is a MessageBox with [ABORT] [RETRY] AND [IGNORE] buttons", vbAbortRetryIgnore)"),
    }},
    {"mMessageBoxButtonsCoding", {
        Piece{1, R"(    reply = MsgBox("Click on a button", vbYesNoCancel))", 2},
        line(R"(    Select Case reply)"),
        line(R"(        Case vbYes)"),
        line(R"(            MsgBox "you clicked  [YES]  button")"),
        line(R"(        Case vbNo)"),
        line(R"(            MsgBox "you clicked  [NO]  button")"),
        line(R"(        Case vbCancel)"),
        line(R"(            MsgBox "you clicked  [CANCEL]  button")"),
        line(R"(    End Select)"),
    }},
    {"mInputBox", {
        line(R"(    userName = InputBox("What is your name?"))"),
        line(R"(    MsgBox "Your name is " & userName)"),
    }},
    {"mSumCalculator", {
        line(R"(    xValue = InputBox("Enter a value for X"))"),
        line(R"(    yValue = InputBox("Enter a value for Y"))"),
        line(R"(    Sum = CInt(xValue) + CInt(yValue))"),
        line(R"(    msgbox "Sum is " & Sum)"),
    }},
    {"mDeclaringVariables", {
        line(R"('<<<REMEMBER! IN VORNIX CODER YOU CAN NOT DEFINE VARIABLES DIRECTLY)"),
        line(R"('<<<you don't need to declare variable but simply put your varible in your code)"),
        line(R"('<<<To specify the format use the "C" Convertion)"),
        Piece{1, R"('<<<i.e. for Integer Convertion use CInt)", 2},
        line(R"(    mIntegerVariable = CInt(inputbox("Integer Value i.e. 123")))"),
        line(R"(    mSingleVariable = CSng(inputbox("Single Value i.e. 123.1234")))"),
        line(R"(    mDoubleVariable = CDbl(inputbox("Double Value i.e. 123.12345678")))"),
        line(R"(    msgbox "Integer Value = " & mIntegerVariable )"), // the blank at the end belongs
        line(R"(    msgbox "Single Value = " & mSingleVariable)"),
        line(R"(    msgbox "Double Value = " & mDoubleVariable)"),
    }},

    // More Commands menu: the program's own commands.
    {"mFocusApplication", {
        line(R"('<<<Activates Notepad if is open)"),
        Piece{1, R"(    AppActivate "Untitled - Notepad", True)", 0},
    }},
    {"mSendKeys", {
        line(R"('<<< Opens Calculator, SendKeys from 1 to 100 and Adds and then Exit Calculator)"),
        line(R"(    ReturnValue = Shell("CALC.EXE"))"),
        line(R"(    AppActivate ReturnValue)"),
        line(R"(    SendKeys "123456789" & "{+}" & "123456789")"),
        line(R"(    SendKeys "987654321" & "{-}" & "123456789")"),
        line(R"(    SendKeys "987654321" & "{/}" & "321")"),
        line(R"(    SendKeys "1234" & "{*}" & "4321")"),
        line(R"(    SendKeys "%{F4}")"),
    }},
    {"mRun", {
        line(R"('<<<Runs Micrsoft Word)"),
        line("'Example:\r\n\r\nrun \"winword.exe\""),
    }},
    {"mShell", {
        line(R"('<<<Runs Calcuator)"),
        line(R"(    Shell("CALC.EXE"))"),
    }},
    {"mDeleteFile", {
        Piece{1, R"('<<<Delete the File [autorun.inf])", 0},
        line(R"(    Kill "C:\autorun.inf.bat")"),
    }},
    {"mRenameFile", {
        Piece{0, R"('<<<If [abc.txt] file exists in c:\ it will be renamed as "xyz.txt")", 1},
        line(R"(    rename "c:\abc.txt" , "xyz.txt")"),
    }},
    {"mCopyFile", {
        line(R"('<<<Copy a File[d:\myFile] to [c:\myFile])"),
        line(R"('<<<FileCopy "d:\myfile.bmp", "c:\myFile.bmp")"),
    }},
    {"mGetFileLength", {line(R"(    msgbox filelen("c:\windows\notepad.exe"))")}},
    {"mMakeDirectory", {line(R"(    mkdir "d:\myDirectory")")}},
};

} // namespace

const QList<Snippet> &all()
{
    return table;
}

const Snippet *find(const QString &menuControl)
{
    for (const Snippet &s : table)
        if (menuControl == QLatin1String(s.menuControl))
            return &s;
    return nullptr;
}

QString pieceText(const Piece &piece)
{
    const QString crlf = QStringLiteral("\r\n");
    return crlf.repeated(piece.before) + QString::fromUtf8(piece.text) + crlf.repeated(piece.after);
}

void insert(const Snippet &snippet, Editor &editor)
{
    for (const Piece &piece : snippet.pieces)
        editor.replaceSelection(pieceText(piece));
}

} // namespace snippets
