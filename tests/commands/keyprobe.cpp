// A small window for the X11 and Wayland tests: it takes keys in a line edit and, on
// Return, writes what it received to a file and quits. With a third argument it also
// appends "active" or "inactive" to that file whenever the program gains or loses the
// keyboard focus of the desktop.
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 3)
        return 2;
    QWidget window;
    window.setWindowTitle(QString::fromUtf8(argv[1]));
    auto *edit = new QLineEdit(&window);
    auto *layout = new QVBoxLayout(&window);
    layout->addWidget(edit);
    const QString output = QString::fromLocal8Bit(argv[2]);
    QObject::connect(edit, &QLineEdit::returnPressed, [&] {
        QFile file(output);
        if (file.open(QIODevice::WriteOnly))
            file.write(edit->text().toUtf8());
        file.close();
        app.quit();
    });
    if (argc > 3) {
        const QString activity = QString::fromLocal8Bit(argv[3]);
        QObject::connect(&app, &QGuiApplication::applicationStateChanged, [activity](Qt::ApplicationState state) {
            QFile file(activity);
            if (file.open(QIODevice::Append))
                file.write(state == Qt::ApplicationActive ? "active\n" : "inactive\n");
        });
    }
    window.resize(300, 80);
    window.show();
    edit->setFocus();
    return app.exec();
}
