#include "diyparameterfields.h"

#include "moods/diyvocabulary.h"
#include "moods/fieldnumber.h"
#include "moods/timectrl.h"
#include "shell/sliderctrl.h"

#include <QGridLayout>
#include <QIntValidator>
#include <QSignalBlocker>
#include <qtmaterialcombobox.h>
#include <qtmateriallabel.h>
#include <qtmateriallineedit.h>

using namespace DiyVocabulary;

namespace {

const int FirstRow = 3;     // the Type box; Prm1 to Prm4 follow it
const int ControlWidth = 420;

} // namespace

DiyParameterFields::DiyParameterFields(QWidget *parent)
    : QWidget(parent)
{
    m_grid = new QGridLayout(this);
    m_grid->setContentsMargins(0, 0, 0, 0);
    m_grid->setSpacing(20);

    m_typeCaption = new QtMaterialLabel(tr("Type:"), this);
    m_type = new QtMaterialComboBox(this);
    m_type->setEditable(false);
    m_type->setObjectName(QStringLiteral("comboBoxType"));
    m_type->setFixedWidth(ControlWidth);
    readTypes();
    m_grid->addWidget(m_typeCaption, FirstRow, 0);
    m_grid->addWidget(m_type, FirstRow, 1);

    const QString captions[4] = {tr("Prm1:"), tr("Prm2:"), tr("Prm3:"), tr("Prm4:")};
    for (int column = 0; column < 4; ++column) {
        const int row = FirstRow + 1 + column;
        const QString number = QString::number(column + 1);
        m_caption[column] = new QtMaterialLabel(captions[column], this);
        m_caption[column]->setObjectName(QStringLiteral("labelPrm") + number);
        m_edit[column] = new QtMaterialLineEdit(this);
        m_edit[column]->setObjectName(QStringLiteral("lineEditPrm") + number);
        m_edit[column]->setValidator(new QIntValidator(m_edit[column]));
        m_edit[column]->setFixedWidth(ControlWidth);
        m_combo[column] = new QtMaterialComboBox(this);
        m_combo[column]->setEditable(false);
        m_combo[column]->setObjectName(QStringLiteral("comboBoxPrm") + number);
        m_combo[column]->setFixedWidth(ControlWidth);
        m_hint[column] = new QtMaterialLabel(this);
        m_hint[column]->setObjectName(QStringLiteral("labelPrm") + number + QStringLiteral("Hint"));
        m_grid->addWidget(m_caption[column], row, 0);
        m_grid->addWidget(m_edit[column], row, 1);
        m_grid->addWidget(m_combo[column], row, 1);
        m_grid->addWidget(m_hint[column], row, 2);
        connect(m_edit[column], &QLineEdit::textChanged, this, &DiyParameterFields::textChanged);
        // The Prm4 box has no later column to set up.
        if (column < 3) {
            connect(m_combo[column], QOverload<int>::of(&QComboBox::currentIndexChanged), this,
                    &DiyParameterFields::comboBoxChange);
        }
    }
    m_slider = new SliderCtrl(this);
    m_slider->setObjectName(QStringLiteral("sliderPrm2"));
    m_slider->setRange(0, 100);
    m_slider->setFixedWidth(ControlWidth);
    m_grid->addWidget(m_slider, FirstRow + 2, 1);
    m_time = new TimeCtrl;
    m_time->setParent(this);
    m_time->setObjectName(QStringLiteral("timePrm3"));
    m_time->setFixedWidth(ControlWidth);
    m_grid->addWidget(m_time, FirstRow + 3, 1);
    // Every cell keeps its size; the free room lies right of the hints and below
    // the editor's last row (8, the page's buttons).
    m_grid->setColumnStretch(3, 1);
    m_grid->setRowStretch(9, 1);

    connect(m_type, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &DiyParameterFields::comboBoxChange);
    connect(m_slider, &SliderCtrl::valueChanged, this, &DiyParameterFields::valueChanged);

    clearCommand();
}

