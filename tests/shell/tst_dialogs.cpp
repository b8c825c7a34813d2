// Page and dialog bases, the message box, the unlock dialog, the pressable tile
// and the project choice.

#include "testmain.h"

#include "settings/projectselectdlg.h"
#include "settings/projectselectitem.h"
#include "shell/dynamicwidget.h"
#include "shell/kestmessagebox.h"
#include "shell/mydialog.h"
#include "shell/mywidget.h"
#include "shell/unlockdlg.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/projectlist.h"

#include <QAbstractButton>
#include <QDir>
#include <QGridLayout>
#include <QMouseEvent>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <qtmaterialflatbutton.h>
#include <qtmaterialgroupbox.h>
#include <qtmaterialiconbutton.h>
#include <qtmateriallineedit.h>
#include <qtmaterialsnackbar.h>

namespace {

// Runs action on the dialog shown modally next, once its loop is running.
void whenShown(const std::function<void(QWidget *)> &action)
{
    QTimer::singleShot(0, [action]() {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal) {
            for (QWidget *w : QApplication::topLevelWidgets()) {
                if (w->isVisible() && qobject_cast<QDialog *>(w))
                    modal = w;
            }
        }
        if (modal)
            action(modal);
    });
}

QAbstractButton *button(QWidget *dialog, const QString &name)
{
    return dialog->findChild<QAbstractButton *>(name);
}

QPoint mapTo(QWidget *root, QWidget *child)
{
    return child->mapTo(root, QPoint(0, 0));
}

} // namespace

class TestDialogs : public QObject
{
    Q_OBJECT

private slots:
    void pageBase()
    {
        MyDialog page(QStringLiteral("Rooms"), QStringLiteral("Rooms"));
        QCOMPARE(page.getId(), QStringLiteral("Rooms"));
        QCOMPARE(page.getName(), QStringLiteral("Rooms"));
        page.setName(QStringLiteral("All rooms"));
        QCOMPARE(page.getName(), QStringLiteral("All rooms"));
        QVERIFY(page.autoFillBackground());
        QCOMPARE(page.palette().color(QPalette::Window), QColor(0x26, 0x34, 0x40));
        QCOMPARE(page.snackbar()->parent(), &page);

        MyDialog dialog;
        QVERIFY(dialog.getId().isEmpty());
        QVERIFY(dialog.getName().isEmpty());

        MyWidget tab;
        QCOMPARE(tab.palette().color(QPalette::Window), QColor(0x26, 0x34, 0x40));
        QVERIFY(!tab.findChild<QtMaterialSnackbar *>());
    }

    void hiddenPageDropsTexts()
    {
        MyDialog page(QStringLiteral("Log"), QStringLiteral("Log"));
        emit page.signalsInformation(QStringLiteral("dropped"));
        QCOMPARE(page.snackbar()->messages().size(), 0);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        QCOMPARE(page.snackbar()->messages().size(), 0);
        emit page.signalsInformation(QStringLiteral("shown"));
        QCOMPARE(page.snackbar()->messages().size(), 1);
    }

