#include "recordlistpage.h"

#include <QPainter>
#include <QPixmap>

#include "bus/broadcastsocket.h"
#include "records/recordrows.h"
#include "shell/filedialogs.h"
#include "shell/framedialog.h"
#include "shell/kestmessagebox.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/queryhelpers.h"
#include "store/settings.h"

#include <QDateTime>
#include <QFileInfo>
#include <QGridLayout>
#include <QHideEvent>
#include <QPixmap>
#include <qtmaterialcanvas.h>
#include <qtmaterialdatetimeedit.h>
#include <qtmaterialflatbutton.h>
#include <qtmaterialgroupbox.h>
#include <qtmateriallabel.h>

namespace {

QtMaterialLabel *makeIcon(const QString &picture, const QString &tip, QWidget *parent)
{
    auto *label = new QtMaterialLabel(parent);
    label->setFixedSize(40, 40);
    label->setScaledContents(true);
    label->setPixmap(QPixmap(picture));
    label->setToolTip(tip);
    return label;
}

QtMaterialFlatButton *makeButton(const QString &text, const QString &name, QWidget *parent)
{
    auto *button = new QtMaterialFlatButton(text, Material::RaisedPrimary, parent);
    button->setObjectName(name);
    button->setBackgroundColor(QColor(0xE3, 0x51, 0x51));
    button->setFixedWidth(200);
    button->hide();
    return button;
}

QDateTimeEdit *timeEdit(QtMaterialDateTimeEdit *edit)
{
    edit->setDisplayFormat(QLatin1String(RecordListPage::TimeFormat));
    edit->setCalendarPopup(true);
    return edit;
}

} // namespace

RecordListPage::RecordListPage(const QString &id, const QString &name, QWidget *parent)
    : MyDialog(id, name, parent)
{
    dateTimeEditStart = new QtMaterialDateTimeEdit(this);
    dateTimeEditStart->setObjectName(QStringLiteral("dateTimeEditStart"));
    timeEdit(dateTimeEditStart);
    dateTimeEditEnd = new QtMaterialDateTimeEdit(this);
    dateTimeEditEnd->setObjectName(QStringLiteral("dateTimeEditEnd"));
    timeEdit(dateTimeEditEnd);
    labelExport =
        makeIcon(QStringLiteral(":/myImages/png/icon-system-save.png"), tr("Export To Excel"), this);
    labelExport->setObjectName(QStringLiteral("labelExport"));

    filterGrid = new QGridLayout;
    filterGrid->setSizeConstraint(QLayout::SetNoConstraint);
    filterGrid->setSpacing(20);

    auto *top = new QGridLayout;
    top->setSizeConstraint(QLayout::SetNoConstraint);
    top->setSpacing(20);
    top->addLayout(filterGrid, 0, 0);
    top->addWidget(labelExport, 0, 1, Qt::AlignRight | Qt::AlignTop);
    top->setRowStretch(1, 1);

    QtMaterialCanvas *canvas = nullptr;
    groupBox = makeCanvasBox(this, canvas);
    rows = new RecordRows(20, groupBox);
    listGrid = new QGridLayout(groupBox);
    listGrid->setSizeConstraint(QLayout::SetNoConstraint);
    listGrid->addWidget(rows, 0, 0);
    listGrid->setRowStretch(1, 1);
    rows->setViewport(canvas->viewport());

    pushButtonCancel = makeButton(tr("Cancel"), QStringLiteral("pushButtonCancel"), this);
    labelDelete = makeIcon(QStringLiteral(":/myImages/png/icon-system-delete.png"), tr("Delete"), this);
    labelDelete->setObjectName(QStringLiteral("labelDelete"));
    pushButtonSelectAll = makeButton(tr("Select All"), QStringLiteral("pushButtonSelectAll"), this);
    auto *bottom = new QGridLayout;
    bottom->setSizeConstraint(QLayout::SetNoConstraint);
    bottom->setSpacing(20);
    bottom->addWidget(pushButtonCancel, 0, 0);
    bottom->addWidget(labelDelete, 0, 1);
    bottom->addWidget(pushButtonSelectAll, 0, 2);
    bottom->setRowStretch(1, 1);

    auto *page = new QGridLayout(this);
    page->setSizeConstraint(QLayout::SetNoConstraint);
    page->addLayout(top, 0, 0);
    page->addWidget(canvas, 1, 0);
    page->addLayout(bottom, 2, 0);
    page->setRowStretch(1, 1);

    connect(labelExport, &QtMaterialLabel::signalsPressed, this, &RecordListPage::labelExport_pressed);
    connect(labelDelete, &QtMaterialLabel::signalsPressed, this, &RecordListPage::labelDelete_pressed);
    connect(pushButtonCancel, &QAbstractButton::clicked, this, &RecordListPage::pushButtonCancel_clicked);
    connect(pushButtonSelectAll, &QAbstractButton::clicked, this,
            &RecordListPage::pushButtonSelectAll_clicked);

    resetRange();
    connect(dateTimeEditStart, &QDateTimeEdit::dateTimeChanged, this, &RecordListPage::dateTimeChanged);
    connect(dateTimeEditEnd, &QDateTimeEdit::dateTimeChanged, this, &RecordListPage::dateTimeChanged);
    connect(&gl_socket, &BroadcastSocket::signalsPageLeave, this, &RecordListPage::slotsPageLeave);
    // The rows still to read would come from another project's database.
    connect(&gl_sqlite3db, &CppSQLite3DB::aboutToClose, this,
            [this] { leaveExport(QStringLiteral("the project was closed")); });
}

