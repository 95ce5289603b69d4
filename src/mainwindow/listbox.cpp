#include "mainwindow/listbox.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <QStylePainter>

namespace
{

// What a screen reader learns of a list, as on Linux for every combo box:
// its name is what it shows (the prompt until an entry is chosen, then the
// entry); its label says its purpose through the labelled-by relation, and
// a list without a label says it in its description.
class ListBoxAccessible : public QAccessibleWidget
{
public:
    explicit ListBoxAccessible(ListBox *list) : QAccessibleWidget(list, QAccessible::ComboBox) {}

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name || kind == QAccessible::Value)
            return list()->editAreaText();
        return QAccessibleWidget::text(kind);
    }

    // The entries, as the open list shows them.
    int childCount() const override { return 1; }
    QAccessibleInterface *child(int index) const override
    {
        return index == 0 ? QAccessible::queryAccessibleInterface(list()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return child && child->object() == list()->view() ? 0 : -1;
    }

    // As Qt's own combo box: either action opens the list, or closes it.
    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }
    void doAction(const QString &action) override
    {
        if (action != showMenuAction() && action != pressAction())
            return;
        if (list()->view()->isVisible())
            list()->hidePopup();
        else
            list()->showPopup();
    }

private:
    ListBox *list() const { return static_cast<ListBox *>(widget()); }
};

QAccessibleInterface *accessibleListBox(const QString &, QObject *object)
{
    auto *list = qobject_cast<ListBox *>(object);
    return list ? new ListBoxAccessible(list) : nullptr;
}

} // namespace

ListBox::ListBox(QWidget *parent) : QComboBox(parent)
{
    // Entries rewritten in another language take the width they need.
    setSizeAdjustPolicy(QComboBox::AdjustToContents);
    static const bool factoryInstalled = (QAccessible::installFactory(accessibleListBox), true);
    Q_UNUSED(factoryInstalled);
    connect(this, &QComboBox::currentIndexChanged, this, [this] {
        showsEditText = false;
        update();
    });
}

void ListBox::appendEntries(const QStringList &entries)
{
    const int before = currentIndex();
    {
        // Qt selects the first entry added to an empty list; a list here
        // keeps its selection until one is made.
        const QSignalBlocker blocker(this);
        addItems(entries);
        setCurrentIndex(before);
    }
    update();
}

void ListBox::setEditAreaText(const QString &text)
{
    editText = text;
    showsEditText = true;
    updateGeometry();
    update();
    QAccessibleValueChangeEvent changed(this, text);
    QAccessible::updateAccessibility(&changed);
}

QSize ListBox::withEditText(QSize size) const
{
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const QSize text(fontMetrics().horizontalAdvance(editText), size.height());
    return size.expandedTo(style()->sizeFromContents(QStyle::CT_ComboBox, &option, text, this));
}

QSize ListBox::sizeHint() const
{
    return withEditText(QComboBox::sizeHint());
}

// Qt's minimum keeps the width of the first entries it saw.
QSize ListBox::minimumSizeHint() const
{
    return sizeHint();
}

QString ListBox::editAreaText() const
{
    return showsEditText ? editText : currentText();
}

bool ListBox::discarded(QKeyEvent *event)
{
    const QString typed = event->text();
    if (typed.isEmpty() || !typed.at(0).isPrint())
        return false;
    int keyAscii = typed.at(0).unicode();
    emit keyPress(keyAscii);
    return keyAscii == 0;
}

void ListBox::keyPressEvent(QKeyEvent *event)
{
    if (discarded(event)) {
        event->accept();
        return;
    }
    QComboBox::keyPressEvent(event);
}

// The open list would search its entries for what is typed and choose the
// one found: a typed character goes through the same handler there. The
// list is made at its first opening, not at every start-up.
void ListBox::showPopup()
{
    view()->installEventFilter(this);
    QComboBox::showPopup();
}

bool ListBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == view() && event->type() == QEvent::KeyPress &&
        discarded(static_cast<QKeyEvent *>(event)))
        return true;
    return QComboBox::eventFilter(watched, event);
}

void ListBox::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    painter.setPen(palette().color(QPalette::Text));
    QStyleOptionComboBox option;
    initStyleOption(&option);
    if (showsEditText) {
        option.currentText = editText;
        option.currentIcon = QIcon();
    }
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}
