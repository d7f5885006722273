#include "aboutdialogs.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QUrl>

#include "desktop.h"

namespace {

constexpr double Twip = 15.0; // twips per device-independent pixel

QRect at(double left, double top, double width, double height)
{
    return QRect(qRound(left / Twip), qRound(top / Twip), qRound(width / Twip), qRound(height / Twip));
}

QFont makeFont(const QStringList &families, double points, bool bold = false, bool underline = false)
{
    QFont f(families.first());
    f.setFamilies(families);
    f.setPointSizeF(points);
    f.setBold(bold);
    f.setUnderline(underline);
    return f;
}

const QStringList TimesNewRoman{"Times New Roman", "Liberation Serif"};
const QStringList MsSansSerif{"MS Sans Serif", "Microsoft Sans Serif", "Liberation Sans"};
const QStringList LucidaConsole{"Lucida Console", "Liberation Mono"};
const QStringList Impact{"Impact", "Liberation Sans Narrow", "Liberation Sans"};

void colour(QWidget *w, QPalette::ColorRole role, const QColor &c)
{
    QPalette p = w->palette();
    p.setColor(role, c);
    w->setPalette(p);
}

template <typename Label = QLabel>
Label *label(QWidget *parent, const char *name, const QString &text, const QRect &geometry, const QFont &f,
             const QColor &foreground)
{
    auto *l = new Label(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(geometry);
    l->setFont(f);
    colour(l, QPalette::WindowText, foreground);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return l;
}

// A straight line drawn as a one-pixel strip.
void line(QWidget *parent, const QRect &geometry, const QColor &c)
{
    auto *l = new QWidget(parent);
    l->setObjectName(QStringLiteral("Line1"));
    l->setGeometry(geometry);
    l->setAutoFillBackground(true);
    colour(l, QPalette::Window, c);
}

Qt::WindowFlags fixedDialogFrame()
{
    return Qt::Window | Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
}

} // namespace

void ClickLabel::mousePressEvent(QMouseEvent *event)
{
    event->accept();
}

void ClickLabel::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (rect().contains(event->position().toPoint()))
        emit clicked();
}

// ---- frmAbout --------------------------------------------------------------------------

FrmAbout::FrmAbout(platform::Desktop &desktop, const QString &homePage)
    : QDialog(nullptr, fixedDialogFrame()), m_desktop(desktop), m_homePage(homePage)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(tr("About Vornix Coder"));
    setAttribute(Qt::WA_DeleteOnClose); // the close box destroys it; Close only hides
    setAutoFillBackground(true);
    colour(this, QPalette::Window, Qt::white);
    setFont(makeFont(LucidaConsole, 9.75));
    setFixedSize(at(0, 0, 7140, 3555).size());
    createControls(AboutDialogs::hostOf(homePage));
}

void FrmAbout::createControls(const QString &host)
{
    const QColor brown(192, 64, 0);
    label(this, "lbl(0)", QStringLiteral("Vornix Coder"), at(120, 120, 6615, 495), makeFont(TimesNewRoman, 18, true, true), brown);
    QLabel *intro = label(this, "lbl(1)",
                          QStringLiteral("Helps you learning visual basic scripting language programming and visual "
                                         "basic 6.0 coding. You can make short scripts that solves your problems."),
                          at(120, 600, 6255, 975), makeFont(TimesNewRoman, 12, true), QColor(128, 64, 0));
    intro->setWordWrap(true);
    line(this, at(0, 1560, 7080, 15), brown);
    label(this, "lbl(2)", QStringLiteral("This product is quite free and available on the Vornix Website"),
          at(120, 1680, 6855, 255), makeFont(MsSansSerif, 9.75), brown);
    auto *link = label<ClickLabel>(this, "lblLink", host, at(1440, 1920, 4335, 375), makeFont(MsSansSerif, 13.5),
                                   QColor(0, 0, 255));
    link->setCursor(Qt::PointingHandCursor);
    connect(link, &ClickLabel::clicked, this, [this] { m_desktop.openPage(m_homePage, quintptr(winId())); });
    QLabel *note = label(this, "lbl(3)",
                         QStringLiteral("Note: Contribute on page ") + host + QStringLiteral("/donate")
                             + QStringLiteral(" if you liked this") + QString(18, QLatin1Char(' '))
                             + QStringLiteral("utility software."),
                         at(120, 2400, 6855, 495), makeFont(MsSansSerif, 9.75, true), QColor(0, 192, 0));
    note->setWordWrap(true);
    auto *close = new QPushButton(tr("Close"), this);
    close->setObjectName(QStringLiteral("Command1"));
    close->setGeometry(at(2640, 2880, 1695, 495));
    connect(close, &QPushButton::clicked, this, &QWidget::hide);
    close->setFocus(); // the only control that takes the focus
}

