#include "qtmaterialautocomplete.h"
#include "qtmaterialautocompleteprivate.h"
#include "qtmaterialautocompletestatemachine.h"
#include "qtmaterialflatbutton.h"
#include "qtmaterialstyle.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QVBoxLayout>

QtMaterialAutoComplete::QtMaterialAutoComplete(QWidget *parent)
    : QtMaterialTextField(*new QtMaterialAutoCompletePrivate(this), parent)
{
    d_func()->init();
}

QtMaterialAutoComplete::~QtMaterialAutoComplete()
{
    Q_D(QtMaterialAutoComplete);

    // Menu and frame lie on the parent, which may well outlive this field. The
    // machine and the result buttons go with the menu.
    if (d->menu)
        d->menu->removeEventFilter(this);
    if (d->frame)
        d->frame->removeEventFilter(this);
    d->menuStateMachine = nullptr;
    delete d->menu.data();
    delete d->frame.data();
}

void QtMaterialAutoComplete::setDataSource(const QStringList &data)
{
    Q_D(QtMaterialAutoComplete);
    d->dataSource = data;
    update();
}

void QtMaterialAutoComplete::updateResults(const QString &text)
{
    Q_D(QtMaterialAutoComplete);

    if (!d->menu)
        return;

    QStringList results;
    const QString trimmed = text.trimmed();
    if (!trimmed.isEmpty()) {
        const QString needle = trimmed.toLower();
        for (const QString &s : qAsConst(d->dataSource)) {
            if (s.toLower().indexOf(needle) != -1)
                results.append(s);
        }
    }

    const QFont font = QtMaterialStyle::instance().themeFont(Material::Body1);
    const int diff = results.size() - d->menuLayout->count();
    if (diff > 0) {
        for (int i = 0; i < diff; ++i) {
            auto *button = new QtMaterialFlatButton;
            button->setFont(font);
            button->setTextAlignment(Qt::AlignLeft);
            button->setCornerRadius(0);
            button->setHaloVisible(false);
            button->setFixedHeight(50);
            button->setOverlayStyle(Material::OverlayTinted);
            d->menuLayout->addWidget(button);
            button->installEventFilter(this);
        }
    } else if (diff < 0) {
        // Surplus buttons go from the top; the rest are relabelled below.
        for (int i = 0; i < -diff; ++i) {
            QLayoutItem *item = d->menuLayout->takeAt(0);
            if (QWidget *widget = item->widget())
                delete widget;
            delete item;
        }
    }

    const QFontMetrics fm(font);
    d->maxWidth = 0;
    for (int i = 0; i < results.size(); ++i) {
        QLayoutItem *item = d->menuLayout->itemAt(i);
        if (auto *button = qobject_cast<QtMaterialFlatButton *>(item ? item->widget() : nullptr)) {
            d->maxWidth = qMax(d->maxWidth, fm.boundingRect(results.at(i)).width());
            button->setText(results.at(i));
        }
    }

    if (results.isEmpty())
        emit d->menuStateMachine->shouldClose();
    else
        emit d->menuStateMachine->shouldOpen();

    d->menu->setFixedHeight(50 * results.size());
    d->menu->setFixedWidth(qMax(d->maxWidth + 24, width()));
    d->menu->update();
}

bool QtMaterialAutoComplete::event(QEvent *event)
{
    Q_D(QtMaterialAutoComplete);

    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
        if (d->menu) {
            d->menu->move(x(), y() + height() + 6);
            if (QWidget *parent = parentWidget()) {
                // Re-parenting hides a widget: only a new parent is taken.
                if (d->menu->parentWidget() != parent)
                    d->menu->setParent(parent);
                if (d->frame && d->frame->parentWidget() != parent)
                    d->frame->setParent(parent);
            }
        }
        break;
    default:
        break;
    }
    return QtMaterialTextField::event(event);
}

bool QtMaterialAutoComplete::eventFilter(QObject *watched, QEvent *event)
{
    Q_D(QtMaterialAutoComplete);

    if (watched == d->frame.data()) {
        if (event->type() == QEvent::Paint) {
            QPainter painter(d->frame);
            painter.fillRect(d->frame->rect(), Qt::white);
        }
    } else if (watched == d->menu.data()) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
            if (d->frame)
                d->frame->setGeometry(d->menu->geometry());
            break;
        case QEvent::Show:
            if (d->frame)
                d->frame->show();
            d->menu->raise();
            break;
        case QEvent::Hide:
            if (d->frame)
                d->frame->hide();
            break;
        default:
            break;
        }
    } else if (event->type() == QEvent::MouseButtonPress) {
        // A result button: the press still reaches it afterwards.
        if (auto *button = qobject_cast<QtMaterialFlatButton *>(watched)) {
            emit d->menuStateMachine->shouldFade();
            const QString text = button->text();
            setText(text);
            emit itemSelected(text);
        }
    }
    return QtMaterialTextField::eventFilter(watched, event);
}
