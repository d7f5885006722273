#include "controlpanel.h"

namespace platform::controlpanel {

namespace {

struct Group {
    const char *applet;
    std::initializer_list<const char *> names;
    // The panel in each desktop's settings program; null: that program's main window.
    const char *gnome;    // gnome-control-center PANEL
    const char *kde;      // systemsettings MODULE
    const char *xfce;     // a program of its own
    const char *cinnamon; // cinnamon-settings MODULE
    const char *mate;     // a program of its own
};

const Group groups[GroupCount] = {
    {"access.cpl", {"ACCESSIBILITY", "ACCESSIBILITY OPTIONS"},
     "universal-access", "kcm_access", "xfce4-accessibility-settings", "universal-access", "mate-at-properties"},
    {"appwiz.cpl", {"ADD OR REMOVE", "ADD OR REMOVE PROGRAM", "ADD OR REMOVE PROGRAMS", "APPLICATION WIZARD", "APPLICATION WIZARDS"},
     "applications", nullptr, nullptr, nullptr, nullptr},
    {"desk.cpl", {"DISPLAY PROPERTIES", "DESKTOP PROPERTIES"},
     "display", "kcm_kscreen", "xfce4-display-settings", "display", "mate-display-properties"},
    {"firewall.cpl", {"WINDOWS FIREWALL", "WINDOW FIREWALL", "FIREWALL", "FIREWALL PROPERTIES"},
     nullptr, "kcm_firewall", nullptr, nullptr, nullptr},
    {"hdwwiz.cpl", {"ADD HARDWARE WIZARD", "ADD HARDWARE", "NEW HARDWARE", "ADD NEW HARDWARE"},
     nullptr, nullptr, nullptr, nullptr, nullptr},
    {"inetcpl.cpl", {"INTERNET PROPERTIES", "IE PROPERTIES"},
     "network", "kcm_proxy", nullptr, "network", nullptr},
    {"intl.cpl", {"REGIONAL AND LANGUAGE OPTIONS", "REGIONAL AND LANGUAGE", "REGIONAL AND LANGUAGES", "REGIONAL AND LANGUAGES SETTINGS"},
     "region", "kcm_regionandlang", nullptr, "region", nullptr},
    {"joy.cpl", {"GAME CONTROLLER", "JOYSTICK"},
     nullptr, "kcm_gamecontroller", nullptr, nullptr, nullptr},
    {"main.cpl", {"MOUSE", "MOSUE PROPERTIES"},
     "mouse", "kcm_mouse", "xfce4-mouse-settings", "mouse", "mate-mouse-properties"},
    {"mmsys.cpl", {"SOUND PROPERTIES", "AUDIO PROPERTIES", "SOUND", "AUDIO"},
     "sound", "kcm_pulseaudio", "pavucontrol", "sound", "mate-volume-control"},
    {"ncpa.cpl", {"NETWORK CONNECTIONS", "INTERNET CONNECTIONS"},
     "network", "kcm_networkmanagement", "nm-connection-editor", "network", "nm-connection-editor"},
    {"nusrmgr.cpl", {"USER ACCOUNTS"},
     "user-accounts", "kcm_users", nullptr, "user", nullptr},
    {"sysdm.cpl", {"SYSTEM PROPERTIES", "MYCOMPUTER PROPERTIES", "HOME PROPERTIES"},
     "info-overview", "kcm_about-distro", nullptr, "info", nullptr},
    {"timedate.cpl", {"DATE AND TIME PROPERTIES", "DATE AND TIME"},
     "datetime", "kcm_clock", nullptr, "calendar", "mate-time-admin"},
    {"wuaucpl.cpl", {"AUTOMATIC UPDATE", "WINDOWS UPDATE"},
     nullptr, nullptr, nullptr, nullptr, nullptr},
};

enum Desktop { Gnome, Kde, Xfce, Cinnamon, Mate, DesktopCount };

const char *const mainPrograms[DesktopCount] = {
    "gnome-control-center", "systemsettings", "xfce4-settings-manager", "cinnamon-settings", "mate-control-center",
};

int desktopOf(const QString &current)
{
    const QString d = current.toUpper();
    if (d.contains(QLatin1String("KDE")))
        return Kde;
    if (d.contains(QLatin1String("XFCE")))
        return Xfce;
    if (d.contains(QLatin1String("X-CINNAMON")) || d.contains(QLatin1String("CINNAMON")))
        return Cinnamon;
    if (d.contains(QLatin1String("MATE")))
        return Mate;
    if (d.contains(QLatin1String("GNOME")) || d.contains(QLatin1String("UNITY")) || d.contains(QLatin1String("BUDGIE")))
        return Gnome;
    return -1;
}

QStringList commandFor(int group, int desktop)
{
    const Group &g = groups[group];
    const char *panel = desktop == Gnome ? g.gnome : desktop == Kde ? g.kde : desktop == Xfce ? g.xfce
                      : desktop == Cinnamon ? g.cinnamon : g.mate;
    const QString main = QString::fromLatin1(mainPrograms[desktop]);
    if (!panel)
        return {main};
    // GNOME, KDE and Cinnamon open a panel of their settings program; Xfce and MATE have a
    // program per panel.
    if (desktop == Xfce || desktop == Mate)
        return {QString::fromLatin1(panel)};
    return {main, QString::fromLatin1(panel)};
}

} // namespace

int groupOf(const QString &upperName)
{
    for (int g = 0; g < GroupCount; ++g)
        for (const char *name : groups[g].names)
            if (upperName == QLatin1String(name))
                return g;
    return -1;
}

QString appletFile(int group)
{
    return group >= 0 && group < GroupCount ? QString::fromLatin1(groups[group].applet) : QString();
}

QStringList names()
{
    QStringList all;
    for (const Group &g : groups)
        for (const char *name : g.names)
            all << QString::fromLatin1(name);
    return all;
}

QStringList settingsCommand(int group, const QString &currentDesktop,
                            const std::function<bool(const QString &)> &installed)
{
    if (group < 0 || group >= GroupCount)
        return {};
    QList<int> order;
    const int running = desktopOf(currentDesktop);
    if (running >= 0)
        order << running;
    for (int d = 0; d < DesktopCount; ++d)
        if (d != running)
            order << d;
    for (int d : order) {
        QStringList command = commandFor(group, d);
        if (installed(command.first()))
            return command;
        // A panel program that is missing falls back to the desktop's main settings window.
        const QString main = QString::fromLatin1(mainPrograms[d]);
        if (command.first() != main && installed(main))
            return {main};
    }
    return {};
}

} // namespace platform::controlpanel