// ---- frmAboutProgrammer ----------------------------------------------------------------

FrmAboutProgrammer::FrmAboutProgrammer() : QDialog(nullptr, fixedDialogFrame())
{
    setObjectName(QStringLiteral("frmAboutProgrammer"));
    setWindowTitle(tr("About Programmer"));
    setWindowIcon(QIcon(QStringLiteral(":/vornix/programmer32.png")));
    setAttribute(Qt::WA_DeleteOnClose);
    setAutoFillBackground(true);
    colour(this, QPalette::Window, QColor(255, 255, 128));
    setFixedSize(at(0, 0, 6705, 3030).size());
    createControls();
}

void FrmAboutProgrammer::createControls()
{
    const QColor olive(128, 128, 0);
    const QColor text = palette().color(QPalette::WindowText);
    // The banner first, so that the title stands in front of it.
    auto *banner = new ClickLabel(this);
    banner->setObjectName(QStringLiteral("Image2"));
    banner->setGeometry(at(0, 0, 6735, 735));
    banner->setPixmap(QPixmap(QStringLiteral(":/vornix/banner.gif")));
    banner->setScaledContents(true);
    label<ClickLabel>(this, "Label1", tr("About Programmer"), at(1320, 120, 4335, 615), makeFont(Impact, 21.75), olive);

    auto hideOnClick = [this](ClickLabel *l) { connect(l, &ClickLabel::clicked, this, &QWidget::hide); };
    hideOnClick(label<ClickLabel>(this, "lblLabel(3)", QStringLiteral("Contact #. ") + Telephone,
                                  at(2160, 2640, 4095, 255), makeFont(MsSansSerif, 9.75, true), text));
    auto *role = label<ClickLabel>(this, "lblLabel(2)", Role, at(2160, 1800, 4095, 615), makeFont(MsSansSerif, 9.75, true), text);
    role->setWordWrap(true);
    hideOnClick(role);
    hideOnClick(label<ClickLabel>(this, "lblLabel(1)", Qualification, at(2160, 1440, 4095, 255),
                                  makeFont(MsSansSerif, 9.75, true), text));
    line(this, at(2160, 1320, 4440, 15), olive);
    hideOnClick(label<ClickLabel>(this, "lblLabel(0)", AuthorName, at(2160, 840, 4335, 495),
                                  makeFont(TimesNewRoman, 21.75, true), text));
    auto *photo = new ClickLabel(this);
    photo->setObjectName(QStringLiteral("Image1"));
    photo->setGeometry(at(120, 840, 1905, 2010));
    photo->setPixmap(QPixmap(QStringLiteral(":/vornix/portrait.jpg")));
    photo->setScaledContents(true);
    photo->setAccessibleName(tr("Photograph of the author"));
    hideOnClick(photo);
}

void FrmAboutProgrammer::mousePressEvent(QMouseEvent *event)
{
    // The free background of the form.
    event->accept();
    hide();
}

void FrmAboutProgrammer::hideEvent(QHideEvent *event)
{
    QDialog::hideEvent(event);
    emit hidden();
}

void FrmAbout::hideEvent(QHideEvent *event)
{
    QDialog::hideEvent(event);
    emit hidden();
}

void FrmAboutProgrammer::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->geometry().center());
        move(frame.topLeft());
    }
}

// ---- the shared instances --------------------------------------------------------------

AboutDialogs::AboutDialogs(platform::Desktop &desktop, const QString &homePage)
    : m_desktop(desktop), m_homePage(homePage)
{
}

AboutDialogs::~AboutDialogs()
{
    delete m_about;
    delete m_programmer;
}

QString AboutDialogs::hostOf(const QString &address)
{
    const QString host = QUrl(address).host();
    return host.isEmpty() ? address : host;
}

namespace {
void present(QWidget *w)
{
    w->show();
    w->raise();
    w->activateWindow();
}
} // namespace

void AboutDialogs::showAbout()
{
    if (!m_about) {
        m_about = new FrmAbout(m_desktop, m_homePage);
        connect(m_about, &FrmAbout::hidden, this, &AboutDialogs::dialogClosed);
    }
    present(m_about);
}

void AboutDialogs::showAboutProgrammer()
{
    if (!m_programmer) {
        m_programmer = new FrmAboutProgrammer;
        connect(m_programmer, &FrmAboutProgrammer::hidden, this, &AboutDialogs::dialogClosed);
    }
    present(m_programmer);
}

void AboutDialogs::visitWebsite(QWidget *owner)
{
    m_desktop.openPage(m_homePage, owner ? quintptr(owner->winId()) : 0);
}
