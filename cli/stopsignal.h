#pragma once

#include <QObject>

// Ctrl-C and its kin as a Qt signal on the main thread: SIGINT and SIGTERM
// on Linux, the console's Ctrl-C, Ctrl-Break and close events on Windows.
class StopSignal : public QObject
{
    Q_OBJECT

public:
    explicit StopSignal(QObject *parent = nullptr);
    ~StopSignal() override;

signals:
    void requested();

private slots:
    void deliver();
};