void DiyParameterFields::showCommand(const DiyCommandBytes &command)
{
    m_command = command;
    const QString item = typeItemOfValue(command.command_type);
    const int row = item.isEmpty() ? -1 : m_type->findText(item);
    m_keepType = row < 0;
    // The stored numbers show as they are. Held to the typing bounds, a broadcast's
    // area 255, shown under "Scene Switch", would come back as 48 on the next store.
    m_showingStored = true;
    {
        QSignalBlocker blocker(m_type);
        if (!m_blockFills)
            blocker.unblock();
        m_type->setCurrentIndex(row);
    }
    runColumns(0);
    m_showingStored = false;
}

void DiyParameterFields::readTypes()
{
    const QSignalBlocker blocker(m_type);
    m_type->clear();
    m_type->addItems(typeEntries(&m_typesRead));
}

void DiyParameterFields::clearCommand()
{
    m_command = DiyCommandBytes();
    m_keepType = false;
    {
        const QSignalBlocker blocker(m_type);
        m_type->setCurrentIndex(m_type->count() > 0 ? 0 : -1);
    }
    for (int column = 0; column < 4; ++column)
        resetColumn(column);
    m_edit[0]->show();
    m_edit[1]->show();
}

DiyControls DiyParameterFields::controls() const
{
    DiyControls controls;
    controls.type = m_type->currentText();
    for (int column = 0; column < 4; ++column) {
        controls.number[column] = m_edit[column]->text();
        controls.choice[column] = m_combo[column]->currentText();
    }
    controls.slider = m_slider->value();
    controls.time = m_time->getText();
    return controls;
}

DiyCommandBytes DiyParameterFields::commandBytes() const
{
    return m_keepType ? m_command : encodeDiyCommand(controls());
}

void DiyParameterFields::boundAddressField(QLineEdit *field)
{
    connect(field, &QLineEdit::textChanged, field, [field](const QString &text) {
        const QString kept = fieldTextWithin(text, 255);
        if (kept != text)
            field->setText(kept);
    });
}

int DiyParameterFields::getTypeIndex(const QString &item) const
{
    return rowOfItem(FntType, 1, item).index;
}

int DiyParameterFields::getPrm1Index(int policy, const QString &item) const
{
    return rowOfItem(FntPrm1, policy, item).index;
}

int DiyParameterFields::getPrm2Index(int policy, const QString &item) const
{
    return rowOfItem(Comp2, policy, item).index;
}

int DiyParameterFields::getPrm3Index(int policy, const QString &item) const
{
    return rowOfItem(Comp3, policy, item).index;
}

int DiyParameterFields::typeKey() const
{
    return getTypeIndex(m_type->currentText());
}

int DiyParameterFields::fieldBound(int column) const
{
    const int key = typeKey();
    switch (column) {
    case 0:
        switch (key) {
        case 1: case 2: return 48;
        case 4: return 240;
        case 5: return 99;
        case 12: case 13: return 250;
        case 14: case 15: return 9999;
        default: return 255;
        }
    case 1:
        if (key == 2)
            return 99;
        if (key == 6)
            return 24;
        if (key == 15)
            return 65535;
        if (key == 7) {
            const int function = getPrm1Index(2, m_combo[0]->currentText());
            if (function == 9 || function == 10)
                return 5;
            if (function == 22)
                return 30;
        }
        return 255;
    case 2:
        if (key == 3)
            return 60;
        if (key == 11 && getPrm1Index(3, m_combo[0]->currentText()) == 5)
            return 999;
        if (key == 12 || (key == 13 && m_combo[1]->currentText() == diyFixedText("Go To Level")))
            return 100;
        return 255;
    case 3:
        return key == 12 || key == 13 ? 15 : 255;
    default:
        return 255;
    }
}

void DiyParameterFields::textChanged(const QString &text)
{
    if (m_showingStored)
        return;
    for (int column = 0; column < 4; ++column) {
        if (sender() != m_edit[column])
            continue;
        const QString kept = fieldTextWithin(text, fieldBound(column));
        if (kept != text)
            m_edit[column]->setText(kept);
    }
}

void DiyParameterFields::comboBoxChange(int index)
{
    if (index < 0)
        return;
    if (sender() == m_type) {
        m_keepType = false;
        runColumns(0);
        return;
    }
    for (int column = 0; column < 3; ++column) {
        if (sender() == m_combo[column])
            runColumns(column + 1);
    }
}

