#pragma once

// The "Message" page: the stored messages (tbl_message_log) of a receive-time
// range, filtered by type, status and room, newest first, with delete mode and
// the export to "<time>_message.xlsx". A click on a row outside delete mode opens
// the message dialog.

#include "records/recordlistpage.h"

class QtMaterialComboBox;

class PageMessage : public RecordListPage
{
    Q_OBJECT
public:
    PageMessage(const QString &id, const QString &name, QWidget *parent = nullptr);

    void updatelist() override;

    QtMaterialComboBox *typeCombo() const { return comboBoxType; }
    QtMaterialComboBox *statusCombo() const { return comboBoxStatus; }
    QtMaterialComboBox *roomCombo() const { return comboBoxRoom; }

private slots:
    void comboBoxChange(int index);
    void slotsPageEnter();

protected:
    QList<int> checkedIds() const override;
    QString deleteQuestion(int count) const override;
    bool deleteRows(const QList<int> &ids) override;
    QString deleteFailure() const override;
    ExportKind exportKind() const override;
    RecordExport::Reader exportReader() const override;

private:
    // Fills the three filter lists from the current project, each on its "All" item.
    void fillFilters();
    QString listQuery() const;

    QtMaterialComboBox *comboBoxType = nullptr;
    QtMaterialComboBox *comboBoxStatus = nullptr;
    QtMaterialComboBox *comboBoxRoom = nullptr;
};
