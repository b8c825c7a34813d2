#pragma once

// One 40-pixel row of the log page: time, place, device and event of one log
// row. In the page's delete mode it shows a check box that a press flips.

#include "records/logrecord.h"
#include "shell/dynamicwidget.h"

class LogItem : public DynamicWidget
{
    Q_OBJECT
public:
    static constexpr int RowHeight = 40;

    explicit LogItem(logRecord record, QWidget *parent = nullptr);

    bool isChecked() const { return checked; }
    bool isCheckBoxVisible() const { return checkBoxVisible; }
    logRecord getLogRecord() const { return m_record; }

public slots:
    void slotsPressed();
    void slotsLogsChecked(bool checked);
    void slotsLogsVisible(bool visible);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    logRecord m_record;
    bool checked = false;
    bool checkBoxVisible = false;
};