bool RecordListPage::isDeleteMode() const
{
    return pushButtonCancel->isVisibleTo(this) && pushButtonSelectAll->isVisibleTo(this);
}

QString RecordListPage::rangeStart() const
{
    return dateTimeEditStart->dateTime().toString(QLatin1String(TimeFormat));
}

QString RecordListPage::rangeEnd() const
{
    return dateTimeEditEnd->dateTime().toString(QLatin1String(TimeFormat));
}

void RecordListPage::resetRange()
{
    const QDateTime now = QDateTime::currentDateTime();
    dateTimeEditStart->setDateTime(now.addDays(-7));
    dateTimeEditEnd->setDateTime(now);
}

void RecordListPage::dateTimeChanged()
{
    if (!loading)
        updatelist();
}

void RecordListPage::beginList()
{
    pushButtonCancel->hide();
    pushButtonSelectAll->hide();
    // The box is hidden while its rows change and shown once at the end, so the
    // rows are laid out once, not once for every row shown (thousands of logs).
    boxWasVisible = groupBox->isVisibleTo(this);
    groupBox->hide();
    rows->clear();
}

void RecordListPage::addTile(QWidget *tile)
{
    rows->append(tile);
}

void RecordListPage::endList(bool readWhole)
{
    listRead = readWhole;
    rows->finish();
    // A layout reports at most 524,287 pixels: the box is given the rows' whole height and
    // its margins, so that the canvas scrolls down to the last row.
    const int rowsHeight = rows->minimumHeight();
    const int margins = listGrid->totalMinimumSize().height() - qMin(rowsHeight, QLAYOUTSIZE_MAX);
    groupBox->setMinimumHeight(qMin(rowsHeight + margins, QWIDGETSIZE_MAX - 1));
    if (boxWasVisible)
        groupBox->show();
}

const QList<QWidget *> &RecordListPage::tiles() const
{
    return rows->rows();
}

void RecordListPage::repaintRows()
{
    // Thousands of rows each asking for a repaint would each be weighed against all
    // their siblings.
    if (groupBox)
        groupBox->update();
}

void RecordListPage::labelDelete_pressed()
{
    const bool deleteMode = isDeleteMode();
    pushButtonCancel->show();
    pushButtonSelectAll->show();
    emit signalsLogsVisible(true);
    repaintRows();
    if (!deleteMode)
        return;

    // Rows the list could not read are neither shown nor ticked, nor known to be
    // "every one": the list is read again instead.
    if (!listRead) {
        emit gl_socket.signalsInformation(deleteFailure());
        updatelist();
        return;
    }
    const QList<int> ids = checkedIds();
    KestMessageBox box(deleteQuestion(ids.size()), 450, 160, KestMessageBoxCancelOk, this);
    if (!box.exec())
        return;
    if (!deleteRows(ids))
        emit gl_socket.signalsInformation(deleteFailure());
    updatelist();
}

