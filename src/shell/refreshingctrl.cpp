#include "refreshingctrl.h"

#include "bus/broadcastsocket.h"
#include "shell/progressindicator.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/queryhelpers.h"

#include <QDateTime>
#include <QGridLayout>
#include <qtmateriallabel.h>

RefreshingCtrl::RefreshingCtrl(QWidget *parent)
    : QWidget(parent)
{
    statusLabel = new QtMaterialLabel(tr("Is Refreshing..."), this);
    timeLabel = new QtMaterialLabel(tr("Last Update:%1").arg(now()), this);
    indicator = new ProgressIndicator(this);
    indicator->setColor(Qt::green);

    auto *grid = new QGridLayout(this);
    grid->addWidget(statusLabel, 0, 0, Qt::AlignCenter);
    grid->addWidget(timeLabel, 1, 0, Qt::AlignCenter);
    grid->setRowStretch(2, 1);

    loadingTimer.setInterval(StepMs);
    delayTimer.setInterval(StepMs);
    setFixedHeight(FullHeight);

    connect(&gl_socket, &BroadcastSocket::signalsStopRefresh, this, &RefreshingCtrl::stopRefresh);
    connect(&loadingTimer, &QTimer::timeout, this, &RefreshingCtrl::loading);
    connect(&delayTimer, &QTimer::timeout, this, &RefreshingCtrl::delay);
}

QString RefreshingCtrl::statusText() const
{
    return statusLabel->text();
}

QString RefreshingCtrl::timeText() const
{
    return timeLabel->text();
}

QString RefreshingCtrl::now()
{
    return QDateTime::currentDateTime().toString(Qt::TextDate);
}

QString RefreshingCtrl::lastUpdate(const QString &key, const QString &fallback)
{
    const QString sql =
        QStringLiteral("select last_update_time from tbl_last_update where last_update_id='%1'")
            .arg(sqlText(key));
    QString time = fallback;
    if (isRecordExist(sql))
        getTextFromDb(sql, QStringLiteral("last_update_time"), time);
    return time;
}

bool RefreshingCtrl::storeLastUpdate(const QString &key, const QString &time)
{
    const QString find =
        QStringLiteral("select id from tbl_last_update where last_update_id='%1'").arg(sqlText(key));
    // A look-up that failed is not taken as "no row": that would add a second one.
    bool read = false;
    if (isRecordExist(find, &read)) {
        return gl_sqlite3db.execDML(QStringLiteral("update tbl_last_update set last_update_time='%1' "
                                                   "where last_update_id='%2'")
                                        .arg(sqlText(time), sqlText(key)));
    }
    return read && gl_sqlite3db.execDML(QStringLiteral("insert into tbl_last_update(last_update_id,"
                                                       "last_update_time) values('%1','%2')")
                                            .arg(sqlText(key), sqlText(time)));
}

void RefreshingCtrl::startRefresh(QString key)
{
    step = 0;
    loadingTimer.stop();
    delayTimer.stop();

    const QString current = now();
    timeLabel->setText(tr("Last Update:%1").arg(lastUpdate(key, current)));
    statusLabel->setText(tr("Start Refreshing..."));

    loading();

    if (!storeLastUpdate(key, current))
        emit gl_socket.signalsInformation(tr("Failed to save the last update time!"));
}

void RefreshingCtrl::loading()
{
    if (step <= 3) {
        ++step;
        setFixedHeight(StepHeight * step);
        if (isHidden()) {
            show();
            loadingTimer.start(StepMs);
        }
        return;
    }
    loadingTimer.stop();
    step = 0;
    statusLabel->setText(tr("Is Refreshing..."));
    indicator->startAnimation();
}

void RefreshingCtrl::stopRefresh(bool delayed)
{
    step = 0;
    loadingTimer.stop();
    delayTimer.stop();
    indicator->stopAnimation();
    if (!delayed) {
        hide();
        return;
    }
    if (height() < FullHeight)
        setFixedHeight(FullHeight);
    statusLabel->setText(tr("Refresh Successfully"));
    delayTimer.start(StepMs);
}

void RefreshingCtrl::delay()
{
    if (step <= 2) {
        ++step;
        return;
    }
    delayTimer.stop();
    step = 0;
    hide();
}