void DiyParameterFields::valueChanged(int value)
{
    if (sender() != m_slider)
        return;
    const QString hint = m_hint[1]->text();
    const int percent = hint.indexOf(QLatin1Char('%'));
    if (percent >= 0)
        m_hint[1]->setText(hint.left(percent) + QLatin1Char('%') + QString::number(value)
                           + QLatin1Char(')'));
}

void DiyParameterFields::runColumns(int first)
{
    if (first <= 0)
        init5thColumn();
    if (first <= 1)
        init6thColumn();
    if (first <= 2)
        init7thColumn();
    init8thColumn();
}

void DiyParameterFields::resetColumn(int column)
{
    m_edit[column]->clear();
    m_edit[column]->hide();
    m_combo[column]->clear();
    m_combo[column]->hide();
    if (column == 0)
        m_edit[column]->setEnabled(true);
    if (column == 1) {
        m_caption[column]->show();
        m_slider->setValue(0);
        m_slider->hide();
    }
    if (column == 2) {
        m_time->setText(QString());
        m_time->hide();
    }
    m_hint[column]->clear();
    if (column >= 2) {
        m_caption[column]->hide();
        m_hint[column]->hide();
    }
}

void DiyParameterFields::setHint(int column, const QString &hint)
{
    m_hint[column]->setText(hint);
    if (column >= 2)
        m_hint[column]->setVisible(!hint.isEmpty());
}

void DiyParameterFields::showCaption(int column)
{
    m_caption[column]->show();
}

void DiyParameterFields::showNumber(int column, int value, const QString &hint)
{
    m_edit[column]->setText(QString::number(value));
    m_edit[column]->show();
    setHint(column, hint);
    showCaption(column);
}

void DiyParameterFields::showList(int column, const char *table, int policy, int value, const QString &hint)
{
    const int row = indexOfValue(table, policy, value);
    fillCombo(column, items(table, policy), qMax(0, row));
    setHint(column, hint);
    showCaption(column);
}

void DiyParameterFields::showFixed(int column, const char *first, const char *second, int value,
                                   const QString &hint)
{
    fillCombo(column, {diyFixedText(first), diyFixedText(second)}, value != 0 ? 1 : 0);
    setHint(column, hint);
    showCaption(column);
}

void DiyParameterFields::fillCombo(int column, const QStringList &entries, int row)
{
    QtMaterialComboBox *box = m_combo[column];
    // Unblocked, every change below sets up the later columns from inside this
    // one; the caller then sets them up once more, with this column settled.
    QSignalBlocker blocker(box);
    if (!m_blockFills)
        blocker.unblock();
    box->clear();
    box->addItems(entries);
    if (!entries.isEmpty())
        box->setCurrentIndex(row);
    box->show();
}

void DiyParameterFields::showSlider()
{
    m_slider->setValue(m_command.prm2);
    m_slider->show();
    setHint(1, QString::asprintf(qPrintable(tr("(Intensity %%%d)")), m_command.prm2));
}

void DiyParameterFields::showTime()
{
    const int seconds = m_command.prm3 * 256 + m_command.prm4;
    m_time->setText(QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60));
    m_time->show();
    setHint(2, tr("(Running Time(mm:ss))"));
    showCaption(2);
}

void DiyParameterFields::showDisabledText(const QString &text)
{
    m_edit[0]->setText(text);
    m_edit[0]->setEnabled(false);
    m_edit[0]->show();
}

void DiyParameterFields::init5thColumn()
{
    resetColumn(0);
    const DiyCommandBytes &c = m_command;
    switch (typeKey()) {
    case 0: showNumber(0, c.prm1); break;
    case 1: case 2: case 10: showNumber(0, c.prm1, tr("(Area NO.)")); break;
    case 3: case 5: showNumber(0, c.prm1, tr("(Switch NO.)")); break;
    case 4: case 18: showNumber(0, c.prm1, tr("(Channel NO.)")); break;
    case 6: showList(0, FntPrm1, 1, c.prm1); break;
    case 7: showList(0, FntPrm1, 2, c.prm1); break;
    case 8: showDisabledText(tr("All Areas")); break;
    case 9: showDisabledText(tr("All Channels")); break;
    case 11: showList(0, FntPrm1, 3, c.prm1); break;
    case 12: showNumber(0, c.prm1, tr("(UID)")); break;
    case 13: showNumber(0, c.prm1, tr("(Scene ID)")); break;
    case 14: case 15: showNumber(0, c.prm1 * 256 + c.prm2, tr("(Address NO.)")); break;
    default: break;
    }
}

