#include "roomadddlg.h"

#include "bus/broadcastsocket.h"
#include "commissioning/commissioningrules.h"
#include "commissioning/roomadder.h"
#include "shell/framedialog.h"
#include "shell/roundedpanel.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/queryhelpers.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPointer>
#include <QSqlQuery>
#include <QVariant>
#include <qtmaterialcheckbox.h>
#include <qtmaterialcombobox.h>
#include <qtmaterialflatbutton.h>
#include <qtmaterialiconbutton.h>
#include <qtmateriallabel.h>
#include <qtmateriallineedit.h>

RoomAddDlg::RoomAddDlg(QWidget *parent)
    : MyDialog(parent)
{
    QtMaterialIconButton *close = initFramedDialog(this, QStringLiteral("RoomAddDlg"));
    setFixedSize(500, 500);

    auto *title = new QtMaterialLabel(tr("Add Room"), this);
    title->setFontType(Material::Headline6);
    title->setAlignment(Qt::AlignCenter);

    comboBoxRegion = new QtMaterialComboBox(this);
    comboBoxRegion->setEditable(true);
    comboBoxFloor = new QtMaterialComboBox(this);
    comboBoxFloor->setEditable(true);
    lineEditRoomName = new QtMaterialLineEdit(this);
    comboBoxTemplate = new QtMaterialComboBox(this);
    comboBoxTemplate->setEditable(false);
    checkBoxAddInBulk = new QtMaterialCheckBox(tr("Add In Bulk"), this);
    lineEditNumber = new QtMaterialLineEdit(QStringLiteral("1"), this);
    lineEditNumber->setEnabled(false);

    QStringList regions;
    getTextsFromDb(QStringLiteral("select region_name from tbl_region order by region_id asc"),
                   QStringLiteral("region_name"), regions);
    comboBoxRegion->addItems(regions);
    comboBoxRegion->setCurrentIndex(-1);

    QSqlQuery templates = gl_sqlite3db.execQuery(
        QStringLiteral("select *from tbl_room_template order by room_template_id asc"));
    while (templates.next()) {
        comboBoxTemplate->addItem(templates.value(QStringLiteral("room_template_name")).toString(),
                                  templates.value(QStringLiteral("room_template_id")).toInt());
    }
    templates.finish();
    if (comboBoxTemplate->count() > 0)
        comboBoxTemplate->setCurrentIndex(0);

    pushButtonCancel = new QtMaterialFlatButton(tr("Cancel"), Material::RaisedPrimary, this);
    pushButtonAdd = new QtMaterialFlatButton(tr("Add"), Material::RaisedPrimary, this);

    auto *form = new QGridLayout;
    form->setSpacing(20);
    const QString labels[] = {tr("Region Name:"), tr("Floor Name:"), tr("Room Name:"), tr("Room Template:")};
    QWidget *const inputs[] = {comboBoxRegion, comboBoxFloor, lineEditRoomName, comboBoxTemplate};
    for (int row = 0; row < 4; ++row) {
        form->addWidget(new QtMaterialLabel(labels[row], this), row, 0);
        form->addWidget(inputs[row], row, 1);
    }
    form->addWidget(checkBoxAddInBulk, 4, 1);
    form->addWidget(new QtMaterialLabel(tr("Number Of Room:"), this), 5, 0);
    form->addWidget(lineEditNumber, 5, 1);
    form->setColumnStretch(1, 1);

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(20);
    buttons->addWidget(pushButtonCancel);
    buttons->addWidget(pushButtonAdd);

    auto *layout = new QGridLayout(this);
    layout->setSpacing(20);
    layout->addWidget(close, 0, 0, Qt::AlignRight | Qt::AlignTop);
    // The label is only as wide as its text: the cell centres it.
    layout->addWidget(title, 1, 0, Qt::AlignCenter);
    layout->addLayout(form, 2, 0);
    layout->addLayout(buttons, 3, 0);
    layout->setRowStretch(4, 1);

    connect(comboBoxRegion, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &RoomAddDlg::comboBoxChange);
    connect(checkBoxAddInBulk, &QAbstractButton::toggled, this, &RoomAddDlg::checkBoxAddInBulk_toggled);
    connect(lineEditNumber, &QLineEdit::textChanged, this, &RoomAddDlg::textChanged);
    connect(lineEditNumber, &QLineEdit::editingFinished, this, &RoomAddDlg::editingFinished);
    connect(pushButtonCancel, &QAbstractButton::clicked, this, &QWidget::close);
    connect(pushButtonAdd, &QAbstractButton::clicked, this, &RoomAddDlg::pushButtonAdd_clicked);
}

