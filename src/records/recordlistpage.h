#pragma once

// What the log page and the message page share: a time range with filters above
// a list of rows, the export icon, and the delete mode. A first press on the
// delete icon shows a check box on every row with "Cancel" and "Select All"; the
// next press asks how many rows go and deletes them; every rebuild of the list
// ends the mode. The export writes the listed rows to an xlsx file the user
// names, through a file beside it that replaces the target only once complete.
// It runs without holding the window (RecordExport), one at a time; leaving the
// page, or the project's database closing, gives it up, and says so.

#include "records/recordexport.h"
#include "shell/mydialog.h"

#include <QList>
#include <QString>
#include <QStringList>

class QGridLayout;
class QtMaterialDateTimeEdit;
class QtMaterialFlatButton;
class QtMaterialGroupBox;
class QtMaterialLabel;
class QHideEvent;
class RecordRows;

class QPainter;

// The check box a row of a list page shows in delete mode, 20 x 20 at x 20,
// centred in a row h pixels high.
void paintDeleteModeCheckBox(QPainter &painter, int h, bool checked);

class RecordListPage : public MyDialog
{
    Q_OBJECT
public:
    static constexpr const char *TimeFormat = "yyyy-MM-dd HH:mm:ss";

    RecordListPage(const QString &id, const QString &name, QWidget *parent = nullptr);

    // Rebuilds the list from the database; ends delete mode.
    virtual void updatelist() = 0;

    // Read access for tests and screenshots.
    QtMaterialDateTimeEdit *startEdit() const { return dateTimeEditStart; }
    QtMaterialDateTimeEdit *endEdit() const { return dateTimeEditEnd; }
    QtMaterialGroupBox *tileBox() const { return groupBox; }
    QtMaterialLabel *exportLabel() const { return labelExport; }
    QtMaterialLabel *deleteLabel() const { return labelDelete; }
    QtMaterialFlatButton *cancelButton() const { return pushButtonCancel; }
    QtMaterialFlatButton *selectAllButton() const { return pushButtonSelectAll; }
    const QList<QWidget *> &tiles() const;
    bool isDeleteMode() const;
    bool isExporting() const { return runningExport; }

signals:
    void signalsLogsChecked(bool checked);
    void signalsLogsVisible(bool visible);

protected slots:
    void dateTimeChanged();
    void labelExport_pressed();
    void labelDelete_pressed();
    void pushButtonCancel_clicked();
    void pushButtonSelectAll_clicked();
    void slotsPageLeave(QString id);

protected:
    void hideEvent(QHideEvent *event) override;

    // The rows take a change of delete mode from the signals above and only note it;
    // one repaint of the list then paints the rows in sight.
    void repaintRows();

    // What one page exports: the text for an empty list, the reason for a list not
    // read whole, the file name's ending, the sheet's name and its header row, and
    // the order its rows are put in when they are read in another.
    struct ExportKind
    {
        QString emptyText;
        QString unreadText;
        QString fileSuffix;
        QString sheetName;
        QStringList headers;
        RecordExport::Order order;
    };

    // The range of the two edits as stored times.
    QString rangeStart() const;
    QString rangeEnd() const;
    // The last seven days up to now.
    void resetRange();

    // List building: clear the list (old rows deleted later from the event loop),
    // add rows in order, then place them at the top. A list whose rows were not all
    // read refuses the export and the deletion until it is read whole.
    void beginList();
    void addTile(QWidget *tile);
    void endList(bool readWhole = true);

    // The delete mode's hooks: the checked rows' ids in list order, the question
    // for n rows, the deletion of exactly those rows (all or none, answering whether they went),
    // and what a refused deletion says.
    virtual QList<int> checkedIds() const = 0;
    virtual QString deleteQuestion(int count) const = 0;
    virtual bool deleteRows(const QList<int> &ids) = 0;
    virtual QString deleteFailure() const = 0;
    // Deletes the rows of table with these ids, all or none, in one transaction
    // of a few statements however long the list; answers whether they are gone.
    static bool deleteIds(const QString &table, const QList<int> &ids);

    // The export's hooks: its kind, and the reader of its data rows (written from
    // row 2), made at the press from the page as it is then. The reader fails, with
    // the reason, when the rows could not all be read.
    virtual ExportKind exportKind() const = 0;
    virtual RecordExport::Reader exportReader() const = 0;

    QGridLayout *filterGrid = nullptr;
    QtMaterialDateTimeEdit *dateTimeEditStart = nullptr;
    QtMaterialDateTimeEdit *dateTimeEditEnd = nullptr;

private:
    void exportFinished(bool saved, const QString &error);
    // Gives up the running export, saying why.
    void leaveExport(const QString &reason);

    QtMaterialLabel *labelExport = nullptr;
    QtMaterialGroupBox *groupBox = nullptr;
    QGridLayout *listGrid = nullptr;
    RecordRows *rows = nullptr;
    QtMaterialFlatButton *pushButtonCancel = nullptr;
    QtMaterialLabel *labelDelete = nullptr;
    QtMaterialFlatButton *pushButtonSelectAll = nullptr;
    bool boxWasVisible = true;
    bool listRead = true;
    RecordExport *runningExport = nullptr;
};
