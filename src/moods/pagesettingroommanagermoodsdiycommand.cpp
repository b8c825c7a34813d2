#include "pagesettingroommanagermoodsdiycommand.h"

#include "bus/broadcastsocket.h"
#include "moods/diyparameterfields.h"
#include "moods/diyvocabulary.h"
#include "moods/fieldnumber.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QVBoxLayout>
#include <qtmaterialflatbutton.h>
#include <qtmateriallabel.h>
#include <qtmateriallineedit.h>

namespace {

const int ControlWidth = 420;

DiyCommandBytes bytesOf(const diyCommand &c)
{
    return {c.command_type, c.prm1, c.prm2, c.prm3, c.prm4};
}

} // namespace

PageSettingRoomManagerMoodsDiyCommand::PageSettingRoomManagerMoodsDiyCommand(const QString &id,
                                                                             const QString &name,
                                                                             QWidget *parent)
    : MyDialog(id, name, parent)
{
    if (objectName().isEmpty())
        setObjectName(QStringLiteral("PageSettingRoomManagerMoodsDiyCommand"));

    fields = new DiyParameterFields(this);
    QGridLayout *grid = fields->grid();

    labelCommandId = new QtMaterialLabel(QStringLiteral("1"), fields);
    labelCommandId->setObjectName(QStringLiteral("labelCommandId"));
    lineEditSubnet = new QtMaterialLineEdit(fields);
    lineEditSubnet->setObjectName(QStringLiteral("lineEditSubnet"));
    lineEditDevice = new QtMaterialLineEdit(fields);
    lineEditDevice->setObjectName(QStringLiteral("lineEditDevice"));
    const QString captions[3] = {tr("Command ID:"), tr("Subnet ID:"), tr("Device ID:")};
    QWidget *controls[3] = {labelCommandId, lineEditSubnet, lineEditDevice};
    for (int row = 0; row < 3; ++row) {
        grid->addWidget(new QtMaterialLabel(captions[row], fields), row, 0);
        controls[row]->setFixedWidth(ControlWidth);
        grid->addWidget(controls[row], row, 1);
    }
    for (QtMaterialLineEdit *field : {lineEditSubnet, lineEditDevice}) {
        field->setValidator(new QIntValidator(field));
        DiyParameterFields::boundAddressField(field);
    }

    pushButtonPrev = new QtMaterialFlatButton(tr("Prev"), Material::RaisedPrimary, fields);
    pushButtonSave = new QtMaterialFlatButton(tr("Save"), Material::RaisedPrimary, fields);
    pushButtonNext = new QtMaterialFlatButton(tr("Next"), Material::RaisedPrimary, fields);
    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(20);
    buttons->setContentsMargins(0, 20, 0, 0);
    for (QtMaterialFlatButton *button : {pushButtonPrev, pushButtonSave, pushButtonNext}) {
        button->setMinimumWidth(160);
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    grid->addLayout(buttons, 8, 0, 1, 3);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(40, 40, 40, 40);
    layout->addWidget(fields);

    connect(&gl_socket, &BroadcastSocket::signalsPageEnter, this,
            &PageSettingRoomManagerMoodsDiyCommand::slotsPageEnter);
    connect(pushButtonPrev, &QtMaterialFlatButton::clicked, this,
            &PageSettingRoomManagerMoodsDiyCommand::pushButtonPrev_clicked);
    connect(pushButtonSave, &QtMaterialFlatButton::clicked, this,
            &PageSettingRoomManagerMoodsDiyCommand::pushButtonSave_clicked);
    connect(pushButtonNext, &QtMaterialFlatButton::clicked, this,
            &PageSettingRoomManagerMoodsDiyCommand::pushButtonNext_clicked);
}

void PageSettingRoomManagerMoodsDiyCommand::slotsPageEnter(QString moodId, QString roomId)
{
    if (!isVisible())
        return;
    m_position = 0;
    DiyVocabulary::clearReadFailure();
    // A Type box cut by a failed read would save commands of other types.
    if (!fields->typesRead())
        fields->readTypes();
    mood_id = moodId.toInt();
    room_id = roomId.toInt();
    commandList.clear();
    beginCommand(1);
    updatelist();
    if (!commandList.isEmpty()) {
        current = commandList.first();
        loadDiyCommand();
    }
    // The commands, or the types and choices they show, did not all read.
    if (!commandsRead || DiyVocabulary::readFailed())
        emit gl_socket.signalsInformation(tr("Failed to read the commands!"));
}

void PageSettingRoomManagerMoodsDiyCommand::updatelist()
{
    commandList = loadMoodCommands(mood_id, room_id, &commandsRead);
}

void PageSettingRoomManagerMoodsDiyCommand::loadDiyCommand()
{
    labelCommandId->setText(QString::number(current.command_id));
    lineEditSubnet->setText(QString::number(current.subnet_id));
    lineEditDevice->setText(QString::number(current.device_id));
    fields->showCommand(bytesOf(current));
}

void PageSettingRoomManagerMoodsDiyCommand::setCommand()
{
    current = diyCommand();
    current.command_id = fieldNumber(labelCommandId->text());
    // The completeness check has held both at 1 to 255 before any store.
    current.subnet_id = uint8_t(qBound(0, fieldNumber(lineEditSubnet->text()), 255));
    current.device_id = uint8_t(qBound(0, fieldNumber(lineEditDevice->text()), 255));
    const DiyCommandBytes bytes = fields->commandBytes();
    current.command_type = bytes.command_type;
    current.prm1 = bytes.prm1;
    current.prm2 = bytes.prm2;
    current.prm3 = bytes.prm3;
    current.prm4 = bytes.prm4;
}

// A subnet or device below 1 addresses no device: the command is incomplete.
bool PageSettingRoomManagerMoodsDiyCommand::addressComplete()
{
    if (fieldNumber(lineEditSubnet->text()) < 1 || fieldNumber(lineEditDevice->text()) < 1) {
        emit gl_socket.signalsInformation(tr("Please input the complete content!"));
        return false;
    }
    return true;
}

void PageSettingRoomManagerMoodsDiyCommand::storeCommand()
{
    setCommand();
    for (diyCommand &c : commandList) {
        if (c.command_id == current.command_id) {
            c = current;
            return;
        }
    }
    commandList.append(current);
}

// A new, all-zero command with the given number and the controls emptied.
void PageSettingRoomManagerMoodsDiyCommand::beginCommand(int commandId)
{
    current = diyCommand();
    labelCommandId->setText(QString::number(commandId));
    lineEditSubnet->clear();
    lineEditDevice->clear();
    fields->clearCommand();
}

void PageSettingRoomManagerMoodsDiyCommand::pushButtonPrev_clicked()
{
    if (!addressComplete())
        return;
    if (m_position < 1) {
        emit gl_socket.signalsInformation(tr("End!"));
        return;
    }
    storeCommand();
    --m_position;
    current = commandList.value(m_position);
    loadDiyCommand();
}

void PageSettingRoomManagerMoodsDiyCommand::pushButtonNext_clicked()
{
    if (!addressComplete())
        return;
    storeCommand();
    ++m_position;
    if (m_position < commandList.size()) {
        current = commandList.at(m_position);
        loadDiyCommand();
    } else {
        beginCommand(fieldNumber(labelCommandId->text()) + 1);
    }
}

void PageSettingRoomManagerMoodsDiyCommand::pushButtonSave_clicked()
{
    if (!addressComplete())
        return;
    // A list that failed to read would replace the stored commands with a part of them.
    if (!commandsRead) {
        emit gl_socket.signalsInformation(tr("Failed to save the commands!"));
        return;
    }
    storeCommand();
    // A type or byte whose look-up failed would be saved as a wrong command.
    if (DiyVocabulary::readFailed()) {
        emit gl_socket.signalsInformation(tr("Failed to save the commands!"));
        return;
    }
    QStringList sql{QString::asprintf("delete from tbl_mood_command where room_id=%d and mood_id=%d",
                                      room_id, mood_id)};
    for (const diyCommand &c : qAsConst(commandList))
        sql << QString::asprintf(
            "insert into tbl_mood_command(command_id,mood_id,subnet_id,device_id,"
            "command_type,prm1,prm2,prm3,prm4,room_id) values(%d,%d,%d,%d,%d,%d,%d,%d,%d,%d)",
            c.command_id, mood_id, c.subnet_id, c.device_id, c.command_type, c.prm1, c.prm2, c.prm3, c.prm4,
            room_id);
    // The old rows go only together with every new one in: a failed insert keeps
    // the mood's commands as they were, and the edits stay on the page.
    if (!gl_sqlite3db.execTransaction(sql)) {
        emit gl_socket.signalsInformation(tr("Failed to save the commands!"));
        return;
    }
    emit gl_socket.signalsPageIdChanged(QStringLiteral("Moods Information"), tr("Moods Information"),
                                        QString::asprintf("%d-%d", mood_id, room_id), QStringLiteral("0"));
}
