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
    bool writeExportRows(XlsxDocument &document, QString *error) override;

private:
    QString rangeQuery() const;
};
