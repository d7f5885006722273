#include "menubar.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace {

struct Item {
    const char *name;
    const char *caption; // "-" is a separator
    const char *shortcut = nullptr;
};

struct Menu {
    const char *name;
    const char *caption;
    std::initializer_list<Item> items;
};

const Menu menus[] = {
    {"mFile", "&File", {
        {"mExecute", "&Execute Code"},
        {"mFileNew", "&New Code"},
        {"mFileOpen", "&Open...", "Ctrl+O"},
        {"mFileSave", "&Save", "Ctrl+S"},
        {"mFileSaveAs", "Save &As...", "Ctrl+Shift+S"},
        {"mLine1", "-"},
        // The recently opened or saved files, shown when there are some.
        {"mRecent1", "&1"},
        {"mRecent2", "&2"},
        {"mRecent3", "&3"},
        {"mRecent4", "&4"},
        {"mRecent5", "&5"},
        {"mLine3", "-"},
        {"mFileExit", "&Exit"},
    }},
    {"mnuRun", "&Run", {
        {"mAccessibilityOptions", "&Accessibility Options"},
        {"mAddRemoveProgram", "Add or &Remove Program"},
        {"mDisplayProperties", "&Display Properties"},
        {"mWindowsFirewall", "&Windows Firewall"},
        {"mAddHardwareWizard", "Add &Hardware Wizard"},
        {"mInternetProperties", "&Internet Properties"},
        {"mRegionalLanguageOptions", "Regional and &Language Options"},
        {"mGameController", "&Game Controller"},
        {"mMouseProperties", "&Mouse Properties"},
        {"mSoundProperties", "S&ound Properties"},
        {"mNetworkConnections", "Network &Connections"},
        {"mUserAccounts", "&User Accounts"},
        {"mSystemProperties", "System &Properties"},
        {"mDateTimeProperties", "Date and &Time Properties"},
    }},
    {"mExamples", "&Examples", {
        {"mMessageBoxTypes", "&Message Box Types"},
        {"mMessageBoxwithButtons", "&Message Box with Buttons"},
        {"mMessageBoxButtonsCoding", "&Message Box Buttons Coding"},
        {"mInputBox", "&Input Box"},
        {"mSumCalculator", "&Sum Calculator"},
        {"mDeclaringVariables", "&Declaring Variables"},
    }},
    {"mMoreCommands", "&More Commands", {
        {"mFocusApplication", "&Focus Application"},
        {"mSendKeys", "&Send Keys"},
        {"mRun", "&Run"},
        {"mShell", "&Shell"},
        {"mDeleteFile", "&Kill (Delete a File)"},
        {"mRenameFile", "&Rename a File"},
        {"mCopyFile", "&Copy a File"},
        {"mGetFileLength", "&Get File Length"},
        {"mMakeDirectory", "&Make Directory"},
    }},
    {"mAbout", "&About", {
        {"mAboutProgrammer", "About &Programmer"},
        {"mAboutProduct", "&About Vornix Coder"},
        {"mLine2", "-"},
        {"mVisitWebsite", "&Visit Website"},
    }},
};

} // namespace

QHash<QString, QAction *> buildMenuBar(QMenuBar *bar)
{
    QHash<QString, QAction *> items;
    for (const Menu &menu : menus) {
        QMenu *dropDown = bar->addMenu(QString::fromLatin1(menu.caption));
        dropDown->setObjectName(QString::fromLatin1(menu.name));
        for (const Item &item : menu.items) {
            const QString caption = QString::fromLatin1(item.caption);
            QAction *action = caption == QLatin1String("-") ? dropDown->addSeparator()
                                                            : dropDown->addAction(caption);
            action->setObjectName(QString::fromLatin1(item.name));
            if (item.shortcut)
                action->setShortcut(QKeySequence(QString::fromLatin1(item.shortcut)));
            items.insert(action->objectName(), action);
        }
    }
    return items;
}