void DiyParameterFields::init6thColumn()
{
    resetColumn(1);
    const DiyCommandBytes &c = m_command;
    switch (typeKey()) {
    case 0: showNumber(1, c.prm2); break;
    case 1: case 8: showNumber(1, c.prm2, tr("(Scene NO.)")); break;
    case 2: showNumber(1, c.prm2, tr("(Sequene NO.)")); break;
    case 3: showList(1, Comp2, 1, c.prm2, tr("(Switch Status)")); break;
    case 4: case 9: showSlider(); break;
    case 5: showList(1, Comp2, 2, c.prm2, tr("(Switch Status)")); break;
    case 6: showNumber(1, c.prm2, tr("(NO.)")); break;
    case 7: panelControlColumn(1); break;
    case 10: showList(1, Comp2, 7, c.prm2); break;
    case 11: audioPlayerColumn(1); break;
    case 12: showNumber(1, c.prm2, tr("(Channel NO.)")); break;
    case 13: showFixed(1, QT_TR_NOOP("Scene"), QT_TR_NOOP("Go To Level"), c.prm2); break;
    case 14: showFixed(1, QT_TR_NOOP("Off"), QT_TR_NOOP("On"), c.prm3, tr("(Switch Status)")); break;
    case 15: showNumber(1, c.prm3 * 256 + c.prm4); break;
    case 18: showNumber(1, c.prm2, tr("(Level)")); break;
    default: break;
    }
}

void DiyParameterFields::init7thColumn()
{
    resetColumn(2);
    const DiyCommandBytes &c = m_command;
    switch (typeKey()) {
    case 3: showNumber(2, c.prm3, tr("(Second)")); break;
    case 4: case 9: showTime(); break;
    case 7: panelControlColumn(2); break;
    case 11: audioPlayerColumn(2); break;
    case 12: showNumber(2, c.prm3, tr("(Level)")); break;
    case 13:
        if (m_combo[1]->currentIndex() == 0)
            showFixed(2, QT_TR_NOOP("Deactivate"), QT_TR_NOOP("Activate"), c.prm3);
        else if (m_combo[1]->currentIndex() == 1)
            showNumber(2, c.prm3, tr("(Level)"));
        break;
    case 18: showNumber(2, c.prm3, tr("(Hue)")); break;
    default: break;
    }
}

void DiyParameterFields::init8thColumn()
{
    resetColumn(3);
    const DiyCommandBytes &c = m_command;
    switch (typeKey()) {
    case 7: panelControlColumn(3); break;
    case 11: audioPlayerColumn(3); break;
    case 12: case 13: showNumber(3, c.prm4, tr("(Fade)")); break;
    case 18: showNumber(3, c.prm4, tr("(Time)")); break;
    default: break;
    }
}

void DiyParameterFields::showAcFunction(int column, int function, int value)
{
    switch (function) {
    case 0: showFixed(column, QT_TR_NOOP("Off"), QT_TR_NOOP("On"), value, tr("(Switch Status)")); break;
    case 1: showList(column, Comp2, 3, value, tr("(Temperature)")); break;
    case 2: showList(column, Comp2, 4, value, tr("(FAN Speed)")); break;
    case 3: showList(column, Comp2, 5, value, tr("(Mode)")); break;
    case 4: case 5: showNumber(column, value); break;
    default: break;
    }
}

