// The start-up baseline: the least a Qt Widgets program does to put a window on screen.
#include <QApplication>
#include <QLabel>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QLabel window(QStringLiteral("Hello"));
    window.resize(900, 600);
    window.show();
    return QApplication::exec();
}