    void messageBoxButtons_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("press");
        QTest::addColumn<int>("result");
        QTest::addColumn<bool>("twoButtons");
        QTest::newRow("0 ok") << 0 << "pushButtonOk" << 1 << false;
        QTest::newRow("0 close") << 0 << "close" << 0 << false;
        QTest::newRow("1 ok") << 1 << "pushButtonOk" << 1 << true;
        QTest::newRow("1 cancel") << 1 << "pushButtonCancel" << 0 << true;
        QTest::newRow("2 ok") << 2 << "pushButtonOk" << 1 << true;
        QTest::newRow("2 cancel") << 2 << "pushButtonCancel" << 0 << true;
        QTest::newRow("3 behaves as 0") << 3 << "pushButtonOk" << 1 << false;
    }
    void messageBoxButtons()
    {
        QFETCH(int, type);
        QFETCH(QString, press);
        QFETCH(int, result);
        QFETCH(bool, twoButtons);
        KestMessageBox box(
            QStringLiteral("A long question that has to wrap inside the fixed size of the box "
                           "without ever making the box grow beyond it."),
            450, 160, type, nullptr);
        QCOMPARE(box.size(), QSize(450, 160));
        QCOMPARE(box.windowFlags() & Qt::FramelessWindowHint, Qt::FramelessWindowHint);
        QAbstractButton *ok = button(&box, QStringLiteral("pushButtonOk"));
        QAbstractButton *cancel = button(&box, QStringLiteral("pushButtonCancel"));
        QVERIFY(ok);
        QCOMPARE(cancel != nullptr, twoButtons);
        whenShown([&](QWidget *dialog) {
            QCOMPARE(dialog->size(), QSize(450, 160));
            if (!twoButtons)
                QCOMPARE(ok->width(), 100);
            if (twoButtons) {
                // Type 1 puts "Ok" left of "Cancel", type 2 the other way round.
                const bool okLeft = mapTo(dialog, ok).x() < mapTo(dialog, cancel).x();
                QCOMPARE(okLeft, type == 1);
            }
            if (press == QLatin1String("close"))
                dialog->findChild<QtMaterialIconButton *>()->click();
            else
                button(dialog, press)->click();
        });
        QCOMPARE(box.exec(), result);
    }

    void unlockDialog_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << ""
                               << "Please input the unlock password!";
        QTest::newRow("other case") << "QMX482"
                                    << "Password error!";
        QTest::newRow("trailing space") << "qmx482 "
                                        << "Password error!";
        QTest::newRow("right") << "qmx482"
                               << "";
    }
    void unlockDialog()
    {
        QFETCH(QString, typed);
        QFETCH(QString, text);
        gl_lockPassword = QStringLiteral("qmx482");
        UnlockDlg dialog(nullptr);
        QCOMPARE(dialog.height(), 210);
        QCOMPARE(dialog.width(), 400);
        QCOMPARE(dialog.passwordField()->echoMode(), QLineEdit::Password);
        QSignalSpy info(&dialog, &MyDialog::signalsInformation);
        bool stillOpen = false;
        whenShown([&](QWidget *shown) {
            dialog.passwordField()->setText(typed);
            button(shown, QStringLiteral("pushButtonOk"))->click();
            stillOpen = shown->isVisible();
            if (stillOpen) {
                // After a refusal the right password is still accepted.
                dialog.passwordField()->setText(QStringLiteral("qmx482"));
                button(shown, QStringLiteral("pushButtonOk"))->click();
            }
        });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QCOMPARE(stillOpen, !text.isEmpty());
        if (text.isEmpty()) {
            QCOMPARE(info.count(), 0);
        } else {
            QCOMPARE(info.count(), 1);
            QCOMPARE(info.at(0).at(0).toString(), text);
        }
    }

    void unlockCancelRejects()
    {
        UnlockDlg dialog(nullptr);
        whenShown([](QWidget *shown) { button(shown, QStringLiteral("pushButtonCancel"))->click(); });
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    }

    void pressableTile_data()
    {
        QTest::addColumn<QPoint>("press");
        QTest::addColumn<QPoint>("release");
        QTest::addColumn<int>("signals_");
        QTest::newRow("inside") << QPoint(10, 10) << QPoint(20, 20) << 1;
        QTest::newRow("released outside") << QPoint(10, 10) << QPoint(300, 20) << 0;
        QTest::newRow("pressed outside") << QPoint(300, 10) << QPoint(20, 20) << 0;
    }
    void pressableTile()
    {
        QFETCH(QPoint, press);
        QFETCH(QPoint, release);
        QFETCH(int, signals_);
        QWidget parent;
        parent.resize(400, 100);
        DynamicWidget tile(QColor(0x1F, 0x29, 0x33), &parent);
        tile.setGeometry(0, 0, 200, 50);
        parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&parent));
        QSignalSpy pressed(&tile, &DynamicWidget::signalsPressed);
        QTest::mousePress(&tile, Qt::LeftButton, Qt::NoModifier, press);
        if (QRect(0, 0, 200, 50).contains(press))
            QCOMPARE(tile.getCurrentColor(), DynamicWidget::pressedColor());
        QTest::mouseMove(&tile, release);
        QTest::mouseRelease(&tile, Qt::LeftButton, Qt::NoModifier, release);
        QCOMPARE(pressed.count(), signals_);
        QCOMPARE(tile.getCurrentColor(), QColor(0x1F, 0x29, 0x33));

        QTest::mousePress(&tile, Qt::RightButton, Qt::NoModifier, QPoint(10, 10));
        QTest::mouseRelease(&tile, Qt::RightButton, Qt::NoModifier, QPoint(10, 10));
        QCOMPARE(pressed.count(), signals_);
    }

    void tileDeletedByItsReceiver()
    {
        QWidget parent;
        parent.resize(400, 100);
        auto *tile = new DynamicWidget(QColor(0x1F, 0x29, 0x33), &parent);
        tile->setGeometry(0, 0, 200, 50);
        parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&parent));
        QPointer<DynamicWidget> guard(tile);
        connect(tile, &DynamicWidget::signalsPressed, tile, [tile]() { delete tile; });
        QTest::mousePress(tile, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
        // Sent directly: QTest's helper would touch the widget after the event.
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(10, 10), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(tile, &release);
        QVERIFY(guard.isNull());
    }

    void projectChoice()
    {
        QTemporaryDir app;
        gl_curPath = app.path();
        QDir(gl_curPath).mkdir(QStringLiteral("database"));
        init_projectConfig();
        addProject(QStringLiteral("home"));
        addProject(QStringLiteral("Bob's"));
        ProjectSelectDlg dialog(nullptr);
        dialog.projectName = QStringLiteral("Home");
        dialog.initDlgCtrl();
        // Filled again, the list still shows each project once.
        dialog.initDlgCtrl();
        const QList<ProjectSelectItem *> rows = dialog.listBox()->findChildren<ProjectSelectItem *>();
        QCOMPARE(rows.size(), 3);
        QStringList names;
        int marked = 0;
        for (ProjectSelectItem *row : rows) {
            names << row->projectName();
            QCOMPARE(row->height(), 40);
            marked += row->isCurrent() ? 1 : 0;
            QCOMPARE(row->isCurrent(), row->projectName() == QLatin1String("Home"));
        }
        QCOMPARE(names, (QStringList{"Home", "home", "Bob's"}));
        QCOMPARE(marked, 1);

        whenShown([&](QWidget *) { emit rows.at(2)->signalsProjectChanged(rows.at(2)->projectName()); });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QCOMPARE(dialog.projectName, QStringLiteral("Bob's"));

        ProjectSelectDlg closed(nullptr);
        closed.projectName = QStringLiteral("Home");
        closed.initDlgCtrl();
        whenShown([](QWidget *shown) { shown->findChild<QtMaterialIconButton *>()->click(); });
        QCOMPARE(closed.exec(), int(QDialog::Rejected));
        QCOMPARE(closed.projectName, QStringLiteral("Home"));
        gl_sqlite3db.close();
    }
};

VARNO_TEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
