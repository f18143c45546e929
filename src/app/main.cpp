#include "Cp932.h"

#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>

#include <csignal>

int main(int argc, char *argv[])
{
    // A file-size limit must make a save fail (and be undone), not kill the
    // program in the middle of it.
    std::signal(SIGXFSZ, SIG_IGN);

    QApplication app(argc, argv);
    if (!Cp932::isAvailable()) {
        QMessageBox::critical(nullptr, QStringLiteral("Kalvo"),
                              QStringLiteral("この Qt には CP932 (Shift-JIS) の変換がありません。"));
        return 1;
    }
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Kalvo"));
    window.show();
    return app.exec();
}
