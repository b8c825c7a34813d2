// Names and texts holding "%1", "%9", "%%" and "50%" typed into every page that
// stores one, saved through the page's own save, read back from the project's
// database (the project list for "Project Information") and, where the page
// loads them again, shown again: nothing but the typed text is ever stored.

#include "testmain.h"

#include "../commissioning/pagenavigator.h"
#include "modalanswer.h"
#include "projectfixture.h"
#include "roomproject.h"

#include "app/pagefactory.h"
#include "commissioning/pagesettingroommanageracinformation.h"
#include "commissioning/pagesettingroommanageredit.h"
#include "commissioning/pagesettingroommanagerlightinginformation.h"
#include "commissioning/pagesettingroommanagerpanelinformation.h"
#include "moods/pagesettingroommanagermoodsdiycommand.h"
#include "moods/pagesettingroommanagermoodsinformation.h"
#include "records/pagesettingmessagemanagermessageinformation.h"
#include "settings/pagesettingnetwork.h"
#include "shell/kestmessagebox.h"
#include "store/projectlist.h"

#include <QtTest>
#include <qtmaterialcheckbox.h>
#include <qtmaterialcombobox.h>
#include <qtmaterialflatbutton.h>
#include <qtmateriallineedit.h>
#include <qtmaterialradiobutton.h>

using namespace roomproject;

namespace {

const char *const PageIds[] = {"Light Information", "Template Light Information", "AC Information",
                               "Floor Heat Information", "Panel Information", "Template Panel Information",
                               "Edit Room", "Edit Template", "Moods Information", "Diy Command",
                               "Message Information", "Network Setting", "Project Information"};

QString cell(const QString &sql)
{
    return value(sql).toString();
}

// The columns of the query's only row.
QStringList fields(const QString &sql)
{
    const QStringList all = rows(sql);
    return all.size() == 1 ? all.first().split(QLatin1Char('|')) : QStringList{all.join(';')};
}

void type(const QList<QLineEdit *> &edits, const QStringList &texts)
{
    for (int i = 0; i < edits.size(); ++i)
        edits.at(i)->setText(texts.at(i));
}

} // namespace

class TestTextRoundTrip : public QObject
{
    Q_OBJECT

    varnotest::ProjectFolder m_project;
    QList<MyDialog *> m_pages;
    PageNavigator *m_nav = nullptr;

    template <typename T = MyDialog> T *page(const QString &id) const
    {
        for (MyDialog *p : m_pages) {
            if (p->getId() == id)
                return qobject_cast<T *>(p);
        }
        return nullptr;
    }
    template <typename T> T *child(const QString &id, const char *name) const
    {
        return page(id)->findChild<T *>(QLatin1String(name));
    }
    void save(const QString &id) { page(id)->findChild<QtMaterialFlatButton *>()->click(); }

    // Types text into the page id, saves it there and gives every place the
    // text should be found again: stored columns first, then the reloaded field.
    QStringList roundTrip(const QString &id, const QString &text);

private slots:
    void initTestCase()
    {
        screen_cx = 1920;
        for (const char *id : PageIds) {
            MyDialog *p = createPage(QLatin1String(id), QLatin1String(id));
            QVERIFY(p);
            m_pages << p;
        }
        m_pages << new MyDialog(QStringLiteral("Home"), QStringLiteral("Home"));
        m_nav = new PageNavigator(m_pages);
        QVERIFY(addRegion(1, "North") && addFloor(1, 1, "Ground") && addRoom(1, "Kitchen", 1, 1) &&
                addTemplate(1, "Suite"));
    }
    void cleanupTestCase()
    {
        delete m_nav;
        qDeleteAll(m_pages);
    }

    void textRoundTrip_data()
    {
        QTest::addColumn<QString>("pageId");
        QTest::addColumn<QString>("text");
        for (const char *id : PageIds) {
            for (const char *text : {"%1", "%9", "%%", "50%"})
                QTest::addRow("%s, %s", id, text) << QString::fromLatin1(id) << QString::fromLatin1(text);
        }
    }
    void textRoundTrip()
    {
        QFETCH(QString, pageId);
        QFETCH(QString, text);
        QStringList empty;
        for (const char *table : {"light", "template_light", "air_conditioner", "panel", "template_panel",
                                  "mood", "mood_light_status", "mood_air_conditioner_status", "mood_command",
                                  "message"})
            empty << QStringLiteral("delete from tbl_") + QLatin1String(table);
        QVERIFY(gl_sqlite3db.execTransaction(empty));
        const QStringList found = roundTrip(pageId, text);
        QVERIFY(!found.isEmpty());
        QCOMPARE(found, QVector<QString>(found.size(), text).toList());
    }
};