void RoomAddDlg::comboBoxChange(int index)
{
    if (index < 0 || (sender() && sender() != comboBoxRegion))
        return;
    comboBoxFloor->clear();
    int regionId = 0;
    QSqlQuery region =
        gl_sqlite3db.execQuery(QStringLiteral("select region_id from tbl_region where region_name='%1'")
                                   .arg(sqlText(comboBoxRegion->itemText(index))));
    if (!region.next())
        return;
    regionId = region.value(QStringLiteral("region_id")).toInt();
    region.finish();
    QStringList floors;
    getTextsFromDb(
        QString::asprintf("select floor_name from tbl_floor where region_id=%d order by floor_id asc",
                          regionId),
        QStringLiteral("floor_name"), floors);
    comboBoxFloor->addItems(floors);
    if (!floors.isEmpty())
        comboBoxFloor->setCurrentIndex(0);
}

void RoomAddDlg::checkBoxAddInBulk_toggled(bool checked)
{
    lineEditNumber->setEnabled(checked);
}

void RoomAddDlg::textChanged(const QString &text)
{
    // 99 rooms at most; a string of digits too long for an int is as large.
    bool ok = false;
    const int value = text.toInt(&ok);
    if ((ok && value >= 100) || (!ok && addressFieldText(text) == QLatin1String("255")))
        lineEditNumber->setText(QStringLiteral("99"));
}

void RoomAddDlg::editingFinished()
{
    if (lineEditNumber->text().isEmpty())
        lineEditNumber->setText(QStringLiteral("1"));
}

void RoomAddDlg::pushButtonAdd_clicked()
{
    const QString region = comboBoxRegion->currentText();
    const QString floor = comboBoxFloor->currentText();
    const QString name = lineEditRoomName->text();
    const bool bulk = checkBoxAddInBulk->isChecked();
    bool countOk = false;
    const int count = bulk ? lineEditNumber->text().toInt(&countOk) : 1;
    // A count that adds no room is as incomplete as a missing name.
    if (region.isEmpty() || floor.isEmpty() || name.isEmpty() || (bulk && (!countOk || count < 1))) {
        emit signalsInformation(tr("Please input the complete content!"));
        return;
    }
    if (comboBoxTemplate->count() == 0 || comboBoxTemplate->currentIndex() < 0) {
        emit gl_socket.signalsInformation(tr("Please add room template!"));
        return;
    }

    RoomAdder adder(comboBoxTemplate->currentData().toInt());
    if (!adder.templateExists() && adder.templateRead()) {
        accept();
        return;
    }
    QStringList names;
    for (int i = 0; i < count; ++i)
        names.append(bulkRoomName(name, i, count));
    // The event loop runs while the rooms' pictures are made: no second press meanwhile.
    QPointer<RoomAddDlg> self(this);
    setEnabled(false);
    const bool added = adder.add(region, floor, names);
    if (!self)
        return;
    setEnabled(true);
    if (!added) {
        emit signalsInformation(tr("Failed to add the rooms!"));
        return;
    }
    if (adder.pictureFallback())
        emit gl_socket.signalsInformation(
            tr("The template's picture could not be copied for the new rooms!"));
    accept();
}

void RoomAddDlg::paintEvent(QPaintEvent *event)
{
    paintRoundedPanel(this);
    QWidget::paintEvent(event);
}
