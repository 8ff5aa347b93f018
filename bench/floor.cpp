// The floor for the start-up benchmark: a bare Qt program that shows one frameless 600 x 300 window.
#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window(nullptr, Qt::FramelessWindowHint);
    window.setWindowTitle(QStringLiteral("orvane-floor"));
    window.resize(600, 300);
    window.show();
    return QApplication::exec();
}