QStringList TestTextRoundTrip::roundTrip(const QString &id, const QString &text)
{
    auto is = [&id](const char *name) { return id == QLatin1String(name); };
    QStringList found;
    if (is("Light Information") || is("Template Light Information")) {
        m_nav->go(id, "1", "1");
        auto *info = page<PageSettingRoomManagerLightingInformation>(id);
        info->nameField()->setText(text);
        info->typeChooser()->setCurrentIndex(info->typeChooser()->findData(0));
        if (is("Light Information"))
            type({info->addressField(0, 0), info->addressField(0, 1), info->addressField(0, 2)},
                 {"1", "20", "1"});
        info->saveButton()->click();
        found << cell(is("Light Information")
                          ? "select light_remark from tbl_light where light_id=1"
                          : "select light_remark from tbl_template_light where room_template_id=1");
        m_nav->go(id, "1", "1");
        found << info->nameField()->text();
    } else if (is("AC Information") || is("Floor Heat Information")) {
        const bool ac = is("AC Information");
        m_nav->go(id, ac ? "0" : "2", "1");
        auto *info = page<PageSettingRoomManagerACInformation>(id);
        if (ac)
            info->panelButton()->click();
        info->nameField()->setText(text);
        type({info->numberField(0), info->numberField(1), info->numberField(2)}, {"1", "40", "3"});
        info->saveButton()->click();
        found << cell(QStringLiteral("select remark from tbl_air_conditioner where air_conditioner_no=%1")
                          .arg(ac ? 0 : 2));
        m_nav->go(id, ac ? "0" : "2", "1");
        found << info->nameField()->text();
    } else if (is("Panel Information") || is("Template Panel Information")) {
        const bool room = is("Panel Information");
        m_nav->go(id, "3", "1");
        auto *info = page<PageSettingRoomManagerPanelInformation>(id);
        info->nameField()->setText(text);
        if (room)
            type({info->subnetField(), info->deviceField()}, {"1", "33"});
        info->saveButton()->click();
        found << cell(room ? "select panel_remark from tbl_panel where panel_id=3"
                           : "select panel_remark from tbl_template_panel where room_template_id=1");
        m_nav->go(id, "3", "1");
        found << info->nameField()->text();
    } else if (is("Edit Room") || is("Edit Template")) {
        // Both editors store the name when they are left.
        m_nav->go(id, "1", "1");
        page<PageSettingRoomManagerEdit>(id)->nameField()->setText(text);
        m_nav->go("Home");
        found << cell(is("Edit Room") ? "select room_name from tbl_room"
                                                       : "select room_template_name from tbl_room_template");
        m_nav->go(id, "1", "1");
        found << page<PageSettingRoomManagerEdit>(id)->nameField()->text();
    } else if (is("Moods Information")) {
        // The snapshot copies the light's and the air conditioner's texts.
        if (!gl_sqlite3db.execBound("insert into tbl_light(light_id,light_type,light_remark,subnet_id,"
                                    "device_id,channel,icon_name_of_light_on,icon_name_of_light_off,"
                                    "rgb,room_id) values(1,1,?,1,20,1,?,?,0,1)",
                                    {text, text, text}) ||
            !gl_sqlite3db.execBound("insert into tbl_air_conditioner(air_conditioner_no,remark,subnet_id,"
                                    "device_id,channel,room_id) values(0,?,1,40,1,1)",
                                    {text}))
            return {};
        auto *info = page<PageSettingRoomManagerMoodsInformation>(id);
        m_nav->go(id, "5-1", "1");
        info->groupBox(info->GroupLight)->setChecked(true);
        info->groupBox(info->GroupAc1)->setChecked(true);
        info->nameField()->setText(text);
        info->saveButton()->click();
        found << fields("select mood_name,light_remark,icon_name_of_light_on,icon_name_of_light_off,remark "
                        "from tbl_mood,tbl_mood_light_status,tbl_mood_air_conditioner_status");
        m_nav->go(id, "5-1", "1");
        found << info->nameField()->text();
    } else if (is("Diy Command")) {
        // The mood's name, typed before its commands, is kept past them and saved.
        auto *info = page<PageSettingRoomManagerMoodsInformation>("Moods Information");
        auto *diy = page<PageSettingRoomManagerMoodsDiyCommand>(id);
        m_nav->go("Moods Information", "5-1", "1");
        info->nameField()->setText(text);
        info->selectButton()->click();
        type({diy->subnetField(), diy->deviceField()}, {"1", "20"});
        diy->saveButton()->click();
        found << info->nameField()->text();
        info->saveButton()->click();
        found << cell("select mood_name from tbl_mood where mood_id=5 and diy_bool=1");
        m_nav->go("Moods Information", "5-1", "1");
        found << info->nameField()->text();
    } else if (is("Message Information")) {
        auto *info = page<PageSettingMessageManagerMessageInformation>(id);
        m_nav->go(id, "1");
        info->nameEdit()->setText(text);
        info->switchEdit()->setText("5");
        info->saveButton()->click();
        found << cell("select message_remark from tbl_message where message_id=1");
        m_nav->go(id, "1");
        found << info->nameEdit()->text();
    } else if (is("Network Setting")) {
        // "Cancel" in the question stores the form without sending it.
        auto *net = page<PageSettingNetwork>(id);
        m_nav->go(id);
        net->passwordField()->setText(text);
        net->routerDomainField()->setText(text);
        net->styleButton(2)->click();
        net->domainBox()->setEditText("d.example"); // filled in after the password and router domain
        varnotest::answerModal<KestMessageBox>([](KestMessageBox *box) { box->reject(); });
        net->saveButton()->click();
        found << fields("select password,domain_name from tbl_network where static_domain='d.example'");
        m_nav->go(id);
        found << net->passwordField()->text() << net->routerDomainField()->text();
    } else if (is("Project Information")) {
        // The range is stored under the project of that name.
        addProject(text);
        m_nav->go(id, text);
        type({child<QLineEdit>(id, "lineEditLow"), child<QLineEdit>(id, "lineEditHigh")}, {"18", "30"});
        save(id);
        QString low;
        found << (getProjectNode(text, "indoor_temperature_low", low) && low == "18" ? text : low);
        m_nav->go(id, text);
        found << child<QLineEdit>(id, "lineEditName")->text();
    }
    return found;
}

VARNO_TEST_MAIN(TestTextRoundTrip)
#include "tst_textroundtrip.moc"
