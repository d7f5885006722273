// A small window for the X11 tests: it takes keys in a line edit and, on Return, writes
// what it received to a file and quits.
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
    window.resize(300, 80);
    window.show();
    edit->setFocus();
    return app.exec();
}
