#pragma once

// The refresh header of the device pages: it slides open in 20-pixel steps, says
// "Start Refreshing..." and then "Is Refreshing..." with a spinner, shows when the
// view last started a refresh (kept per view key in tbl_last_update), and on
// success says "Refresh Successfully" and closes 400 ms later. Every page change
// closes it at once through the hub's signalsStopRefresh(false).

#include <QString>
#include <QTimer>
#include <QWidget>

class ProgressIndicator;
class QtMaterialLabel;

class RefreshingCtrl : public QWidget
{
    Q_OBJECT
public:
    static constexpr int StepMs = 100;
    static constexpr int StepHeight = 20;
    static constexpr int FullHeight = 80;

    explicit RefreshingCtrl(QWidget *parent = nullptr);

    void startRefresh(QString key);

    QString statusText() const;
    QString timeText() const;
    ProgressIndicator *progressIndicator() const { return indicator; }
    bool isOpening() const { return loadingTimer.isActive(); }
    bool isClosing() const { return delayTimer.isActive(); }

public slots:
    void stopRefresh(bool delay);
    void loading();
    void delay();

private:
    static QString now();
    static QString lastUpdate(const QString &key, const QString &fallback);
    // False when the time was not stored (the row failed to read or to write).
    static bool storeLastUpdate(const QString &key, const QString &time);

    QtMaterialLabel *statusLabel;
    QtMaterialLabel *timeLabel;
    ProgressIndicator *indicator;
    int step = 0;
    QTimer loadingTimer;
    QTimer delayTimer;
};
