// The smallest Qt dialog that does what the program does every 100 ms at rest: a precise
// timer and a text field written once a second. Resource use is compared against this.
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTime>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Baseline"));
    dialog.resize(570, 440);
    auto* clock = new QLineEdit(&dialog);
    clock->setReadOnly(true);
    clock->setGeometry(280, 360, 135, 34);
    int ticks = 0;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (++ticks % 10 == 0) {
            clock->setText(QTime::currentTime().toString(QStringLiteral("HH:mm:ss")));
        }
    });
    timer.start(100);
    dialog.show();
    return app.exec();
}
