#pragma once

#include <QDialog>
#include <QLabel>
#include <QPointer>
#include <QWidget>

namespace platform { class Desktop; }

// A label that reports clicks and keeps them from reaching the form behind it.
class ClickLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
signals:
    void clicked();
protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
};

// The about-the-product dialog: what the program is, the home page, the donation page.
// A dialog without owner or modality (a QDialog so that screen readers know it as one).
class FrmAbout : public QDialog {
    Q_OBJECT
public:
    FrmAbout(platform::Desktop &desktop, const QString &homePage);

signals:
    void hidden();

protected:
    void hideEvent(QHideEvent *event) override;

private:
    void createControls(const QString &host);
    platform::Desktop &m_desktop;
    QString m_homePage;
};

// The about-the-author dialog: photograph, name, qualification, role and contact line.
// A click anywhere but on its title banner hides it.
class FrmAboutProgrammer : public QDialog {
    Q_OBJECT
public:
    FrmAboutProgrammer();

    static inline const QString AuthorName = QStringLiteral("Vornix Coder Team");
    static inline const QString Qualification = QStringLiteral("Engineers in C++, Qt and interpreters");
    static inline const QString Role = QStringLiteral("Built the editor, the VBScript engine and the desktop commands");
    static inline const QString Telephone = QStringLiteral("+1 202 555 0143"); // a number kept for fiction

signals:
    void hidden();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void createControls();
};

// The two dialogs as single shared instances, made on first use, and the home page.
class AboutDialogs : public QObject {
    Q_OBJECT
public:
    AboutDialogs(platform::Desktop &desktop, const QString &homePage);
    ~AboutDialogs() override;

    void showAbout();
    void showAboutProgrammer();
    // Opens the maker's home page in the browser, for the given window.
    void visitWebsite(QWidget *owner);

    FrmAbout *about() const { return m_about; }
    FrmAboutProgrammer *aboutProgrammer() const { return m_programmer; }

    // The home page's host ("vornix.example.org") as the dialog shows it.
    static QString hostOf(const QString &address);

signals:
    // One of the dialogs was hidden or closed.
    void dialogClosed();

private:
    platform::Desktop &m_desktop;
    QString m_homePage;
    QPointer<FrmAbout> m_about;
    QPointer<FrmAboutProgrammer> m_programmer;
};