void DiyParameterFields::panelControlColumn(int column)
{
    const DiyCommandBytes &c = m_command;
    const int function = getPrm1Index(2, m_combo[0]->currentText());
    const bool panelAc = function >= 25 && function <= 33;
    const bool panelHeat = function >= 34 && function <= 36;
    if (column == 1) {
        switch (function) {
        case 1: case 2: case 3: case 11: case 12: case 13: case 20:
            showFixed(1, QT_TR_NOOP("Off"), QT_TR_NOOP("On"), c.prm2, tr("(Switch Status)"));
            break;
        case 4: case 7: case 8: case 19: case 23: case 24:
            showNumber(1, c.prm2, tr("°C(Temperature)"));
            break;
        case 5: showList(1, Comp2, 4, c.prm2, tr("(FAN Speed)")); break;
        case 6: showList(1, Comp2, 5, c.prm2, tr("(Mode)")); break;
        case 9: case 10: case 15: case 16: case 17: case 18: case 22: showNumber(1, c.prm2); break;
        case 14: showSlider(); break;
        case 21: showList(1, Comp2, 6, c.prm2); break;
        case 37: showNumber(1, c.prm2, tr("(AC NO.)")); break;
        case 38: showNumber(1, c.prm2, tr("(FH NO.)")); break;
        default:
            if (panelAc)
                showList(1, Comp2, 13, c.prm2);
            else if (panelHeat)
                showList(1, Comp2, 14, c.prm2);
            else
                m_caption[1]->hide();
            break;
        }
    } else if (column == 2) {
        if (function >= 15 && function <= 18) {
            showFixed(2, QT_TR_NOOP("Invalid"), QT_TR_NOOP("Valid"), c.prm3);
        } else if (panelAc) {
            showAcFunction(2, getPrm2Index(13, m_combo[1]->currentText()), c.prm3);
        } else if (panelHeat) {
            const int heat = getPrm2Index(14, m_combo[1]->currentText());
            if (heat == 0)
                showFixed(2, QT_TR_NOOP("Off"), QT_TR_NOOP("On"), c.prm3, tr("(Switch Status)"));
            else if (heat == 1)
                showList(2, Comp2, 3, c.prm3, tr("(Temperature)"));
        } else if (function == 37) {
            showList(2, Comp2, 13, c.prm3);
        } else if (function == 38) {
            showList(2, Comp2, 15, c.prm3);
        }
    } else if (column == 3) {
        if (function == 37) {
            showAcFunction(3, getPrm2Index(13, m_combo[2]->currentText()), c.prm4);
        } else if (function == 38) {
            const int heat = getPrm2Index(15, m_combo[2]->currentText());
            if (heat == 0)
                showFixed(3, QT_TR_NOOP("Off"), QT_TR_NOOP("On"), c.prm4, tr("(Switch Status)"));
            else if (heat == 1)
                showList(3, Comp2, 3, c.prm4, tr("(Temperature)"));
            else if (heat == 2 || heat == 3)
                showNumber(3, c.prm4);
        }
    }
}

void DiyParameterFields::audioPlayerColumn(int column)
{
    const DiyCommandBytes &c = m_command;
    const int function = getPrm1Index(3, m_combo[0]->currentText());
    if (column == 1) {
        if (function >= 0 && function <= 4)
            showList(1, Comp2, 8 + function, c.prm2);
        else if (function == 5)
            showNumber(1, c.prm2);
    } else if (column == 2) {
        switch (function) {
        case 0: case 3: showNumber(2, c.prm3, tr("(ZONE NO.)")); break;
        case 2: {
            const int list = getPrm2Index(10, m_combo[1]->currentText());
            if (list == 2 || list == 5)
                showNumber(2, c.prm3);
            break;
        }
        case 4: {
            const int volume = getPrm2Index(12, m_combo[1]->currentText());
            if (volume == 0)
                showList(2, Comp3, 3, c.prm3);
            else if (volume == 1 || volume == 2)
                showList(2, Comp3, 2, c.prm3);
            break;
        }
        case 5: showNumber(2, c.prm3 * 256 + c.prm4); break;
        default: break;
        }
    } else if (column == 3 && function == 4 && getPrm2Index(12, m_combo[1]->currentText()) == 0) {
        const int zone = getPrm3Index(3, m_combo[2]->currentText());
        // Every zone has four rows: reduce, raise, volume value, mute.
        if (zone < 16 && zone % 4 == 2)
            showList(3, Comp3, 4, c.prm4);
        else if (zone < 16 && zone % 4 == 3)
            showList(3, Comp3, 5, c.prm4);
    }
}
