#pragma once

// The "Log" page: the device-event log (tbl_log) of a time range, newest first,
// with delete mode and the export to "<time>_log.xlsx".

#include "records/recordlistpage.h"

class PageLog : public RecordListPage
{
    Q_OBJECT
public:
    PageLog(const QString &id, const QString &name, QWidget *parent = nullptr);

    void updatelist() override;

private slots:
    void slotsPageEnter();

protected:
    QList<int> checkedIds() const override;
    QString deleteQuestion(int count) const override;
    bool deleteRows(const QList<int> &ids) override;
    QString deleteFailure() const override;
    ExportKind exportKind() const override;
    RecordExport::Reader exportReader() const override;

private:
    // The rows of the range, and the listing of them: newest first, rows of one
    // time in the order they were stored.
    QString rangeCondition() const;
    QString rangeQuery() const;
};