bool RecordListPage::deleteIds(const QString &table, const QList<int> &ids)
{
    constexpr int GroupSize = 500;
    QStringList statements;
    for (int first = 0; first < ids.size(); first += GroupSize) {
        QStringList group;
        for (int id : ids.mid(first, GroupSize))
            group.append(QString::number(id));
        statements.append(QStringLiteral("delete from %1 where id in(%2)").arg(table, group.join(',')));
    }
    return statements.isEmpty() || execTransaction(statements);
}

void RecordListPage::pushButtonCancel_clicked()
{
    emit signalsLogsChecked(false);
    emit signalsLogsVisible(false);
    repaintRows();
    pushButtonCancel->hide();
    pushButtonSelectAll->hide();
}

void RecordListPage::pushButtonSelectAll_clicked()
{
    emit signalsLogsChecked(true);
    repaintRows();
}

void RecordListPage::labelExport_pressed()
{
    if (runningExport) {
        emit gl_socket.signalsInformation(tr("An export is already running"));
        return;
    }
    const ExportKind kind = exportKind();
    if (!listRead) {
        emit gl_socket.signalsInformation(QStringLiteral("Export failed: %1").arg(kind.unreadText));
        return;
    }
    if (tiles().isEmpty()) {
        emit gl_socket.signalsInformation(kind.emptyText);
        return;
    }
    QString proposal =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddhhmmss")) + kind.fileSuffix;
    QString folder;
    getConfig(QStringLiteral("getOpenFileName"), QStringLiteral("exprotExcel"), folder);
    if (!folder.isEmpty())
        proposal = QStringLiteral("%1/%2").arg(folder, proposal);
    const QString fileName =
        askSaveFileName(this, tr("Save As"), proposal, QStringLiteral("Excel Files(*.xlsx *.xls)"));
    if (fileName.isEmpty())
        return;
    setConfig(QStringLiteral("getOpenFileName"), QStringLiteral("exprotExcel"),
              QFileInfo(fileName).absolutePath());

    runningExport =
        new RecordExport(fileName, kind.sheetName, kind.headers, exportReader(), kind.order, this);
    connect(runningExport, &RecordExport::finished, this, &RecordListPage::exportFinished);
    runningExport->start();
}

void RecordListPage::exportFinished(bool saved, const QString &error)
{
    if (!runningExport || sender() != runningExport)
        return;
    runningExport->deleteLater();
    runningExport = nullptr;
    if (saved)
        emit gl_socket.signalsInformation(QStringLiteral("Exprot successfully"));
    else
        emit gl_socket.signalsInformation(QStringLiteral("Export failed: %1").arg(error));
}

void RecordListPage::leaveExport(const QString &reason)
{
    if (!runningExport)
        return;
    runningExport->giveUp();
    runningExport->deleteLater();
    runningExport = nullptr;
    emit gl_socket.signalsInformation(QStringLiteral("Export failed: %1").arg(reason));
}

void RecordListPage::slotsPageLeave(QString id)
{
    if (id == getId())
        leaveExport(QStringLiteral("the page was left"));
}

void RecordListPage::hideEvent(QHideEvent *event)
{
    // A window minimised hides its pages only for a while; one hidden by the program is left.
    if (!event->spontaneous())
        leaveExport(QStringLiteral("the page was left"));
    MyDialog::hideEvent(event);
}

void paintDeleteModeCheckBox(QPainter &painter, int h, bool checked)
{
    const QPixmap box(checked ? QStringLiteral(":/myImages/png/icon_checkbox2_on.png")
                              : QStringLiteral(":/myImages/png/icon_checkbox2_off.png"));
    painter.drawPixmap(QRect(20, (h - 20) / 2, 20, 20), box);
}
